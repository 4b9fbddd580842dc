#include "atlas/OverlayGeometry.h"

namespace wf::atlas {

int64_t ScaledBegin(int scale, int64_t cell) {
  const TScale& s = Scales[scale];
  return s.CellsPerPixel > 1 ? FloorDiv(cell, s.CellsPerPixel) : cell * s.PixelsPerCell;
}

int64_t ScaledEnd(int scale, int64_t cell) { return ScaledBegin(scale, cell) + Scales[scale].PixelsPerCell; }

TFramePoint CellOnFrame(const TAtlasFrame& frame, int64_t x, int64_t y) {
  const int64_t middle = Scales[frame.Scale].PixelsPerCell / 2;
  return {ScaledBegin(frame.Scale, x) + middle - frame.OriginX, ScaledBegin(frame.Scale, y) + middle - frame.OriginY};
}

TFrameRect CellsOnFrame(const TAtlasFrame& frame, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  if (x2 <= x1 || y2 <= y1) return {};
  return {ScaledBegin(frame.Scale, x1) - frame.OriginX, ScaledBegin(frame.Scale, y1) - frame.OriginY,
          ScaledEnd(frame.Scale, x2 - 1) - frame.OriginX, ScaledEnd(frame.Scale, y2 - 1) - frame.OriginY};
}

}  // namespace wf::atlas
