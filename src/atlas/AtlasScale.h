#pragma once
// The atlas's scales and the one coordinate system its picture lives in.
//
// At a scale the map is seen as a grid of "scaled pixels": at 1:k scaled pixel
// (i, j) is the k x k box of cells from (k*i, k*j); at m:1 scaled pixel (i, j)
// is one m-th of cell (i / m, j / m). A frame on the screen shows the scaled
// pixels from its origin on, one device pixel each, so panning by whole device
// pixels is exact at every scale and tiles are aligned to this grid.

#include <cstdint>

namespace wf::atlas {

struct TScale {
  int32_t CellsPerPixel;  // k of 1:k; 1 at m:1
  int32_t PixelsPerCell;  // m of m:1; 1 at 1:k
  const char* Text;       // as the status bar writes it
};

// Coarsest first; ScaleCount - 1 is the closest.
inline constexpr TScale Scales[] = {
    {32, 1, "1:32"}, {16, 1, "1:16"}, {8, 1, "1:8"}, {4, 1, "1:4"}, {2, 1, "1:2"},
    {1, 1, "1:1"},   {1, 2, "2:1"},   {1, 4, "4:1"}, {1, 8, "8:1"},
};
inline constexpr int ScaleCount = static_cast<int>(sizeof(Scales) / sizeof(Scales[0]));
inline constexpr int OneToOne = 5;

// Division rounding towards minus infinity: scaled pixels left of or above
// the map have negative numbers.
constexpr int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// What one frame shows: `Width` x `Height` device pixels whose top-left one is
// scaled pixel (OriginX, OriginY) of scale `Scale` (an index into Scales).
struct TAtlasFrame {
  int Scale = OneToOne;
  int64_t OriginX = 0;
  int64_t OriginY = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

}  // namespace wf::atlas
