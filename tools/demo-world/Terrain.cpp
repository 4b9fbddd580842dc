#include "Terrain.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"

namespace wf::worldgen {

namespace {

// Fractal noise keeps close to its middle; spread it out so that every kind of
// land gets its share.
float Spread(float v, float by) { return 0.5f + (v - 0.5f) * by; }

constexpr float SeaLevel = 0.5f;
constexpr int8_t WaterAltitude = -5;
// The large-scale fields are computed every few cells and blended between.
constexpr int FieldStep = 4;

// A field sampled every FieldStep cells, read back with bilinear blending.
class TCoarseField {
 public:
  template <typename F>
  TCoarseField(int32_t width, int32_t height, F value)
      : wide_(width / FieldStep + 2), values_(static_cast<size_t>(wide_) * static_cast<size_t>(height / FieldStep + 2)) {
    for (int32_t gy = 0; gy < height / FieldStep + 2; ++gy)
      for (int32_t gx = 0; gx < wide_; ++gx)
        values_[static_cast<size_t>(gy) * wide_ + gx] =
            value(static_cast<float>(gx * FieldStep), static_cast<float>(gy * FieldStep));
  }
  float At(int32_t x, int32_t y) const {
    const int32_t gx = x / FieldStep, gy = y / FieldStep;
    const float fx = static_cast<float>(x % FieldStep) / FieldStep, fy = static_cast<float>(y % FieldStep) / FieldStep;
    const float* row = &values_[static_cast<size_t>(gy) * wide_ + gx];
    const float top = row[0] + (row[1] - row[0]) * fx;
    const float bottom = row[wide_] + (row[wide_ + 1] - row[wide_]) * fx;
    return top + (bottom - top) * fy;
  }

 private:
  int32_t wide_;
  std::vector<float> values_;
};

}  // namespace

TLandKinds GenerateTerrain(TMapContents& map, uint32_t seed) {
  const int32_t width = map.CellsWide(), height = map.CellsHigh();
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const float continents = std::max(w, h) / 3.5f;

  // Elevation, with the sea closing in towards the map's edges.
  TCoarseField elevation(width, height, [&](float x, float y) {
    float e = Spread(FractalNoise(x, y, continents, 8, seed), 2.2f) + 0.12f;
    const float nx = std::abs(2.0f * x / w - 1.0f), ny = std::abs(2.0f * y / h - 1.0f);
    const float edge = std::max(nx, ny);
    if (edge > 0.7f) e -= (edge - 0.7f) * 3.0f;
    return e;
  });
  // Mountain ranges rise where this is high, on land away from the coast.
  TCoarseField rugged(width, height,
                      [&](float x, float y) { return Spread(FractalNoise(x, y, continents / 2.5f, 6, seed + 55), 2.0f); });
  TCoarseField moisture(width, height,
                        [&](float x, float y) { return Spread(FractalNoise(x, y, continents / 1.5f, 5, seed + 101), 2.0f); });
  // Cold in the north, hot in the south, with some wandering.
  TCoarseField warmth(width, height, [&](float x, float y) {
    return 0.9f * (y / h) + 0.5f * Spread(FractalNoise(x, y, continents / 2.0f, 3, seed + 202), 1.8f) - 0.2f;
  });

  TLandKinds kinds(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t cellHash = Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed + 303);
      // A little roughness per cell keeps coasts and borders from looking drawn.
      const float e = elevation.At(x, y) + (Unit(cellHash) - 0.5f) * 0.01f;
      const float wet = moisture.At(x, y) + (Unit(cellHash * 7u) - 0.5f) * 0.03f;
      const float warm = warmth.At(x, y) + (Unit(cellHash * 13u) - 0.5f) * 0.02f;
      const float inland = e - SeaLevel;
      // Mountains only some way from the sea, rising from their foothills.
      const float mountain = std::min(rugged.At(x, y) - 0.62f, inland * 2.0f - 0.05f);
      TLand land;
      int altitude;
      if (inland < 0.0f) {
        land = inland < -0.04f ? TLand::DeepWater : TLand::ShallowWater;
        altitude = WaterAltitude;
      } else {
        altitude = std::min(static_cast<int>(inland * 60.0f), 20);
        if (mountain > 0.0f) altitude += static_cast<int>(mountain * 400.0f);
        altitude = std::min(altitude, 120);
        if (inland < 0.02f)
          land = TLand::Sand;
        else if (mountain > 0.04f)
          land = (mountain > 0.2f || warm < 0.15f) ? TLand::Snow : TLand::Rock;
        else if (warm < 0.08f)
          land = TLand::Snow;
        else if (wet < 0.36f && warm > 0.55f)
          land = TLand::Desert;
        else if (wet > 0.68f && inland < 0.08f)
          land = TLand::Swamp;
        else if (wet > 0.52f)
          land = warm > 0.66f ? TLand::JungleFloor : TLand::ForestFloor;
        else if (wet < 0.42f && (cellHash >> 28) == 0)
          land = TLand::Dirt;
        else
          land = TLand::Grass;
      }
      kinds.Set(x, y, land);
      map.SetCell(x, y, {LandTile(land, cellHash >> 4), static_cast<int8_t>(altitude)});
    }
  }
  return kinds;
}

void PlantNature(TMapContents& map, const TLandKinds& kinds, uint32_t seed) {
  auto above = [](int z, int by) { return static_cast<int8_t>(std::min(z + by, 127)); };
  for (int32_t y = 0; y < map.CellsHigh(); ++y) {
    for (int32_t x = 0; x < map.CellsWide(); ++x) {
      const uint32_t h = Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed + 404);
      const float chance = Unit(h);
      const uint32_t variant = h & 3;
      const int z = map.Cell(x, y).Altitude;
      switch (kinds.At(x, y)) {
        case TLand::ForestFloor:
          if (chance < 0.30f) {
            map.AddStatic(x, y, ObjectTile(TObject::TreeTrunk, variant), above(z, 0));
            map.AddStatic(x, y, ObjectTile(TObject::Leaves, variant), above(z, 4));
          } else if (chance < 0.34f) {
            map.AddStatic(x, y, ObjectTile(TObject::Bush, variant), above(z, 1));
          }
          break;
        case TLand::JungleFloor:
          if (chance < 0.45f) {
            map.AddStatic(x, y, ObjectTile(TObject::TreeTrunk, variant), above(z, 0));
            map.AddStatic(x, y, ObjectTile(TObject::JungleLeaves, variant), above(z, 5));
          }
          break;
        case TLand::Grass:
          if (chance < 0.015f)
            map.AddStatic(x, y, ObjectTile(TObject::Bush, variant), above(z, 1));
          else if (chance < 0.02f) {
            map.AddStatic(x, y, ObjectTile(TObject::TreeTrunk, variant), above(z, 0));
            map.AddStatic(x, y, ObjectTile(TObject::Leaves, variant), above(z, 4));
          }
          break;
        case TLand::Snow:
          if (chance < 0.04f) map.AddStatic(x, y, ObjectTile(TObject::SnowyTree, variant), above(z, 3));
          break;
        case TLand::Desert:
          if (chance < 0.01f) map.AddStatic(x, y, ObjectTile(TObject::Cactus, variant), above(z, 2));
          break;
        case TLand::Rock:
          if (chance < 0.03f) map.AddStatic(x, y, ObjectTile(TObject::Boulder, variant), above(z, 1));
          break;
        case TLand::Swamp:
          if (chance < 0.20f) map.AddStatic(x, y, ObjectTile(TObject::Reeds, variant), above(z, 1));
          break;
        default:
          break;
      }
    }
  }
}

}  // namespace wf::worldgen
