#include "Palette.h"

#include "Noise.h"
#include "mapdata/Map.h"

namespace wf::worldgen {

namespace {

struct TRgb {
  int R, G, B;  // 0 to 31 each
};

constexpr TRgb LandColors[] = {
    {2, 6, 17},    // deep water
    {5, 11, 22},   // shallow water
    {27, 25, 17},  // sand
    {10, 19, 6},   // grass
    {17, 13, 8},   // dirt
    {7, 14, 5},    // forest floor
    {5, 13, 4},    // jungle floor
    {9, 12, 7},    // swamp
    {26, 21, 12},  // desert
    {15, 13, 11},  // rock
    {29, 29, 30},  // snow
    {18, 18, 17},  // cobblestone
    {16, 17, 11},  // yard
};
static_assert(sizeof LandColors / sizeof LandColors[0] == static_cast<int>(TLand::Count));

constexpr TRgb ObjectColors[] = {
    {12, 8, 4},    // tree trunk
    {3, 11, 3},    // leaves
    {2, 12, 4},    // jungle leaves
    {22, 26, 24},  // snowy tree
    {11, 17, 7},   // cactus
    {13, 12, 11},  // boulder
    {13, 15, 8},   // reeds
    {6, 15, 5},    // bush
    {20, 14, 8},   // wood floor
    {20, 20, 19},  // stone floor
    {14, 14, 14},  // stone wall
    {16, 11, 6},   // wood wall
    {22, 7, 5},    // red roof
    {9, 10, 13},   // slate roof
    {24, 20, 10},  // thatch roof
    {19, 12, 9},   // furniture
    {12, 20, 28},  // fountain
    {26, 17, 9},   // market stall
};
static_assert(sizeof ObjectColors / sizeof ObjectColors[0] == static_cast<int>(TObject::Count));

int Clamp(int v) { return v < 0 ? 0 : v > 31 ? 31 : v; }

uint16_t Pack(TRgb c) {
  return static_cast<uint16_t>((Clamp(c.R) << 10) | (Clamp(c.G) << 5) | Clamp(c.B));
}

// The four variants of a kind: the same colour a shade lighter or darker.
uint16_t Variant(TRgb c, int variant) {
  const int shade = (variant == 1) - (variant == 2) + (variant == 3 ? 2 : 0) - 1;
  return Pack({c.R + shade, c.G + shade, c.B + shade});
}

}  // namespace

std::vector<uint16_t> DemoRadarValues() {
  std::vector<uint16_t> values(DemoRadarValueCount);
  // Entries the world does not use still get earthy (land) and grey (object)
  // colours, as a real table has a colour for every tile.
  for (int i = 0; i < DemoRadarValueCount; ++i) {
    const int shade = static_cast<int>(Hash(static_cast<uint32_t>(i), 0, 17) % 6);
    values[i] = i < StaticColorBase ? Pack({14 + shade, 12 + shade, 8 + shade})
                                    : Pack({12 + shade, 12 + shade, 12 + shade});
  }
  values[0] = 0;  // the void
  for (int k = 0; k < static_cast<int>(TLand::Count); ++k)
    for (int v = 0; v < TileVariants; ++v)
      values[LandTile(static_cast<TLand>(k), v)] = Variant(LandColors[k], v);
  for (int k = 0; k < static_cast<int>(TObject::Count); ++k)
    for (int v = 0; v < TileVariants; ++v)
      values[StaticColorBase + ObjectTile(static_cast<TObject>(k), v)] = Variant(ObjectColors[k], v);
  return values;
}

}  // namespace wf::worldgen
