#include "atlas/FrameDrawing.h"

#include <algorithm>
#include <cstring>

#include "atlas/TileRender.h"
#include "mapdata/Map.h"
#include "raster/Bitmap32.h"

namespace wf::atlas {

namespace {

// Far beyond any map at any scale, and small enough that nothing below
// overflows.
constexpr int64_t OriginLimit = int64_t{1} << 40;

// The first frame column at or right of level pixel `lx` (likewise for rows),
// kept within the frame.
int64_t FrameColumnOf(int64_t lx, int64_t magnify, int64_t origin, int32_t size) {
  return std::clamp<int64_t>(lx * magnify - origin, 0, size);
}

// Writes level pixels from `lx` on into row[first, end), each `magnify`
// device pixels wide, the first one cut at the frame's edge; `color(lx)`.
template <typename TColorOf>
void DrawRun(TColor32* row, int64_t first, int64_t end, int64_t origin, int64_t magnify, TColorOf color) {
  int64_t lx = FloorDiv(origin + first, magnify);
  for (int64_t px = first; px < end; ++lx) {
    const int64_t next = std::min(end, (lx + 1) * magnify - origin);
    std::fill(row + px, row + next, color(lx));
    px = next;
  }
}

// The overview's column for each frame column, for the overview stand-in.
std::vector<int32_t> OverviewColumns(const TAtlasFrame& frame, const TFrameLayout& layout,
                                     const TOverviewStandIn& overview) {
  std::vector<int32_t> columns(static_cast<size_t>(frame.Width));
  const int64_t k = Scales[layout.Level].CellsPerPixel;
  for (int32_t px = 0; px < frame.Width; ++px) {
    const int64_t lx = std::clamp<int64_t>(FloorDiv(frame.OriginX + px, layout.Magnify), 0, layout.LevelWide - 1);
    columns[static_cast<size_t>(px)] = static_cast<int32_t>(lx * k * overview.Overview->Width() / overview.CellsWide);
  }
  return columns;
}

}  // namespace

TFrameLayout LayOutFrame(const TAtlasFrame& frame, int64_t cellsWide, int64_t cellsHigh) {
  TFrameLayout layout;
  if (frame.Scale < 0 || frame.Scale >= ScaleCount || frame.Width <= 0 || frame.Height <= 0) return layout;
  layout.Level = LevelOf(frame.Scale);
  layout.Magnify = Scales[frame.Scale].PixelsPerCell;
  const int64_t m = layout.Magnify;
  layout.CentreX = (static_cast<double>(frame.OriginX) + frame.Width / 2.0) / static_cast<double>(m);
  layout.CentreY = (static_cast<double>(frame.OriginY) + frame.Height / 2.0) / static_cast<double>(m);
  for (const int64_t origin : {frame.OriginX, frame.OriginY})
    if (origin > OriginLimit || origin < -OriginLimit) return layout;
  layout.LevelWide = LevelExtent(cellsWide, layout.Level);
  layout.LevelHigh = LevelExtent(cellsHigh, layout.Level);
  // The level pixels the frame shows, within the map.
  const int64_t left = std::max<int64_t>(FloorDiv(frame.OriginX, m), 0);
  const int64_t right = std::min(FloorDiv(frame.OriginX + frame.Width - 1, m), layout.LevelWide - 1);
  const int64_t top = std::max<int64_t>(FloorDiv(frame.OriginY, m), 0);
  const int64_t bottom = std::min(FloorDiv(frame.OriginY + frame.Height - 1, m), layout.LevelHigh - 1);
  if (left > right || top > bottom) return layout;
  layout.FirstTileX = static_cast<int32_t>(left >> TileShift);
  layout.FirstTileY = static_cast<int32_t>(top >> TileShift);
  layout.TilesAcross = static_cast<int32_t>((right >> TileShift) - layout.FirstTileX + 1);
  layout.TilesDown = static_cast<int32_t>((bottom >> TileShift) - layout.FirstTileY + 1);
  return layout;
}

void DrawFrame(const TAtlasFrame& frame, const TFrameLayout& layout, const std::vector<TTileSource>& sources,
               const TOverviewStandIn& overview, TColor32* pixels, const TBandDone& bandDone) {
  const auto width = static_cast<size_t>(frame.Width);
  if (layout.TilesAcross == 0 || layout.TilesDown == 0) {
    std::fill(pixels, pixels + width * static_cast<size_t>(frame.Height), BackgroundColor);
    if (bandDone) bandDone(0, frame.Height);
    return;
  }
  const int64_t m = layout.Magnify;
  // The frame columns of each column of tiles.
  struct TSpan {
    int64_t First, End;
  };
  std::vector<TSpan> spans(static_cast<size_t>(layout.TilesAcross));
  for (int32_t c = 0; c < layout.TilesAcross; ++c) {
    const int64_t tileLeft = int64_t{layout.FirstTileX + c} * TileSize;
    spans[c] = {FrameColumnOf(tileLeft, m, frame.OriginX, frame.Width),
                FrameColumnOf(std::min(tileLeft + TileSize, layout.LevelWide), m, frame.OriginX, frame.Width)};
  }
  const int64_t k = Scales[layout.Level].CellsPerPixel;
  std::vector<int32_t> overviewColumns;  // made when a tile first needs them

  int64_t previous = 0;
  int32_t bandTop = 0;
  for (int32_t py = 0; py < frame.Height; ++py) {
    TColor32* row = pixels + static_cast<size_t>(py) * width;
    const int64_t ly = FloorDiv(frame.OriginY + py, m);
    // At m:1 the rows of one level pixel are alike.
    if (py > 0 && ly == previous) {
      std::memcpy(row, row - width, width * sizeof(TColor32));
      continue;
    }
    previous = ly;
    if (bandDone && py - bandTop >= BandRows) {
      bandDone(bandTop, py);
      bandTop = py;
    }
    const int64_t tileRow = (ly >> TileShift) - layout.FirstTileY;
    if (tileRow < 0 || tileRow >= layout.TilesDown || ly >= layout.LevelHigh) {
      std::fill(row, row + width, BackgroundColor);
      continue;
    }
    std::fill(row, row + spans.front().First, BackgroundColor);
    std::fill(row + spans.back().End, row + width, BackgroundColor);
    const auto inY = static_cast<int>(ly & (TileSize - 1));
    for (int32_t c = 0; c < layout.TilesAcross; ++c) {
      const TTileSource& source = sources[static_cast<size_t>(tileRow * layout.TilesAcross + c)];
      const int64_t tileLeft = int64_t{layout.FirstTileX + c} * TileSize;
      const auto [first, end] = spans[c];
      if (source.Pixels && source.Shift == 0 && m == 1) {
        std::memcpy(row + first, source.Pixels + inY * TileSize + (frame.OriginX + first - tileLeft),
                    static_cast<size_t>(end - first) * sizeof(TColor32));
      } else if (source.Pixels) {
        const TColor32* from = source.Pixels + (source.OffsetY + (inY >> source.Shift)) * TileSize + source.OffsetX;
        DrawRun(row, first, end, frame.OriginX, m,
                [&](int64_t lx) { return from[(lx - tileLeft) >> source.Shift]; });
      } else if (overview.Overview) {
        if (overviewColumns.empty()) overviewColumns = OverviewColumns(frame, layout, overview);
        const int64_t oy = ly * k * overview.Overview->Height() / overview.CellsHigh;
        const TColor32* from = overview.Overview->Bits() + oy * overview.Overview->Width();
        for (int64_t px = first; px < end; ++px) row[px] = from[overviewColumns[static_cast<size_t>(px)]] | 0xFF000000;
      } else {
        std::fill(row + first, row + end, BackgroundColor);
      }
    }
  }
  if (bandDone) bandDone(bandTop, frame.Height);
}

}  // namespace wf::atlas
