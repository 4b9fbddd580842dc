#include <array>

#include "mapdata/FileView.h"
#include "mapdata/Map.h"

namespace wf {

// Each pixel shows the land colour of the cell at the top-left corner of the
// area it stands for. A column of pixels samples one column of cells, so the
// blocks it needs lie together in the file: they are taken as one window (a
// mapping touches only the sampled cells' pages; without one, the span is read
// once).
std::unique_ptr<TBitmap32> TMap::BuildOverview() const {
  if (LoadFailed) return nullptr;
  auto bitmap = std::make_unique<TBitmap32>();
  bitmap->SetBitmapWidth(OverviewWidth);
  bitmap->SetBitmapHeight(OverviewHeight);

  const int64_t cellsWide = int64_t{FBlocksWide} * 8, cellsHigh = int64_t{FBlocksHigh} * 8;
  std::array<int32_t, OverviewHeight> rows;
  for (int j = 0; j < OverviewHeight; ++j) rows[j] = static_cast<int32_t>(j * cellsHigh / OverviewHeight);

  TFileView cells(*MapStream);
  for (int i = 0; i < OverviewWidth; ++i) {
    const auto x = static_cast<int32_t>(i * cellsWide / OverviewWidth);
    const uint64_t first = static_cast<uint64_t>(CellOffsetOf(x, rows.front(), FBlocksHigh));
    const uint64_t last = static_cast<uint64_t>(CellOffsetOf(x, rows.back(), FBlocksHigh));
    const TFileView::TSpan column = cells.Window(first, static_cast<size_t>(last - first) + 2);
    for (int j = 0; j < OverviewHeight; ++j) {
      const auto at = static_cast<size_t>(static_cast<uint64_t>(CellOffsetOf(x, rows[j], FBlocksHigh)) - first);
      // Past the end of the file the cell reads as tile 0, byte by byte.
      uint16_t tile = 0;
      if (at < column.Size) tile = column.Data[at];
      if (at + 1 < column.Size) tile = static_cast<uint16_t>(tile | (column.Data[at + 1] << 8));
      bitmap->WritePixel(i, j, LandColor(tile));
    }
  }
  return bitmap;
}

}  // namespace wf
