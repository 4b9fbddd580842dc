#include "ui/AtlasForm.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "atlas/AtlasPicture.h"
#include "atlas/FollowPlayer.h"
#include "atlas/Ruler.h"
#include "client/CommandFormat.h"
#include "common/Errors.h"
#include "common/IntegerText.h"
#include "config/Config.h"
#include "config/TextEncoding.h"
#include "mapdata/Map.h"
#include "places/GoToQuery.h"
#include "places/PlaceNames.h"
#include "places/Sextant.h"
#include "ui/Locations.h"
#include "ui/MenuCommands.h"
#include "ui/PlaceCell.h"
#include "xml/CodePage1252.h"

namespace wf::ui {

namespace {

using atlas::TAtlasFrame;
using atlas::TCellPoint;

constexpr int kWheelNotch = 120;

constexpr char kOpenKey[] = "atlas";
constexpr char kPlacementKey[] = "atlasplacement";
constexpr char kScaleKey[] = "atlasscale";
constexpr char kCentreKey[] = "atlascenter";
constexpr char kPlacesKey[] = "atlasplaces";
constexpr char kGridKey[] = "atlasgrid";
constexpr char kFollowKey[] = "atlasfollow";
constexpr char kOnTopKey[] = "atlasontop";
constexpr char kOpacityKey[] = "atlasopacity";

constexpr int kOpacities[] = {100, 85, 70, 55};

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

bool SettingOn(const TConfig& config, const char* key, bool absent) {
  const std::optional<int32_t> value = TryParseInteger(config.GetValue(key));
  return value ? *value != 0 : absent;
}

TAtlasOptions WithChange(TAtlasOptions options, bool TAtlasOptions::*which) {
  options.*which = !(options.*which);
  return options;
}

TAtlasOptions WithOpacity(TAtlasOptions options, int opacity) {
  options.Opacity = opacity;
  return options;
}

// The frame shows every cell of the map.
bool ShowsWholeMap(const TAtlasFrame& frame, atlas::TMapExtent map) {
  const atlas::TFrameRect all = atlas::CellsOnFrame(frame, 0, 0, map.Width, map.Height);
  return all.Left >= 0 && all.Top >= 0 && all.Right <= frame.Width && all.Bottom <= frame.Height;
}

// A place offered by "Go to", held as it was when offered: the map window's
// places may change while the list waits for the user. A friend is gone to
// by id, wherever the friend is by then.
struct TOffered {
  TLocation Place;
  std::pair<int32_t, int32_t> Cell;
  std::optional<std::string> Friend;
};

// Whether a friend's name (UTF-8) holds the text typed (in the code page),
// without regard to case. A letter the code page lacks stands as a NUL, which
// nothing typed holds.
bool FriendNameHolds(const std::string& name, const std::string& typed) {
  return !places::FindMatches({DecodeUtf8(name, '\0')}, typed).empty();
}

}  // namespace

TAtlasForm::TAtlasForm(IAtlasWindow& window, TMapForm& mapForm, TConfig& config,
                       atlas::IAtlasPicture& picture)
    : w_(window), f_(mapForm), config_(config), picture_(picture) {
  FPlacement = ParsePlacement(config_.GetValue(kPlacementKey));
  ReadOptions();
}

void TAtlasForm::ReadOptions() {
  FOptions.Places = SettingOn(config_, kPlacesKey, true);
  FOptions.Grid = SettingOn(config_, kGridKey, false);
  FOptions.Follow = SettingOn(config_, kFollowKey, false);
  FOptions.OnTop = SettingOn(config_, kOnTopKey, false);
  const std::optional<int32_t> opacity = TryParseInteger(config_.GetValue(kOpacityKey));
  for (const int offered : kOpacities)
    if (opacity == offered) FOptions.Opacity = offered;
}

// Each setting is written when the player changes it, and only then.
void TAtlasForm::SetOptions(const TAtlasOptions& options) {
  const TAtlasOptions before = std::exchange(FOptions, options);
  w_.ShowOptions(FOptions);
  if (options.Follow && !before.Follow) Follow();
  Changed();
  bool changed = false;
  if (options.Places != before.Places) changed |= Keep(kPlacesKey, options.Places ? "1" : "0");
  if (options.Grid != before.Grid) changed |= Keep(kGridKey, options.Grid ? "1" : "0");
  if (options.Follow != before.Follow) changed |= Keep(kFollowKey, options.Follow ? "1" : "0");
  if (options.OnTop != before.OnTop) changed |= Keep(kOnTopKey, options.OnTop ? "1" : "0");
  if (options.Opacity != before.Opacity) changed |= Keep(kOpacityKey, NumberText(options.Opacity));
  if (changed) config_.Save();
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

void TAtlasForm::SessionEnding() {
  if (!w_.IsOpen()) return;
  FPlacement = w_.Placement();
  WriteSettings(true);
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
  w_.ShowOptions(FOptions);
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
  FNamed.reset();
  // A closed atlas reads nothing; it takes the map again when it opens.
  picture_.SetMap(nullptr);
  FMap = nullptr;
  WriteSettings(false);
}

// One write for all of them: a refused write keeps them all for the next.
void TAtlasForm::WriteSettings(bool open) {
  bool changed = Keep(kOpenKey, open ? "1" : "0");
  if (FPlacement) changed |= Keep(kPlacementKey, PlacementText(*FPlacement));
  if (FSized) {
    const TCellPoint centre = atlas::CentreCell(FFrame);
    changed |= Keep(kScaleKey, atlas::Scales[FFrame.Scale].Text);
    changed |= Keep(kCentreKey, NumberText(centre.X) + "," + NumberText(centre.Y));
  }
  if (changed) config_.Save();
}

// Only a setting that changed is held, as every write rewrites the file.
bool TAtlasForm::Keep(const char* key, const std::string& value) {
  const TPair* pair = config_.FindPair(key);
  if (pair && pair->Value == value) return false;
  config_.SetValue(key, value);
  return true;
}

TAtlasForm::TFollow TAtlasForm::FollowMap() {
  TMap* map = FReplacing ? nullptr : &f_.ActiveMap();
  const TMap* shown = map && map->IsLoaded() ? map : nullptr;
  TFollow change = TFollow::Same;
  if (shown != FMap) {
    picture_.SetMap(shown);
    FMap = shown;
    change = TFollow::MadeAnew;
  }
  if (f_.FMapIndex != FMapNumber) {
    change = TFollow::OtherMap;
    // The pin and the ruler are on the map they were set on.
    FPin.reset();
    FRulerFrom.reset();
    FRulerTo.reset();
    FNamed.reset();
    FMarksStale = true;
    FFriendMarksStale = true;
  }
  FMapNumber = f_.FMapIndex;
  return change;
}

void TAtlasForm::MapsReplacing() {
  FReplacing = true;
  picture_.SetMap(nullptr);
  FMap = nullptr;
}

void TAtlasForm::MapsReplaced() {
  FReplacing = false;
  MapViewChanged();
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

void TAtlasForm::PlacesChanged() {
  FMarksStale = true;
  if (w_.IsOpen() && FSized) Changed();
}

void TAtlasForm::PlayerMoved() {
  if (!w_.IsOpen() || !FSized) return;
  Follow();
  Changed();
}

// Pans as "Follow player" does, when it is on and the player (or the friend
// gone to) is on the map shown.
void TAtlasForm::Follow() {
  if (!FOptions.Follow || !FSized) return;
  std::optional<TCellPoint> target;
  if (FFollowed) {
    const friends::Friend* someone = FindFriend(*FFollowed);
    if (!someone) FFollowed.reset();  // no longer heard: the player again
    else if (someone->position.map == FMapNumber) target = TCellPoint{someone->position.x, someone->position.y};
    else return;
  }
  if (!FFollowed)
    if (const std::optional<TPlayerPosition> player = f_.PlayerOnMapInUse()) target = TCellPoint{player->X, player->Y};
  if (!target) return;
  const atlas::TFrameOrigin origin =
      atlas::FollowOrigin(FFrame, static_cast<int32_t>(target->X), static_cast<int32_t>(target->Y));
  TAtlasFrame frame = FFrame;
  frame.OriginX = origin.X;
  frame.OriginY = origin.Y;
  SetFrame(frame);
}

const std::vector<atlas::TPlaceMark>& TAtlasForm::Marks() {
  if (!FMarksStale) return FMarks;
  FMarksStale = false;
  FMarks.clear();
  for (const auto& place : f_.FLocations) {
    if (place->MapNo != FMapNumber) continue;
    if (const auto cell = PlaceCell(*place))
      FMarks.push_back({cell->first, cell->second, CodePageToUtf8(place->Name)});
  }
  return FMarks;
}

void TAtlasForm::Changed() {
  Marks();
  FriendMarks();
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
  FNames.clear();
  if (!FSized) return;
  if (!FMap) {
    picture_.Compose(FFrame, pixels);
    return;
  }
  atlas::TOverlays overlays;
  overlays.Places = FOptions.Places;
  overlays.Grid = FOptions.Grid;
  if (FPointer) overlays.Pointer = atlas::TFramePoint{FPointer->X, FPointer->Y};
  // The cells the detail pane samples, each pixel standing for zoom x zoom cells.
  const int64_t half = int64_t{DetailSize} / 2 * FDetail.Zoom;
  overlays.DetailCells = atlas::TFrameRect{FDetail.X - half, FDetail.Y - half, FDetail.X + half, FDetail.Y + half};
  if (const std::optional<TPlayerPosition> player = f_.VisiblePlayer())
    overlays.Player = TCellPoint{player->X, player->Y};
  overlays.Pin = FPin;
  overlays.RulerFrom = FRulerFrom;
  overlays.RulerTo = FRulerTo;
  const std::vector<atlas::TFriendMark>& friendMarks = FriendMarks();
  overlays.Friends = friendMarks;
  const std::vector<atlas::TPlaceMark>& marks = Marks();
  const atlas::TOverlayPass pass(FFrame, Extent(), marks, overlays, w_);
  picture_.Compose(FFrame, pixels, [&](int32_t top, int32_t bottom) { pass.DrawBand(pixels, top, bottom); });
  pass.DrawLast(pixels);
  // The friends' marks change with every message; the names written are
  // copies, so that they stay until the next Paint as the places' do.
  FFriendNames.clear();
  for (const atlas::TLabel& label : pass.Labels())
    if (label.Friend) FFriendNames.push_back(friendMarks[static_cast<size_t>(label.Place)].Name);
  size_t friendName = 0;
  for (const atlas::TLabel& label : pass.Labels()) {
    if (label.Friend)
      FNames.push_back({FFriendNames[friendName++], label.Box});
    else
      FNames.push_back({marks[static_cast<size_t>(label.Place)].Name, label.Box});
  }
}

std::optional<TCellPoint> TAtlasForm::PointerCell() const {
  if (!FPointer) return std::nullopt;
  return atlas::MapCellAt(FFrame, FPointer->X, FPointer->Y, Extent());
}

// The cell gone to, else the one under the pointer; off the map or off the
// picture, the middle one.
TCellPoint TAtlasForm::NamedCell() const {
  if (FNamed) return *FNamed;
  std::optional<TCellPoint> named = PointerCell();
  if (!named) named = atlas::MapCellAt(FFrame, FFrame.Width / 2, FFrame.Height / 2, Extent());
  return named.value_or(atlas::CentreCell(FFrame));
}

// The ruler's distance first, where there is one, and the name of the place
// the pointer is on last.
std::string TAtlasForm::StatusText() const {
  const TCellPoint cell = NamedCell();
  const int32_t x = static_cast<int32_t>(cell.X);
  const int32_t y = static_cast<int32_t>(cell.Y);
  std::string text;
  if (FRulerFrom && FRulerTo)
    text = atlas::DistanceText(atlas::MeasureDistance(
               static_cast<int32_t>(FRulerFrom->X), static_cast<int32_t>(FRulerFrom->Y),
               static_cast<int32_t>(FRulerTo->X), static_cast<int32_t>(FRulerTo->Y))) +
           "  ";
  text += "X: " + NumberText(x) + "  Y: " + NumberText(y) + "  Z: " + NumberText(FMap ? FMap->GetAltitude(x, y) : 0);
  if (auto sextant = places::SextantText(FMapNumber, x, y)) text += "  " + *sextant;
  text += "  " + std::string(atlas::Scales[FFrame.Scale].Text) + "  " + FacetName(FMapNumber);
  // Names are UTF-8 from here on: a friend's may hold what the code page cannot.
  text = CodePageToUtf8(text);
  if (FPointer)
    if (const int someone = atlas::FriendAtPixel(FFrame, FFriendMarks, FPointer->X, FPointer->Y); someone >= 0)
      text += "  " + FFriendMarks[static_cast<size_t>(someone)].Name;
  if (FPointer && FOptions.Places)
    if (const int place = atlas::PlaceAtPixel(FFrame, FMarks, FPointer->X, FPointer->Y); place >= 0)
      text += "  " + FMarks[static_cast<size_t>(place)].Name;
  if (const std::string state = LinkStateText(FLinkState); !state.empty()) text += "  " + state;
  return text;
}

void TAtlasForm::MouseMove(int32_t x, int32_t y) {
  // The system also reports a pointer that stays where it was (a box closing
  // over it); only a move ends naming the cell gone to.
  if (FLastMove != TCellPoint{x, y}) FNamed.reset();
  FLastMove = FPointer = TCellPoint{x, y};
  if (FPress && FPress->Measuring) {
    if (const auto cell = PointerCell(); cell && FRulerFrom) FRulerTo = *cell;
    Changed();
    return;
  }
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

void TAtlasForm::LeftDown(int32_t x, int32_t y, bool shift) {
  FPress = TPress{x, y, FFrame};
  FPointer = TCellPoint{x, y};
  if (!shift) return;
  FPress->Measuring = true;
  FRulerFrom = FRulerTo = PointerCell();
  Changed();
}

void TAtlasForm::LeftUp(int32_t x, int32_t y) {
  if (!FPress) return;
  MouseMove(x, y);
  const TPress press = *FPress;
  FPress.reset();
  // The ruler stays until Esc or a click without Shift.
  if (press.Measuring || press.Dragging) return;
  if (FRulerFrom) {
    FRulerFrom.reset();
    FRulerTo.reset();
    Changed();
  }
  if (const auto cell = atlas::MapCellAt(FFrame, x, y, Extent()))
    f_.CentreOn(static_cast<int32_t>(cell->X), static_cast<int32_t>(cell->Y));
}

void TAtlasForm::RightDown(int32_t x, int32_t y) {
  if (const auto cell = atlas::MapCellAt(FFrame, x, y, Extent()))
    f_.TravelTo(static_cast<int32_t>(cell->X), static_cast<int32_t>(cell->Y));
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
      FFollowed.reset();
      const std::optional<TPlayerPosition> player = f_.PlayerOnMapInUse();
      const TCellPoint target = player ? TCellPoint{player->X, player->Y} : TCellPoint{f_.FCenterX, f_.FCenterY};
      SetFrame(atlas::CentredOn(FFrame.Scale, target, FFrame.Width, FFrame.Height));
      break;
    }
    case TAtlasKey::Places: SetOptions(WithChange(FOptions, &TAtlasOptions::Places)); break;
    case TAtlasKey::Grid: SetOptions(WithChange(FOptions, &TAtlasOptions::Grid)); break;
    case TAtlasKey::Follow: SetOptions(WithChange(FOptions, &TAtlasOptions::Follow)); break;
    case TAtlasKey::OnTop: SetOptions(WithChange(FOptions, &TAtlasOptions::OnTop)); break;
    case TAtlasKey::Opacity100: SetOptions(WithOpacity(FOptions, 100)); break;
    case TAtlasKey::Opacity85: SetOptions(WithOpacity(FOptions, 85)); break;
    case TAtlasKey::Opacity70: SetOptions(WithOpacity(FOptions, 70)); break;
    case TAtlasKey::Opacity55: SetOptions(WithOpacity(FOptions, 55)); break;
    case TAtlasKey::GoTo: GoTo(); break;
    case TAtlasKey::NewPlace: NewPlace(); break;
    case TAtlasKey::Friends: f_.SystemCommand(cmFriends); break;
    case TAtlasKey::FriendsList:
      if (!FListWindow) break;
      FListWindow->Open();
      RefreshFriendsList(true);
      break;
    case TAtlasKey::Clear:
      FFollowed.reset();
      FPin.reset();
      FRulerFrom.reset();
      FRulerTo.reset();
      if (FPress) FPress->Measuring = false;
      Changed();
      break;
  }
}

// Text it cannot read, a name no place has and a cell off the map are
// refused with a message that says what was expected; nothing moves then.
void TAtlasForm::GoTo() {
  const std::optional<std::string> typed = w_.AskGoTo(FGoToText);
  if (!typed) return;
  FGoToText = *typed;
  const places::TGoToQuery query = places::ReadGoTo(*typed);
  if (query.Kind == places::TGoToQuery::TKind::Refused) throw Exception(query.Message);
  if (query.Kind == places::TGoToQuery::TKind::Cell) {
    GoToCell(query.X, query.Y);
    return;
  }

  std::vector<std::string> names;
  names.reserve(f_.FLocations.size());
  for (const auto& place : f_.FLocations) names.push_back(place->Name);
  std::vector<TOffered> offered;
  std::vector<std::string> shown;
  for (const int index : places::FindMatches(names, query.Name)) {
    const TLocation& place = *f_.FLocations[static_cast<size_t>(index)];
    const auto cell = PlaceCell(place);
    if (!cell) continue;
    offered.push_back({place, *cell, std::nullopt});
    const std::string name = CodePageToUtf8(place.Name);
    shown.push_back(place.MapNo == FMapNumber ? name : name + " (" + FacetName(place.MapNo) + ")");
  }
  for (const friends::Friend& someone : FFriends) {
    if (!FriendNameHolds(someone.name, query.Name)) continue;
    offered.push_back({{}, {}, someone.id});
    const std::string where = someone.position.map == FMapNumber ? "" : ", " + FacetName(someone.position.map);
    shown.push_back(someone.name + " (friend" + where + ")");
  }
  if (offered.empty())
    throw Exception((FFriends.empty() ? "No place's name holds \"" : "No place's or friend's name holds \"") +
                    query.Name + "\". Expected a place's name or part of it, \"X Y\" or a sextant reading.");
  size_t chosen = 0;
  if (offered.size() > 1) {
    const std::string prompt = "Places whose name holds \"" + CodePageToUtf8(query.Name) + "\":";
    const std::optional<int> pick = w_.ChooseOne("Go to", prompt, shown);
    if (!pick || *pick < 0 || static_cast<size_t>(*pick) >= offered.size()) return;
    chosen = static_cast<size_t>(*pick);
  }
  const TOffered& target = offered[chosen];
  if (target.Friend) {
    GoToFriend(*target.Friend);
    return;
  }
  if (target.Place.MapNo != f_.FMapIndex) {
    // Another map is shown as the map window shows it: by choosing the place
    // there, as its places list does.
    const TLocation* held = nullptr;
    for (const auto& place : f_.FLocations)
      if (place->Name == target.Place.Name && place->Coords == target.Place.Coords &&
          place->MapNo == target.Place.MapNo)
        held = place.get();
    if (!held) return;  // deleted while the list was open
    f_.ChoosePlace(held);
    if (target.Place.MapNo != f_.FMapIndex) return;  // that map cannot be shown
    MapViewChanged();
  }
  GoToCell(target.Cell.first, target.Cell.second);
}

// Centred there at the scale shown, or at 1:1 when the whole map was shown,
// with the pin on it and its cell in the status bar.
void TAtlasForm::GoToCell(int32_t x, int32_t y, bool pin) {
  const atlas::TMapExtent map = Extent();
  if (x < 0 || y < 0 || x >= map.Width || y >= map.Height)
    throw Exception(NumberText(x) + ", " + NumberText(y) + " is not on the map shown. Expected X from 0 to " +
                    NumberText(map.Width - 1) + " and Y from 0 to " + NumberText(map.Height - 1) + ".");
  const int scale = ShowsWholeMap(FFrame, map) ? std::max(FFrame.Scale, atlas::OneToOne) : FFrame.Scale;
  if (pin) FPin = TCellPoint{x, y};
  FNamed = TCellPoint{x, y};
  SetFrame(atlas::CentredOn(scale, {x, y}, FFrame.Width, FFrame.Height));
}

void TAtlasForm::NewPlace() {
  if (!FMap || !FSized) return;
  const TCellPoint cell = NamedCell();
  f_.NewPlaceAt(static_cast<int32_t>(cell.X), static_cast<int32_t>(cell.Y));
}

const friends::Friend* TAtlasForm::FindFriend(const std::string& id) const {
  for (const friends::Friend& someone : FFriends)
    if (someone.id == id) return &someone;
  return nullptr;
}

const std::vector<atlas::TFriendMark>& TAtlasForm::FriendMarks() {
  if (!FFriendMarksStale) return FFriendMarks;
  FFriendMarksStale = false;
  FFriendMarks.clear();
  for (const friends::Friend& someone : FFriends)
    if (someone.position.map == FMapNumber)
      FFriendMarks.push_back({someone.position.x, someone.position.y, someone.name, FriendColour(someone.id),
                              FriendFaded(someone, FFriendsNow)});
  return FFriendMarks;
}

void TAtlasForm::FriendsChanged(const friends::FriendsSnapshot& snapshot, TFriendsClock::time_point now) {
  FFriends = snapshot.friends;
  const bool stateChanged = std::exchange(FLinkState, snapshot.state) != snapshot.state;
  if (FFollowed && !FindFriend(*FFollowed)) FFollowed.reset();
  if (FFriendsThrottle.Changed(now) || stateChanged) RedrawFriends(now);
}

void TAtlasForm::FriendsTimer(TFriendsClock::time_point now) {
  const auto faded = [now](const friends::Friend& f) { return FriendFaded(f, now); };
  const int fadedNow = static_cast<int>(std::count_if(FFriends.begin(), FFriends.end(), faded));
  if (FFriendsThrottle.Due(now) || (fadedNow != FFadedDrawn && FFriendsThrottle.Changed(now))) {
    RedrawFriends(now);
    return;
  }
  // "now" becomes "1 min" without a message.
  FFriendsNow = now;
  RefreshFriendsList(false);
}

void TAtlasForm::RedrawFriends(TFriendsClock::time_point now) {
  FFriendsNow = now;
  FFadedDrawn = static_cast<int>(std::count_if(
      FFriends.begin(), FFriends.end(), [now](const friends::Friend& f) { return FriendFaded(f, now); }));
  FFriendMarksStale = true;
  RefreshFriendsList(false);
  if (!w_.IsOpen() || !FSized) return;
  if (FFollowed) Follow();
  Changed();
}

// The list's window is told only of rows that changed: it keeps its scroll
// position and the user's place in it.
void TAtlasForm::RefreshFriendsList(bool always) {
  if (!FListWindow || !FListWindow->IsOpen()) return;
  const std::vector<TFriendRow> before = FList.Rows();
  const int chosen = FList.Selected();
  FList.Update(FFriends, f_.PlayerSpot(), FFriendsNow);
  if (always || FList.Rows() != before || FList.Selected() != chosen) FListWindow->ShowRows(FList.Rows(), FList.Selected());
}

void TAtlasForm::FriendsListSelect(int row) { FList.Select(row); }

void TAtlasForm::FriendsListGoTo(int row) {
  FList.Select(row);
  if (const TFriendRow* chosen = FList.Row(row)) GoToFriend(chosen->Id);
}

void TAtlasForm::FriendsListTravel(int row) {
  FList.Select(row);
  const TFriendRow* chosen = FList.Row(row);
  if (!chosen) return;
  if (const friends::Friend* someone = FindFriend(chosen->Id))
    f_.TravelToOnMap(someone->position.x, someone->position.y, someone->position.map);
}

void TAtlasForm::GoToFriend(const std::string& id) {
  const friends::Friend* someone = FindFriend(id);
  if (!someone) return;  // gone while the list waited
  const friends::SharedPosition at = someone->position;
  if (!w_.IsOpen()) OpenAtlas();
  if (at.map != f_.FMapIndex) {
    if (!f_.ShowMap(at.map))
      throw Exception("That friend is on " + FacetName(at.map) + ", whose map is not loaded.");
    MapViewChanged();
  }
  if (!FSized) return;
  GoToCell(at.x, at.y, false);
  FFollowed = id;
  Follow();
}

}  // namespace wf::ui
