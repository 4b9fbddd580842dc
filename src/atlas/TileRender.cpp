#include "atlas/TileRender.h"

#include <algorithm>
#include <bit>

namespace wf::atlas {

namespace {

// A box of 32 x 32 cells adds up at most 1024 * 255 per channel, well within
// 21 bits: the three channels are summed in one 64-bit number.
constexpr int LaneBits = 21;
constexpr uint64_t LaneMask = (uint64_t{1} << LaneBits) - 1;
static_assert(uint64_t{32} * 32 * 255 <= LaneMask);

inline uint64_t Spread(TColor32 c) {
  return (uint64_t{(c >> 16) & 0xFF} << (2 * LaneBits)) | (uint64_t{(c >> 8) & 0xFF} << LaneBits) | (c & 0xFF);
}

inline TColor32 Mean(uint64_t sum, uint64_t count) {
  return MakeColor32(static_cast<int>(((sum >> (2 * LaneBits)) & LaneMask) / count),
                     static_cast<int>(((sum >> LaneBits) & LaneMask) / count),
                     static_cast<int>((sum & LaneMask) / count), 255);
}

}  // namespace

bool RenderTile(const TMap& map, const TMap::TMappedFiles& files, const TTileKey& key, TColor32* pixels,
                TTileScratch& scratch, const std::atomic<bool>& cancel) {
  std::fill(pixels, pixels + TilePixels, BackgroundColor);
  const int64_t k = Scales[key.Level].CellsPerPixel;
  const int64_t side = TileSize * k;  // cells, a whole number of blocks
  const int64_t left = key.X * side, top = key.Y * side;
  // The tile's cells that lie on the map, counted from its top-left corner.
  const int64_t wide = std::min<int64_t>(side, int64_t{map.BlocksWide()} * 8 - left);
  const int64_t high = std::min<int64_t>(side, int64_t{map.BlocksHigh()} * 8 - top);
  if (key.X < 0 || key.Y < 0 || wide <= 0 || high <= 0) return true;
  const auto blockX = static_cast<int32_t>(left / 8), blockY = static_cast<int32_t>(top / 8);
  const auto blocksAcross = static_cast<int32_t>(wide / 8), blocksDown = static_cast<int32_t>(high / 8);
  if (k == 1) {
    map.ReadCellColors(files, blockX, blockY, blocksAcross, blocksDown, pixels, TileSize);
    return true;
  }

  const int shift = std::countr_zero(static_cast<uint64_t>(k));
  scratch.Sums.assign(TilePixels, 0);
  scratch.Strip.resize(static_cast<size_t>(high) * 8);
  for (int32_t column = 0; column < blocksAcross; ++column) {
    if (cancel.load(std::memory_order_relaxed)) return false;
    map.ReadCellColors(files, blockX + column, blockY, 1, blocksDown, scratch.Strip.data(), 8);
    const TColor32* cell = scratch.Strip.data();
    for (int64_t y = 0; y < high; ++y) {
      uint64_t* boxes = &scratch.Sums[static_cast<size_t>(y >> shift) * TileSize];
      for (int64_t x = column * 8; x < column * 8 + 8; ++x) boxes[x >> shift] += Spread(*cell++);
    }
  }
  const int64_t boxesAcross = (wide + k - 1) / k, boxesDown = (high + k - 1) / k;
  for (int64_t j = 0; j < boxesDown; ++j)
    for (int64_t i = 0; i < boxesAcross; ++i) {
      const auto count = static_cast<uint64_t>((std::min(k, wide - i * k)) * (std::min(k, high - j * k)));
      pixels[j * TileSize + i] = Mean(scratch.Sums[static_cast<size_t>(j * TileSize + i)], count);
    }
  return true;
}

}  // namespace wf::atlas
