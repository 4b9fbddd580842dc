#include <algorithm>
#include <array>

#include "mapdata/BlockReading.h"
#include "mapdata/Map.h"

namespace wf {

namespace {

constexpr TColor32 Opaque = 0xFF000000;

}  // namespace

TMap::TMappedFiles TMap::MapFiles() const {
  if (LoadFailed) return {};
  return {MapCells->File().Map(), StaIdxStream->Map(), StaticsStream->Map()};
}

// Block columns lie one after the other in the files, so the blocks are
// visited column by column.
void TMap::ReadCellColors(const TMappedFiles& files, int32_t blockX, int32_t blockY, int32_t blocksAcross,
                          int32_t blocksDown, TColor32* out, size_t stride) const {
  if (LoadFailed) return;
  const int64_t firstX = std::max(blockX, 0), firstY = std::max(blockY, 0);
  const int64_t endX = std::min<int64_t>(int64_t{blockX} + blocksAcross, FBlocksWide);
  const int64_t endY = std::min<int64_t>(int64_t{blockY} + blocksDown, FBlocksHigh);
  TFileView cells(MapCells->File(), files.Cells), index(*StaIdxStream, files.StaIdx),
      statics(*StaticsStream, files.Statics);
  std::array<unsigned char, MapBlockBytes> block;
  std::array<unsigned char, StaIdxEntryBytes> entry;
  TTopStatics top;
  for (int64_t bx = firstX; bx < endX; ++bx) {
    for (int64_t by = firstY; by < endY; ++by) {
      const auto b = static_cast<uint64_t>(bx * FBlocksHigh + by);
      ReadBlock(*MapCells, cells, b, block.data());
      index.Read(b * StaIdxEntryBytes, entry.data(), entry.size());
      const bool hasStatics = ReadTopStatics(DecodeStaIdxEntry(entry.data()), statics, top);
      TColor32* corner =
          out + static_cast<size_t>(8 * (by - blockY)) * stride + static_cast<size_t>(8 * (bx - blockX));
      for (int c = 0; c < CellsPerBlock; ++c) {
        const TMapCell land = DecodeMapCell(&block[MapBlockHeaderBytes + c * MapCellBytes]);
        const TColor32 color =
            ShowsStatic(hasStatics, top, c, land) ? StaticColor(top.Tile[c]) : LandColor(land.Tile);
        corner[static_cast<size_t>(c / 8) * stride + c % 8] = color | Opaque;
      }
    }
  }
}

}  // namespace wf
