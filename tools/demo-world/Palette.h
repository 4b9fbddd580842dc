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
// Roofs and what stands in towns are newer objects: their tiles lie far
// above those the older colour tables reach, as in today's game files.
constexpr bool IsNewerObject(TObject object) { return object >= TObject::RedRoof; }
constexpr uint16_t ObjectTile(TObject object, uint32_t variant) {
  const int k = static_cast<int>(object);
  return IsNewerObject(object)
             ? static_cast<uint16_t>(40000 + (k - static_cast<int>(TObject::RedRoof)) * 8 + variant % TileVariants)
             : static_cast<uint16_t>(0x0C00 + k * 8 + variant % TileVariants);
}
constexpr bool IsWaterTile(uint16_t tile) {
  return tile >= LandTile(TLand::DeepWater, 0) && tile < LandTile(TLand::Sand, 0);
}

// The 16-bit values of the radar colour file, as many as today's files hold.
constexpr int DemoRadarValueCount = 81884;
std::vector<uint16_t> DemoRadarValues();

}  // namespace wf::worldgen
