#include <cmath>
#include <cstdint>

#include "common/IntegerText.h"
#include "mapdata/Map.h"
#include "ui/MapForm.h"

namespace wf::ui {

namespace {

constexpr uint16_t kKeyExecute = 43;
constexpr uint16_t kKeyAdd = 107;
constexpr uint16_t kKeyInsert = 45;
constexpr uint16_t kKeySubtract = 109;
constexpr uint16_t kMaxZoom = 16;

// Truncated toward zero; values beyond 32 bits stop at its ends instead of
// being undefined.
int32_t TruncToInt32(double value) {
  if (!(value > -2147483649.0)) return INT32_MIN;
  if (value >= 2147483648.0) return INT32_MAX;
  return static_cast<int32_t>(value);
}

}  // namespace

int32_t TMapForm::OverviewToMapX(int32_t x) {
  return TruncToInt32(ActiveMap().ScaleX() * static_cast<double>(x));
}

int32_t TMapForm::OverviewToMapY(int32_t y) {
  return TruncToInt32(ActiveMap().ScaleY() * static_cast<double>(y));
}

void TMapForm::ShowCentre() {
  c_.eX.SetText(NumberText(FCenterX));
  c_.eY.SetText(NumberText(FCenterY));
  c_.eZ.SetText(NumberText(FCenterZ));
}

void TMapForm::MapImageMouseDown(TMouseButton button, int32_t x, int32_t y) {
  PressOnCell(button, OverviewToMapX(x), OverviewToMapY(y));
}

void TMapForm::CentreOn(int32_t x, int32_t y) { PressOnCell(TMouseButton::Left, x, y); }

void TMapForm::TravelTo(int32_t x, int32_t y) { PressOnCell(TMouseButton::Right, x, y); }

void TMapForm::PressOnCell(TMouseButton button, int32_t mapX, int32_t mapY) {
  // A press beyond the map is ignored; on a map that is not loaded every press
  // is, its size being 0.
  if (mapX < 0 || mapX >= static_cast<int64_t>(ActiveMap().BlocksWide()) * 8) return;
  if (mapY < 0 || mapY >= static_cast<int64_t>(ActiveMap().BlocksHigh()) * 8) return;

  FTravelProblem.clear();
  if (button == TMouseButton::Right) {
    SendTravelCommand(mapX, mapY, ActiveMap().GetAltitude(mapX, mapY));
  } else {
    FCenterX = static_cast<uint16_t>(mapX);
    FCenterY = static_cast<uint16_t>(mapY);
    FCenterZ = static_cast<int8_t>(ActiveMap().GetAltitude(FCenterX, FCenterY));
    ShowCentre();
  }
  DrawDetail();
  ReportTravelProblem();
}

void TMapForm::ZoomMapMouseDown(TMouseButton button, int32_t x, int32_t y) {
  // The pane's middle pixel shows the centre cell.
  const int64_t dx = (static_cast<int64_t>(x) - DetailSize / 2) * FZoom;
  const int64_t dy = (static_cast<int64_t>(y) - DetailSize / 2) * FZoom;
  FTravelProblem.clear();
  if (button == TMouseButton::Right) {
    // Sent as they come, also beyond the map or below 0.
    SendTravelCommand(static_cast<int32_t>(FCenterX + dx), static_cast<int32_t>(FCenterY + dy),
                      FCenterZ);
  } else {
    // The centre wraps round at 65536 and may leave the map on any side.
    FCenterX = static_cast<uint16_t>(FCenterX + dx);
    FCenterY = static_cast<uint16_t>(FCenterY + dy);
    FCenterZ = static_cast<int8_t>(ActiveMap().GetAltitude(FCenterX, FCenterY));
    ShowCentre();
  }
  DrawDetail();
  ReportTravelProblem();
}

void TMapForm::btnZoomInClick() {
  if (FZoom > 1) --FZoom;
  DrawDetail();
}

void TMapForm::btnZoomOutClick() {
  if (FZoom < kMaxZoom) ++FZoom;
  DrawDetail();
}

void TMapForm::FormKeyDown(uint16_t key) {
  if (key == kKeyExecute || key == kKeyAdd) {
    if (FZoom > 1) --FZoom;
  } else if (key == kKeyInsert || key == kKeySubtract) {
    if (FZoom < kMaxZoom) ++FZoom;
  }
  DrawDetail();
}

}  // namespace wf::ui
