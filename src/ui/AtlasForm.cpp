#include "ui/AtlasForm.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "atlas/AtlasPicture.h"
#include "atlas/OverlayDrawing.h"
#include "client/CommandFormat.h"
#include "common/IntegerText.h"
#include "config/Config.h"
#include "mapdata/Map.h"
#include "places/Sextant.h"

namespace wf::ui {

namespace {

using atlas::TAtlasFrame;
using atlas::TCellPoint;

constexpr int kWheelNotch = 120;

constexpr char kOpenKey[] = "atlas";
constexpr char kPlacementKey[] = "atlasplacement";
constexpr char kScaleKey[] = "atlasscale";
constexpr char kCentreKey[] = "atlascenter";

// Arrows and the sideways wheel move the view by an eighth of its size.
int64_t Eighth(int32_t size) { return std::max(1, size / 8); }

std::optional<int> ScaleNamed(const std::string& text) {
  for (int i = 0; i < atlas::ScaleCount; ++i)
    if (text == atlas::Scales[i].Text) return i;
  return std::nullopt;
}

std::optional<TCellPoint> CellNamed(const std::string& text) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos) return std::nullopt;
  const std::optional<int32_t> x = TryParseInteger(std::string_view(text).substr(0, comma));
  const std::optional<int32_t> y = TryParseInteger(std::string_view(text).substr(comma + 1));
  if (!x || !y) return std::nullopt;
  return TCellPoint{*x, *y};
}

}  // namespace

TAtlasForm::TAtlasForm(IAtlasWindow& window, TMapForm& mapForm, TConfig& config,
                       atlas::IAtlasPicture& picture)
    : w_(window), f_(mapForm), config_(config), picture_(picture) {
  FPlacement = ParsePlacement(config_.GetValue(kPlacementKey));
}

void TAtlasForm::Start() {
  if (config_.GetInteger(kOpenKey) != 0) OpenAtlas();
}

// The maps are let go first: a write that fails must not keep them in use.
void TAtlasForm::Shutdown() {
  picture_.SetMap(nullptr);
  FMap = nullptr;
  if (w_.IsOpen()) {
    FPlacement = w_.Placement();
    WriteSettings(true);
  }
}

void TAtlasForm::OpenAtlas() {
  if (w_.IsOpen()) {
    w_.Open(std::nullopt);
    return;
  }
  const bool otherMap = FollowMap() == TFollow::OtherMap;
  if (!FOpenedBefore)
    FWanted = SavedView();
  else
    FWanted = otherMap ? std::nullopt : std::optional(FFrame);
  FOpenedBefore = true;
  FSized = false;
  w_.Open(FPlacement);
  FPlacement = w_.Placement();
  WriteSettings(true);
}

std::optional<TAtlasFrame> TAtlasForm::SavedView() const {
  const std::optional<int> scale = ScaleNamed(config_.GetValue(kScaleKey));
  const std::optional<TCellPoint> centre = CellNamed(config_.GetValue(kCentreKey));
  if (!scale || !centre) return std::nullopt;
  return atlas::CentredOn(*scale, *centre, 0, 0);
}

void TAtlasForm::Closing() {
  FPlacement = w_.Placement();
  FPress.reset();
  FPointer.reset();
  // A closed atlas reads nothing; it takes the map again when it opens.
  picture_.SetMap(nullptr);
  FMap = nullptr;
  WriteSettings(false);
}

void TAtlasForm::WriteSettings(bool open) {
  Store(kOpenKey, open ? "1" : "0");
  if (FPlacement) Store(kPlacementKey, PlacementText(*FPlacement));
  if (FSized) {
    const TCellPoint centre = atlas::CentreCell(FFrame);
    Store(kScaleKey, atlas::Scales[FFrame.Scale].Text);
    Store(kCentreKey, NumberText(centre.X) + "," + NumberText(centre.Y));
  }
}

// Each setting is written only when it changed, as every write rewrites the file.
void TAtlasForm::Store(const char* key, const std::string& value) {
  const TPair* pair = config_.FindPair(key);
  if (!pair || pair->Value != value) config_.SetString(key, value);
}

TAtlasForm::TFollow TAtlasForm::FollowMap() {
  TMap& map = f_.ActiveMap();
  const TMap* shown = map.IsLoaded() ? &map : nullptr;
  TFollow change = TFollow::Same;
  if (shown != FMap) {
    picture_.SetMap(shown);
    FMap = shown;
    change = TFollow::MadeAnew;
  }
  if (f_.FMapIndex != FMapNumber) change = TFollow::OtherMap;
  FMapNumber = f_.FMapIndex;
  return change;
}

