#include "AtlasWorld.h"

#include <random>

#include "LiteralMap.h"
#include "atlas/AtlasPicture.h"
#include "atlas/TileKey.h"
#include "mapdata/MapTable.h"

namespace wf::testing {

namespace {

// Cells of random land and statics along each side; the plain land between
// them keeps the world quick to make, also under ThreadSanitizer.
constexpr int32_t EdgeCells = 128;

}  // namespace

TAtlasWorld::TAtlasWorld(uint32_t seed) {
  std::mt19937 engine(seed);
  const auto random = [&](int32_t below) { return static_cast<int32_t>(engine() % static_cast<uint32_t>(below)); };
  const TMapSize size = MapSizeOf(4);
  worldgen::TMapContents contents(size.BlocksWide, size.BlocksHigh);
  cells_ = contents.CellsWide();
  const auto isEdge = [&](int32_t x) { return x < EdgeCells || x >= cells_ - EdgeCells; };
  for (int32_t x = 0; x < cells_; ++x)
    for (int32_t y = 0; y < cells_ && isEdge(x); ++y)
      contents.SetCell(x, y, {static_cast<uint16_t>(random(RadarColorCount)), static_cast<int8_t>(random(40))});
  for (int32_t n = 0; n < 6000; ++n) {
    const int32_t x = random(2 * EdgeCells);
    contents.AddStatic(x < EdgeCells ? x : cells_ - 2 * EdgeCells + x, random(cells_),
                       static_cast<uint16_t>(random(14000)), static_cast<int8_t>(random(60)));
  }
  // Tile 0, the plain land, is not black: a mean taken over the wrong number of cells shows.
  std::vector<uint16_t> radar = IdentityRadarValues();
  radar[0] = 0x4E73;
  world_.SetRadarValues(radar);
  world_.AddMap(4, contents);

  TLiteralMap plain(4, world_.Config(), TLiteralMap::TReads::FromCopies);
  const TColor32 land = plain.CellColor(EdgeCells, 0);
  colors_.resize(static_cast<size_t>(cells_ * cells_));
  for (int32_t y = 0; y < cells_; ++y)
    for (int32_t x = 0; x < cells_; ++x) {
      colors_[static_cast<size_t>(y * cells_ + x)] = (isEdge(x) ? plain.CellColor(x, y) : land) | 0xFF000000;
    }
}

std::unique_ptr<TMap> TAtlasWorld::OpenMap() { return std::make_unique<TMap>(4, world_.Config(), boxes_); }

TColor32 TAtlasWorld::Expected(int scale, int64_t sx, int64_t sy) const {
  const int64_t k = atlas::Scales[scale].CellsPerPixel, m = atlas::Scales[scale].PixelsPerCell;
  const int64_t left = atlas::FloorDiv(sx, m) * k, top = atlas::FloorDiv(sy, m) * k;
  uint64_t red = 0, green = 0, blue = 0, count = 0;
  for (int64_t y = top; y < top + k; ++y)
    for (int64_t x = left; x < left + k; ++x)
      if (x >= 0 && y >= 0 && x < cells_ && y < cells_) {
        const TColor32 c = colors_[static_cast<size_t>(y * cells_ + x)];
        red += (c >> 16) & 0xFF;
        green += (c >> 8) & 0xFF;
        blue += c & 0xFF;
        ++count;
      }
  if (count == 0) return atlas::BackgroundColor;
  return MakeColor32(static_cast<int>(red / count), static_cast<int>(green / count), static_cast<int>(blue / count), 255);
}

}  // namespace wf::testing
