#include <array>
#include <vector>

#include "mapdata/BlockReading.h"
#include "mapdata/Map.h"

namespace wf {

namespace {

constexpr TColor32 ClearColor = 0x00FFFFFF;

// Pixels that sample the same block along one axis: X (or Y) only grows with
// the pixel index, so they follow one another.
struct TRun {
  int32_t Block;  // block column (or row)
  int First;      // first pixel of the run
  int End;        // one past the last
};

// The cells sampled along one axis, grouped into runs of one block each.
// Cells at 0 or below and at `cells` or beyond are not drawn.
std::vector<TRun> SampledRuns(int32_t center, int32_t zoom, int32_t cells,
                              std::array<int32_t, DetailSize>& sampled) {
  std::vector<TRun> runs;
  for (int p = 0; p < DetailSize; ++p) {
    const int32_t c = (p - DetailSize / 2) * zoom + center;
    sampled[p] = c;
    if (c <= 0 || c >= cells) continue;
    if (!runs.empty() && runs.back().End == p && runs.back().Block == c / 8)
      ++runs.back().End;
    else
      runs.push_back({c / 8, p, p + 1});
  }
  return runs;
}

}  // namespace

// The picture is made block by block: each block that any pixel samples has
// its cells, its index entry and its statics read once, however many pixels
// fall in it.
std::unique_ptr<TBitmap32> TMap::RenderDetail(uint16_t centerX, uint16_t centerY, uint16_t zoom) const {
  if (LoadFailed) return nullptr;
  auto bitmap = std::make_unique<TBitmap32>();
  bitmap->SetBitmapWidth(DetailSize);
  bitmap->SetBitmapHeight(DetailSize);
  bitmap->ClearTo(ClearColor);

  std::array<int32_t, DetailSize> xs, ys;
  const std::vector<TRun> columns = SampledRuns(centerX, zoom, FBlocksWide * 8, xs);
  const std::vector<TRun> rows = SampledRuns(centerY, zoom, FBlocksHigh * 8, ys);
  if (columns.empty() || rows.empty()) return bitmap;

  TFileView cells(MapCells->File()), index(*StaIdxStream), statics(*StaticsStream);
  std::array<unsigned char, MapBlockBytes> block;
  std::array<unsigned char, StaIdxEntryBytes> entry;
  TTopStatics top;
  for (const TRun& row : rows) {
    for (const TRun& column : columns) {
      const uint64_t b = static_cast<uint64_t>(int64_t{column.Block} * FBlocksHigh + row.Block);
      ReadBlock(*MapCells, cells, b, block.data());
      index.Read(b * StaIdxEntryBytes, entry.data(), entry.size());
      const bool hasStatics = ReadTopStatics(DecodeStaIdxEntry(entry.data()), statics, top);
      for (int i = row.First; i < row.End; ++i) {
        for (int j = column.First; j < column.End; ++j) {
          const int c = CellIndexOf(xs[j], ys[i]);
          const TMapCell land = DecodeMapCell(&block[MapBlockHeaderBytes + c * MapCellBytes]);
          const bool showStatic = ShowsStatic(hasStatics, top, c, land);
          bitmap->WritePixel(j, i, showStatic ? StaticColor(top.Tile[c]) : LandColor(land.Tile));
        }
      }
    }
  }
  return bitmap;
}

}  // namespace wf
