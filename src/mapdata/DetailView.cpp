#include <algorithm>
#include <array>
#include <vector>

#include "mapdata/FileView.h"
#include "mapdata/Map.h"
#include "mapdata/MapCells.h"

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

// The highest static on each cell of one block: of records at the same
// altitude the first in the file stays, and nothing at -128 is ever chosen.
struct TTopStatics {
  std::array<int8_t, CellsPerBlock> Altitude;
  std::array<uint16_t, CellsPerBlock> Tile;
  std::array<bool, CellsPerBlock> Chosen;
};

// Reads the block's statics once. Entries that cannot be real (a negative
// offset, records reaching past the end of the file, implausibly many) count
// as no statics; false then.
bool ReadTopStatics(const TStaIdxEntry& entry, TFileView& statics, TTopStatics& top) {
  if (entry.Offset < 0 || entry.Length == 0 || entry.Length == 0xFFFFFFFF) return false;
  const uint32_t count = entry.Length / StaticItemBytes;
  if (count == 0 || count > MaxStaticsPerBlock) return false;
  const uint64_t bytes = uint64_t{count} * StaticItemBytes;
  if (static_cast<uint64_t>(entry.Offset) + bytes > statics.Size()) return false;
  const TFileView::TSpan records = statics.Window(static_cast<uint64_t>(entry.Offset), bytes);
  if (records.Size < bytes) return false;

  top.Altitude.fill(-128);
  top.Chosen.fill(false);
  for (const unsigned char* r = records.Data; r != records.Data + bytes; r += StaticItemBytes) {
    const TStaticItem item = DecodeStaticItem(r);
    if (item.X >= 8 || item.Y >= 8) continue;  // on no cell of this block
    const int cell = item.Y * 8 + item.X;
    if (item.Altitude > top.Altitude[cell]) {
      top.Altitude[cell] = item.Altitude;
      top.Tile[cell] = item.Tile;
      top.Chosen[cell] = true;
    }
  }
  return true;
}

// The block's 196 bytes; zeros where the data does not hold it.
void ReadBlock(const TMapCells& source, TFileView& view, uint64_t block, unsigned char* out) {
  const TMapCells::TRun run = source.RunFrom(block);
  if (run.Blocks == 0)
    std::fill(out, out + MapBlockBytes, 0);
  else
    view.Read(run.Offset, out, MapBlockBytes);
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
          const bool showStatic = hasStatics && top.Chosen[c] && top.Altitude[c] > land.Altitude;
          bitmap->WritePixel(j, i, showStatic ? StaticColor(top.Tile[c]) : LandColor(land.Tile));
        }
      }
    }
  }
  return bitmap;
}

}  // namespace wf
