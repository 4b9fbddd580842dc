#pragma once
// One tile's pixels from the map. At 1:1 a pixel is its cell's colour as the
// map gives it for whole blocks (see TMap::ReadCellColors); at 1:k it is the
// box of k x k cells from (k*i, k*j): each of red, green and blue is the sum
// over the box's cells that lie on the map divided by their count, rounded
// down. Pixels off the map are the background.

#include <atomic>
#include <vector>

#include "atlas/AtlasPicture.h"
#include "atlas/TileKey.h"
#include "mapdata/Map.h"

namespace wf::atlas {

// Room a renderer keeps from tile to tile, so that rendering allocates
// nothing once it has met the largest tile.
struct TTileScratch {
  std::vector<TColor32> Strip;  // one column of blocks
  std::vector<uint64_t> Sums;   // per box, the three channels side by side
  size_t Bytes() const { return Strip.capacity() * sizeof(TColor32) + Sums.capacity() * sizeof(uint64_t); }
};

// Renders the tile into `pixels` (TilePixels of them, rows of TileSize),
// reading each block it covers once. False when `cancel` was set before it
// was done; the pixels are then of no use.
bool RenderTile(const TMap& map, const TMap::TMappedFiles& files, const TTileKey& key, TColor32* pixels,
                TTileScratch& scratch, const std::atomic<bool>& cancel);

}  // namespace wf::atlas
