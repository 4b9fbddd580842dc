#include "atlas/AtlasView.h"

#include <algorithm>

namespace wf::atlas {

namespace {

constexpr int64_t kEighthsPerCell = 8;

// How many eighths of a cell one scaled pixel spans: 256 at 1:32, 1 at 8:1.
int64_t Eighths(int scale) {
  return kEighthsPerCell * Scales[scale].CellsPerPixel / Scales[scale].PixelsPerCell;
}

// The middle of scaled pixel `s`, in eighths; at 8:1 its left edge, there
// being nothing finer.
int64_t MiddleOf(int scale, int64_t s) { return s * Eighths(scale) + Eighths(scale) / 2; }

int64_t CellOf(int scale, int64_t s) { return FloorDiv(MiddleOf(scale, s), kEighthsPerCell); }

// The scaled pixel that holds the middle of `cell`.
int64_t ScaledOfCell(int scale, int64_t cell) {
  return FloorDiv(cell * kEighthsPerCell + kEighthsPerCell / 2, Eighths(scale));
}

// The origin that puts the map's scaled pixel `s` under device pixel `at`,
// along one axis.
int64_t OriginFor(int64_t s, int64_t at) { return s - at; }

int64_t ClampedOrigin(int64_t origin, int32_t size, int64_t extent) {
  const int64_t middle = origin + size / 2;
  return origin + (std::clamp<int64_t>(middle, 0, std::max<int64_t>(extent - 1, 0)) - middle);
}

}  // namespace

int64_t ScaledExtent(int scale, int64_t cells) {
  return FloorDiv(cells * kEighthsPerCell + Eighths(scale) - 1, Eighths(scale));
}

TCellPoint CellAt(const TAtlasFrame& frame, int64_t x, int64_t y) {
  return {CellOf(frame.Scale, frame.OriginX + x), CellOf(frame.Scale, frame.OriginY + y)};
}

TCellPoint CentreCell(const TAtlasFrame& frame) { return CellAt(frame, frame.Width / 2, frame.Height / 2); }

std::optional<TCellPoint> MapCellAt(const TAtlasFrame& frame, int64_t x, int64_t y, TMapExtent map) {
  const int64_t sx = frame.OriginX + x;
  const int64_t sy = frame.OriginY + y;
  if (sx < 0 || sy < 0 || sx >= ScaledExtent(frame.Scale, map.Width) || sy >= ScaledExtent(frame.Scale, map.Height))
    return std::nullopt;
  return TCellPoint{std::min(CellOf(frame.Scale, sx), map.Width - 1), std::min(CellOf(frame.Scale, sy), map.Height - 1)};
}

TAtlasFrame ZoomedAround(const TAtlasFrame& frame, int scale, int64_t x, int64_t y) {
  scale = std::clamp(scale, 0, ScaleCount - 1);
  TAtlasFrame zoomed = frame;
  zoomed.Scale = scale;
  zoomed.OriginX = OriginFor(FloorDiv(MiddleOf(frame.Scale, frame.OriginX + x), Eighths(scale)), x);
  zoomed.OriginY = OriginFor(FloorDiv(MiddleOf(frame.Scale, frame.OriginY + y), Eighths(scale)), y);
  return zoomed;
}

TAtlasFrame Dragged(const TAtlasFrame& frame, int64_t dx, int64_t dy) {
  TAtlasFrame moved = frame;
  moved.OriginX -= dx;
  moved.OriginY -= dy;
  return moved;
}

TAtlasFrame CentredOn(int scale, TCellPoint cell, int32_t width, int32_t height) {
  scale = std::clamp(scale, 0, ScaleCount - 1);
  return {.Scale = scale,
          .OriginX = OriginFor(ScaledOfCell(scale, cell.X), width / 2),
          .OriginY = OriginFor(ScaledOfCell(scale, cell.Y), height / 2),
          .Width = width,
          .Height = height};
}

TAtlasFrame Fitted(TMapExtent map, int32_t width, int32_t height) {
  int scale = ScaleCount - 1;
  while (scale > 0 && (ScaledExtent(scale, map.Width) > width || ScaledExtent(scale, map.Height) > height))
    --scale;
  return {.Scale = scale,
          .OriginX = FloorDiv(ScaledExtent(scale, map.Width) - width, 2),
          .OriginY = FloorDiv(ScaledExtent(scale, map.Height) - height, 2),
          .Width = width,
          .Height = height};
}

TAtlasFrame Resized(const TAtlasFrame& frame, int32_t width, int32_t height) {
  TAtlasFrame resized = frame;
  resized.OriginX += frame.Width / 2 - width / 2;
  resized.OriginY += frame.Height / 2 - height / 2;
  resized.Width = width;
  resized.Height = height;
  return resized;
}

TAtlasFrame Clamped(const TAtlasFrame& frame, TMapExtent map) {
  TAtlasFrame clamped = frame;
  clamped.OriginX = ClampedOrigin(frame.OriginX, frame.Width, ScaledExtent(frame.Scale, map.Width));
  clamped.OriginY = ClampedOrigin(frame.OriginY, frame.Height, ScaledExtent(frame.Scale, map.Height));
  return clamped;
}

}  // namespace wf::atlas
