#include "atlas/GridLines.h"

#include <algorithm>

namespace wf::atlas {

namespace {

// Frame positions of the cells at multiples of `spacing` within the frame's
// `size` pixels from `origin` on, over a map `cells` long.
std::vector<int32_t> LinesAlong(int scale, int64_t origin, int32_t size, int32_t cells, int32_t spacing) {
  std::vector<int32_t> lines;
  if (spacing == 0 || size <= 0 || cells <= 0) return lines;
  // Far off the map, where the arithmetic below could overflow, nothing shows.
  if (origin >= ScaledEnd(scale, cells - 1) || origin <= -int64_t{size}) return lines;
  const TScale& s = Scales[scale];
  // The first cell the frame shows, taken back to the multiple at or before it.
  const int64_t firstCell = std::max<int64_t>(0, origin * s.CellsPerPixel / s.PixelsPerCell);
  for (int64_t cell = firstCell / spacing * spacing; cell < cells; cell += spacing) {
    const int64_t at = ScaledBegin(scale, cell) - origin;
    if (at >= size) break;
    if (at >= 0) lines.push_back(static_cast<int32_t>(at));
  }
  return lines;
}

}  // namespace

int32_t GridSpacing(int scale) {
  if (Scales[scale].PixelsPerCell >= 2) return 8;
  return Scales[scale].CellsPerPixel <= 4 ? 64 : 0;
}

TGridLines GridLinesOf(const TAtlasFrame& frame, int32_t mapWidth, int32_t mapHeight) {
  TGridLines grid;
  const int32_t spacing = GridSpacing(frame.Scale);
  grid.Columns = LinesAlong(frame.Scale, frame.OriginX, frame.Width, mapWidth, spacing);
  grid.Rows = LinesAlong(frame.Scale, frame.OriginY, frame.Height, mapHeight, spacing);
  const TFrameRect map = CellsOnFrame(frame, 0, 0, mapWidth, mapHeight);
  grid.Span = {std::max<int64_t>(map.Left, 0), std::max<int64_t>(map.Top, 0),
               std::min<int64_t>(map.Right, frame.Width), std::min<int64_t>(map.Bottom, frame.Height)};
  if (grid.Span.Right <= grid.Span.Left || grid.Span.Bottom <= grid.Span.Top) grid = {};
  return grid;
}

}  // namespace wf::atlas