void TAtlasForm::MapsReplacing() {
  picture_.SetMap(nullptr);
  FMap = nullptr;
}

void TAtlasForm::MapViewChanged() {
  if (!w_.IsOpen()) return;
  const TFollow follow = FollowMap();
  const TDetailView detail{f_.FCenterX, f_.FCenterY, f_.FZoom};
  const bool detailMoved = detail != FDetail;
  FDetail = detail;
  // Another map, or one made anew from other files, is shown whole.
  if (!FSized) {
    if (follow != TFollow::Same) FWanted.reset();
    return;
  }
  if (follow != TFollow::Same) {
    SetFrame(atlas::Fitted(Extent(), FFrame.Width, FFrame.Height));
    return;
  }
  if (!detailMoved) return;
  // A detail view moved out of sight brings the atlas along; one in sight
  // (as after a click on the atlas) leaves the atlas where it is.
  const atlas::TFrameRect at = atlas::CellsOnFrame(FFrame, detail.X, detail.Y, detail.X + 1, detail.Y + 1);
  if (at.Right <= 0 || at.Bottom <= 0 || at.Left >= FFrame.Width || at.Top >= FFrame.Height)
    SetFrame(atlas::CentredOn(FFrame.Scale, {detail.X, detail.Y}, FFrame.Width, FFrame.Height));
  else
    Changed();
}

atlas::TMapExtent TAtlasForm::Extent() const {
  if (!FMap) return {};
  return {int64_t{FMap->BlocksWide()} * 8, int64_t{FMap->BlocksHigh()} * 8};
}

void TAtlasForm::SetFrame(const TAtlasFrame& frame) {
  FFrame = atlas::Clamped(frame, Extent());
  Changed();
}

void TAtlasForm::Changed() {
  w_.Redraw();
  const std::string status = StatusText();
  if (status != FStatus) {
    FStatus = status;
    w_.SetStatusText(status);
  }
}

void TAtlasForm::Resize(int32_t width, int32_t height) {
  // Minimised, the window shows nothing and the view waits as it was.
  if (width <= 0 || height <= 0) return;
  if (!FSized) {
    FSized = true;
    FDetail = {f_.FCenterX, f_.FCenterY, f_.FZoom};
    if (FWanted)
      SetFrame(atlas::Resized(*FWanted, width, height));
    else
      SetFrame(atlas::Fitted(Extent(), width, height));
    FWanted.reset();
    return;
  }
  SetFrame(atlas::Resized(FFrame, width, height));
}

void TAtlasForm::Paint(TColor32* pixels) {
  if (!FSized) return;
  picture_.Compose(FFrame, pixels);
  DrawDetailArea(pixels);
}

// The cells the detail pane samples, each pixel standing for zoom x zoom
// cells, framed just outside so that the area itself shows the map unchanged.
void TAtlasForm::DrawDetailArea(TColor32* pixels) const {
  if (!FMap) return;
  const int64_t half = int64_t{DetailSize} / 2 * FDetail.Zoom;
  const atlas::TFrameRect area =
      atlas::CellsOnFrame(FFrame, FDetail.X - half, FDetail.Y - half, FDetail.X + half, FDetail.Y + half);
  atlas::DrawDetailArea({pixels, FFrame.Width, FFrame.Height},
                        {area.Left - 1, area.Top - 1, area.Right + 1, area.Bottom + 1});
}

// The cell under the pointer; off the map or off the picture, the middle one.
std::string TAtlasForm::StatusText() const {
  std::optional<TCellPoint> named;
  if (FPointer) named = atlas::MapCellAt(FFrame, FPointer->X, FPointer->Y, Extent());
  if (!named) named = atlas::MapCellAt(FFrame, FFrame.Width / 2, FFrame.Height / 2, Extent());
  const TCellPoint cell = named.value_or(atlas::CentreCell(FFrame));
  const int32_t x = static_cast<int32_t>(cell.X);
  const int32_t y = static_cast<int32_t>(cell.Y);
  std::string text = "X: " + NumberText(x) + "  Y: " + NumberText(y) +
                     "  Z: " + NumberText(FMap ? FMap->GetAltitude(x, y) : 0);
  if (auto sextant = places::SextantText(FMapNumber, x, y)) text += "  " + *sextant;
  text += "  " + std::string(atlas::Scales[FFrame.Scale].Text) + "  " + FacetName(FMapNumber);
  return text;
}

