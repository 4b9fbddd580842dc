// What the window shows over and beside the map's own pictures: the places as
// markers, the pointer's tip, and the wheel's zoom.

#include <algorithm>
#include <cstdlib>

#include "config/Config.h"
#include "config/TextEncoding.h"
#include "mapdata/Map.h"
#include "places/Sextant.h"
#include "raster/Bitmap32.h"
#include "ui/MapForm.h"
#include "ui/MenuCommands.h"
#include "ui/PlaceCell.h"

namespace wf::ui {

namespace {

// A yellow square in a black frame shows on every radar colour, dark or light.
constexpr TColor32 kPlaceFrame = 0xFF000000;
constexpr TColor32 kPlaceFill = 0xFFFFFF00;
constexpr int kMarkerReach = 2;  // pixels from the centre to the frame's edge
// How far from a place's marker the pointer may be for its name to be shown.
constexpr int kHoverReach = 4;
constexpr int kWheelNotch = 120;
constexpr int kMaxZoom = 16;

struct TPixel {
  int32_t X, Y;
};

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// The overview pixel that a press would take to `cell`: the last pixel whose
// cell (scale times pixel, cut) is not beyond it.
int32_t OverviewPixel(double scale, int32_t cell, int32_t pixels) {
  const auto cellOf = [scale](int64_t pixel) { return static_cast<int64_t>(scale * static_cast<double>(pixel)); };
  int64_t p = static_cast<int64_t>(static_cast<double>(cell) / scale);
  while (p > 0 && cellOf(p) > cell) --p;
  while (p + 1 < pixels && cellOf(p + 1) <= cell) ++p;
  return static_cast<int32_t>(p);
}

// Where on a pane a cell is drawn; nothing when it is off the pane or the map.
struct TPaneView {
  const TMap& Map;
  bool Overview;
  int32_t CenterX, CenterY, Zoom;

  std::optional<TPixel> PixelOf(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= Map.BlocksWide() * 8 || y >= Map.BlocksHigh() * 8) return std::nullopt;
    if (Overview)
      return TPixel{OverviewPixel(Map.ScaleX(), x, OverviewWidth),
                    OverviewPixel(Map.ScaleY(), y, OverviewHeight)};
    const int64_t px = DetailSize / 2 + FloorDiv(int64_t{x} - CenterX, Zoom);
    const int64_t py = DetailSize / 2 + FloorDiv(int64_t{y} - CenterY, Zoom);
    if (px < 0 || py < 0 || px >= DetailSize || py >= DetailSize) return std::nullopt;
    return TPixel{static_cast<int32_t>(px), static_cast<int32_t>(py)};
  }
};

void DrawMarker(TBitmap32& pane, TPixel at) {
  pane.FillArea(at.X - kMarkerReach, at.Y - kMarkerReach, at.X + kMarkerReach + 1,
                at.Y + kMarkerReach + 1, kPlaceFrame);
  pane.FillArea(at.X - kMarkerReach + 1, at.Y - kMarkerReach + 1, at.X + kMarkerReach,
                at.Y + kMarkerReach, kPlaceFill);
}

}  // namespace

void TMapForm::DrawOverviewPlaces() {
  if (!FShowPlaces) return;
  const TPaneView view{ActiveMap(), true, FCenterX, FCenterY, FZoom};
  for (const auto& place : FLocations) {
    if (place->MapNo != FMapIndex) continue;
    if (auto cell = PlaceCell(*place))
      if (auto pixel = view.PixelOf(cell->first, cell->second)) DrawMarker(c_.MapImage.Bitmap(), *pixel);
  }
}

void TMapForm::DrawDetailPlaces() {
  if (!FShowPlaces) return;
  const TPaneView view{ActiveMap(), false, FCenterX, FCenterY, std::max<int32_t>(FZoom, 1)};
  for (const auto& place : FLocations) {
    if (place->MapNo != FMapIndex) continue;
    if (auto cell = PlaceCell(*place))
      if (auto pixel = view.PixelOf(cell->first, cell->second)) DrawMarker(c_.ZoomMap.Bitmap(), *pixel);
  }
}

void TMapForm::ToggleShowPlaces() {
  FShowPlaces = !FShowPlaces;
  c_.Menu.SetChecked(cmShowPlaces, FShowPlaces);
  DrawOverview();
  DrawDetail();
  s_.Config->SetInteger("showplaces", FShowPlaces ? 1 : 0);
}

std::string TMapForm::MapImageHoverText(int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= OverviewWidth || y >= OverviewHeight) return {};
  return HoverText(OverviewToMapX(x), OverviewToMapY(y), true, x, y);
}

std::string TMapForm::ZoomMapHoverText(int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= DetailSize || y >= DetailSize) return {};
  // The cell a left click there would move the centre to.
  return HoverText(static_cast<int32_t>(FCenterX + (int64_t{x} - DetailSize / 2) * FZoom),
                   static_cast<int32_t>(FCenterY + (int64_t{y} - DetailSize / 2) * FZoom), false, x, y);
}

std::string TMapForm::HoverText(int32_t mapX, int32_t mapY, bool onOverview, int32_t x, int32_t y) {
  const TMap& map = ActiveMap();
  if (mapX < 0 || mapY < 0 || mapX >= map.BlocksWide() * 8 || mapY >= map.BlocksHigh() * 8) return {};
  std::string text = "X: " + NumberText(mapX) + "  Y: " + NumberText(mapY) +
                     "  Z: " + NumberText(map.GetAltitude(mapX, mapY));
  if (auto sextant = places::SextantText(FMapIndex, mapX, mapY)) text += "\n" + *sextant;

  // The nearest place whose marker is within reach; of equally near ones the
  // first in the list.
  const TPaneView view{map, onOverview, FCenterX, FCenterY, std::max<int32_t>(FZoom, 1)};
  const TLocation* nearest = nullptr;
  int nearestDistance = kHoverReach + 1;
  for (const auto& place : FLocations) {
    if (place->MapNo != FMapIndex) continue;
    const auto cell = PlaceCell(*place);
    if (!cell) continue;
    const auto pixel = view.PixelOf(cell->first, cell->second);
    if (!pixel) continue;
    const int distance = std::max(std::abs(pixel->X - x), std::abs(pixel->Y - y));
    if (distance < nearestDistance) {
      nearest = place.get();
      nearestDistance = distance;
    }
  }
  if (nearest) text += "\n" + nearest->Name;
  // A friend's name is UTF-8 as heard, and may hold what the code page cannot.
  text = CodePageToUtf8(text);
  if (const friends::Friend* someone = FriendAtPixel(onOverview, x, y)) text += "\n" + someone->name;
  return text;
}

void TMapForm::ZoomMapWheel(int delta) {
  // More than a turn from the closest zoom to the farthest is of no use, and
  // keeps a flood of movement from redrawing without end.
  constexpr int64_t kLimit = int64_t{kWheelNotch} * kMaxZoom;
  FWheelRest = static_cast<int>(std::clamp<int64_t>(int64_t{FWheelRest} + delta, -kLimit, kLimit));
  while (FWheelRest >= kWheelNotch) {
    FWheelRest -= kWheelNotch;
    btnZoomInClick();
  }
  while (FWheelRest <= -kWheelNotch) {
    FWheelRest += kWheelNotch;
    btnZoomOutClick();
  }
}

}  // namespace wf::ui
