#pragma once
// The demo world's land and object tiles and the radar colours that make its
// overview look like a map.

#include <cstdint>
#include <vector>

namespace wf::worldgen {

// What covers a cell of land; each kind has four tiles of slightly different colour.
enum class TLand : uint8_t {
  DeepWater,
  ShallowWater,
  Sand,
  Grass,
  Dirt,
  ForestFloor,
  JungleFloor,
  Swamp,
  Desert,
  Rock,
  Snow,
  Cobblestone,
  Yard,
  Count
};

// Objects placed on the land.
enum class TObject : uint8_t {
  TreeTrunk,
  Leaves,
  JungleLeaves,
  SnowyTree,
  Cactus,
  Boulder,
  Reeds,
  Bush,
  WoodFloor,
  StoneFloor,
  StoneWall,
  WoodWall,
  RedRoof,
  SlateRoof,
  ThatchRoof,
  Furniture,
  Fountain,
  MarketStall,
  Count
};

constexpr int TileVariants = 4;

constexpr uint16_t LandTile(TLand land, uint32_t variant) {
  return static_cast<uint16_t>(0x100 + static_cast<int>(land) * 16 + variant % TileVariants);
}
constexpr uint16_t ObjectTile(TObject object, uint32_t variant) {
  return static_cast<uint16_t>(0x0C00 + static_cast<int>(object) * 8 + variant % TileVariants);
}
constexpr bool IsWaterTile(uint16_t tile) {
  return tile >= LandTile(TLand::DeepWater, 0) && tile < LandTile(TLand::Sand, 0);
}

// The 31130 16-bit values of the radar colour file.
std::vector<uint16_t> DemoRadarValues();

}  // namespace wf::worldgen
