#include <array>

#include "mapdata/FileView.h"
#include "mapdata/Map.h"
#include "mapdata/MapCells.h"

namespace wf {

// Each pixel shows the land colour of the cell at the top-left corner of the
// area it stands for. A column of pixels samples one column of cells, so the
// blocks it needs lie together in the file (in a packed file, as long as they
// are in one entry): each such run is taken as one window (a mapping touches
// only the sampled cells' pages; without one, the span is read once).
std::unique_ptr<TBitmap32> TMap::BuildOverview() const {
  if (LoadFailed) return nullptr;
  auto bitmap = std::make_unique<TBitmap32>();
  bitmap->SetBitmapWidth(OverviewWidth);
  bitmap->SetBitmapHeight(OverviewHeight);

  const int64_t cellsWide = int64_t{FBlocksWide} * 8, cellsHigh = int64_t{FBlocksHigh} * 8;
  std::array<int32_t, OverviewHeight> rows;
  for (int j = 0; j < OverviewHeight; ++j) rows[j] = static_cast<int32_t>(j * cellsHigh / OverviewHeight);
  // Where a sampled cell lies in its run of blocks.
  const auto placeInRun = [this](int32_t x, int32_t y, uint64_t runBlock) {
    return (static_cast<uint64_t>(BlockNumberOf(x, y, FBlocksHigh)) - runBlock) * MapBlockBytes +
           MapBlockHeaderBytes + static_cast<uint64_t>(CellIndexOf(x, y)) * MapCellBytes;
  };

  TFileView cells(MapCells->File());
  for (int i = 0; i < OverviewWidth; ++i) {
    const auto x = static_cast<int32_t>(i * cellsWide / OverviewWidth);
    for (int j = 0; j < OverviewHeight;) {
      const auto block = static_cast<uint64_t>(BlockNumberOf(x, rows[j], FBlocksHigh));
      const TMapCells::TRun run = MapCells->RunFrom(block);
      int end = j + 1;
      while (end < OverviewHeight && static_cast<uint64_t>(BlockNumberOf(x, rows[end], FBlocksHigh)) - block < run.Blocks)
        ++end;
      if (run.Blocks == 0) {
        bitmap->WritePixel(i, j, LandColor(0));
        j = end;
        continue;
      }
      const uint64_t first = placeInRun(x, rows[j], block);
      const uint64_t last = placeInRun(x, rows[end - 1], block);
      const TFileView::TSpan span = cells.Window(run.Offset + first, static_cast<size_t>(last - first) + 2);
      for (; j < end; ++j) {
        const auto at = static_cast<size_t>(placeInRun(x, rows[j], block) - first);
        // Past the end of the file the cell reads as tile 0, byte by byte.
        uint16_t tile = 0;
        if (at < span.Size) tile = span.Data[at];
        if (at + 1 < span.Size) tile = static_cast<uint16_t>(tile | (span.Data[at + 1] << 8));
        bitmap->WritePixel(i, j, LandColor(tile));
      }
    }
  }
  return bitmap;
}

}  // namespace wf
