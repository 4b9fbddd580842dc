#pragma once
// Towns of the demo world: streets in a grid round a great hall, houses of
// one to three storeys under their roofs, and dirt roads between the towns.

#include <cstdint>
#include <string>
#include <vector>

#include "MapContents.h"
#include "Terrain.h"

namespace wf::worldgen {

struct TTown {
  std::string Name;
  int32_t CenterX = 0;  // the middle cell of the hall's middle block
  int32_t CenterY = 0;
  int8_t Altitude = 0;  // of the town's ground
  int32_t HalfWidth = 0;  // the town covers CenterX - HalfWidth to CenterX + HalfWidth - 1
  int32_t HalfHeight = 0;
  int32_t Storeys = 3;  // of the hall
  // Filled once built: statics in the hall's middle block.
  size_t CenterBlockStatics = 0;
};

// Chooses flat dry sites, far apart, for up to as many towns as there are
// names; the first, the largest, comes first. Sites are found on the terrain
// as generated.
std::vector<TTown> PlanTowns(const TMapContents& map, const TLandKinds& kinds,
                             const std::vector<std::string>& names, uint32_t seed);

// Levels the town's ground and lays its streets; marks them so that nature
// leaves them bare.
void LayTownGround(TMapContents& map, TLandKinds& kinds, const TTown& town);

// A dirt road between two towns, across land only.
void LayRoad(TMapContents& map, TLandKinds& kinds, const TTown& from, const TTown& to);

// The hall, the houses, market stalls and gardens.
void BuildTown(TMapContents& map, TTown& town, uint32_t seed);

}  // namespace wf::worldgen
