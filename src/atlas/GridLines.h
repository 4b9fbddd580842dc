#pragma once
// The atlas's grid: lines along the map's 8 x 8 blocks at 2:1 and closer, and
// every 64 cells from 1:4 to 1:1; none at coarser scales, where they would
// cover the map.

#include <cstdint>
#include <vector>

#include "atlas/AtlasScale.h"
#include "atlas/OverlayGeometry.h"

namespace wf::atlas {

// Cells between lines at a scale; 0 for none.
int32_t GridSpacing(int scale);

struct TGridLines {
  // The frame's columns and rows where a line runs: the first pixel of every
  // cell at a multiple of the spacing, from cell 0 on, on the frame.
  std::vector<int32_t> Columns;
  std::vector<int32_t> Rows;
  // The lines run only over the map: its pixels on the frame, clipped.
  TFrameRect Span;
};

// Lines only where the frame shows the map of `mapWidth` x `mapHeight` cells.
TGridLines GridLinesOf(const TAtlasFrame& frame, int32_t mapWidth, int32_t mapHeight);

}  // namespace wf::atlas
