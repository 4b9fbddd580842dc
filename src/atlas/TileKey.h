#pragma once
// Tiles: at every level the map's scaled pixels are cut into squares of
// TileSize by TileSize from (0, 0), each rendered on its own. A level is a
// scale whose tiles are rendered; the m:1 scales have none of their own, as
// every scaled pixel there is part of one cell: they magnify the 1:1 tiles
// while a frame is composed.

#include <cstddef>
#include <cstdint>

#include "atlas/AtlasScale.h"
#include "raster/Bitmap32.h"

namespace wf::atlas {

inline constexpr int TileShift = 6;
inline constexpr int TileSize = 1 << TileShift;
inline constexpr size_t TilePixels = size_t{TileSize} * TileSize;
inline constexpr size_t TileBytes = TilePixels * sizeof(TColor32);

// Levels are the scales 0 (1:32) to OneToOne.
inline constexpr int LevelCount = OneToOne + 1;
constexpr int LevelOf(int scale) { return scale < OneToOne ? scale : OneToOne; }

struct TTileKey {
  int32_t Level = 0;
  int32_t X = 0;  // in tiles
  int32_t Y = 0;
  friend bool operator==(const TTileKey&, const TTileKey&) = default;
};

struct TTileKeyHash {
  size_t operator()(const TTileKey& key) const {
    return (static_cast<size_t>(key.Level) << 58) ^ (static_cast<size_t>(static_cast<uint32_t>(key.X)) << 29) ^
           static_cast<uint32_t>(key.Y);
  }
};

// The map's width (or height) in pixels of a level: a box cut short by the
// map's edge is a pixel too.
constexpr int64_t LevelExtent(int64_t cells, int level) {
  const int64_t k = Scales[level].CellsPerPixel;
  return (cells + k - 1) / k;
}

}  // namespace wf::atlas
