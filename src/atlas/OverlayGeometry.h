#pragma once
// Where a map cell lies on a frame, for what is drawn over the composed
// picture. Positions are in the frame's device pixels from its top-left
// corner and may lie far off it; drawing clips.

#include <cstdint>

#include "atlas/AtlasScale.h"

namespace wf::atlas {

struct TFramePoint {
  int64_t X = 0;
  int64_t Y = 0;
  bool operator==(const TFramePoint&) const = default;
};

// Right and Bottom exclusive.
struct TFrameRect {
  int64_t Left = 0;
  int64_t Top = 0;
  int64_t Right = 0;
  int64_t Bottom = 0;
  bool operator==(const TFrameRect&) const = default;
};

// The pixel that stands for the cell: at 1:k the pixel of the box holding it,
// at m:1 the middle one of its m x m square (right of and below the middle
// for even m).
TFramePoint CellOnFrame(const TAtlasFrame& frame, int64_t x, int64_t y);

// The pixels that show the cells from (x1, y1) to (x2, y2), both exclusive:
// at 1:k every box that holds one of them. Empty when no cell is in range.
TFrameRect CellsOnFrame(const TAtlasFrame& frame, int64_t x1, int64_t y1, int64_t x2, int64_t y2);

// The scaled pixel (AtlasScale.h) where the cell begins along one axis, and
// one past where it ends.
int64_t ScaledBegin(int scale, int64_t cell);
int64_t ScaledEnd(int scale, int64_t cell);

}  // namespace wf::atlas