void TAtlasForm::MouseMove(int32_t x, int32_t y) {
  FPointer = TCellPoint{x, y};
  if (FPress) {
    const int64_t dx = int64_t{x} - FPress->X;
    const int64_t dy = int64_t{y} - FPress->Y;
    const TDragDistance slack = w_.DragDistance();
    if (std::llabs(dx) > slack.X || std::llabs(dy) > slack.Y) FPress->Dragging = true;
    if (FPress->Dragging) {
      SetFrame(atlas::Dragged(FPress->Frame, dx, dy));
      return;
    }
  }
  Changed();
}

void TAtlasForm::MouseLeave() {
  FPointer.reset();
  Changed();
}

void TAtlasForm::LeftDown(int32_t x, int32_t y) {
  FPress = TPress{x, y, FFrame};
  FPointer = TCellPoint{x, y};
}

void TAtlasForm::LeftUp(int32_t x, int32_t y) {
  if (!FPress) return;
  MouseMove(x, y);
  const bool click = !FPress->Dragging;
  FPress.reset();
  if (!click) return;
  if (const auto cell = atlas::MapCellAt(FFrame, x, y, Extent()))
    f_.CentreOn(static_cast<int32_t>(cell->X), static_cast<int32_t>(cell->Y));
}

void TAtlasForm::PressLost() { FPress.reset(); }

void TAtlasForm::ZoomBy(int steps, int32_t x, int32_t y) {
  // A point off the picture (the wheel turned over another window) zooms
  // around the middle.
  if (x < 0 || y < 0 || x >= FFrame.Width || y >= FFrame.Height) {
    x = FFrame.Width / 2;
    y = FFrame.Height / 2;
  }
  SetFrame(atlas::ZoomedAround(FFrame, FFrame.Scale + steps, x, y));
  // A drag goes on from here, with the picture as it now is under the pointer.
  if (FPress) FPress->Frame = atlas::Dragged(FFrame, x - FPress->X, y - FPress->Y);
}

void TAtlasForm::Wheel(int delta, int32_t x, int32_t y) {
  // More than the turn from the coarsest scale to the closest is of no use.
  constexpr int kLimit = kWheelNotch * atlas::ScaleCount;
  FWheelRest = std::clamp(FWheelRest + delta, -kLimit, kLimit);
  const int steps = FWheelRest / kWheelNotch;
  if (steps == 0) return;
  FWheelRest -= steps * kWheelNotch;
  ZoomBy(steps, x, y);
}

void TAtlasForm::HorizontalWheel(int delta) {
  FSideRest += int64_t{delta} * Eighth(FFrame.Width);
  const int64_t pixels = FSideRest / kWheelNotch;
  FSideRest -= pixels * kWheelNotch;
  if (pixels != 0) SetFrame(atlas::Dragged(FFrame, -pixels, 0));
}

void TAtlasForm::Key(TAtlasKey key) {
  const int64_t across = Eighth(FFrame.Width);
  const int64_t down = Eighth(FFrame.Height);
  switch (key) {
    case TAtlasKey::PanLeft: SetFrame(atlas::Dragged(FFrame, across, 0)); break;
    case TAtlasKey::PanRight: SetFrame(atlas::Dragged(FFrame, -across, 0)); break;
    case TAtlasKey::PanUp: SetFrame(atlas::Dragged(FFrame, 0, down)); break;
    case TAtlasKey::PanDown: SetFrame(atlas::Dragged(FFrame, 0, -down)); break;
    case TAtlasKey::ZoomIn: ZoomBy(1, FFrame.Width / 2, FFrame.Height / 2); break;
    case TAtlasKey::ZoomOut: ZoomBy(-1, FFrame.Width / 2, FFrame.Height / 2); break;
    case TAtlasKey::Home: {
      const std::optional<TPlayerPosition> player = f_.PlayerOnMapInUse();
      const TCellPoint target = player ? TCellPoint{player->X, player->Y} : TCellPoint{f_.FCenterX, f_.FCenterY};
      SetFrame(atlas::CentredOn(FFrame.Scale, target, FFrame.Width, FFrame.Height));
      break;
    }
  }
}

}  // namespace wf::ui
