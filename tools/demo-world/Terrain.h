#pragma once
// The land of a demo map: continents in a sea, with coasts, grass, forests,
// jungle, swamps, deserts, mountains and snow, and altitudes that follow them.

#include <cstdint>
#include <vector>

#include "MapContents.h"
#include "Palette.h"

namespace wf::worldgen {

// One land kind per cell, row by row.
class TLandKinds {
 public:
  TLandKinds(int32_t width, int32_t height)
      : width_(width), kinds_(static_cast<size_t>(width) * static_cast<size_t>(height)) {}
  TLand At(int32_t x, int32_t y) const { return kinds_[Index(x, y)]; }
  void Set(int32_t x, int32_t y, TLand land) { kinds_[Index(x, y)] = land; }

 private:
  size_t Index(int32_t x, int32_t y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }
  int32_t width_;
  std::vector<TLand> kinds_;
};

// Sets every cell's tile and altitude.
TLandKinds GenerateTerrain(TMapContents& map, uint32_t seed);

// Trees, bushes, rocks, reeds and cacti where the land calls for them;
// towns and roads are left bare.
void PlantNature(TMapContents& map, const TLandKinds& kinds, uint32_t seed);

constexpr bool IsWater(TLand land) { return land == TLand::DeepWater || land == TLand::ShallowWater; }

}  // namespace wf::worldgen
