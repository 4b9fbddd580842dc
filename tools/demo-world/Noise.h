#pragma once
// Deterministic randomness for the demo world: the same numbers on every run
// and every platform (integer hashing, and only the float operations whose
// results IEEE arithmetic fixes exactly).

#include <cstdint>

namespace wf::worldgen {

constexpr uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u ^ x * 0x85EBCA6Bu ^ y * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

// 0 to 1 (exclusive) from a hash.
constexpr float Unit(uint32_t h) { return static_cast<float>(h >> 8) * (1.0f / 16777216.0f); }

// A sequence of random numbers (splitmix64).
class TRandom {
 public:
  explicit TRandom(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // lo to hi, both included.
  int32_t Between(int32_t lo, int32_t hi) {
    return lo + static_cast<int32_t>(Next() % static_cast<uint64_t>(hi - lo + 1));
  }
  bool Chance(int percent) { return Between(0, 99) < percent; }

 private:
  uint64_t state_;
};

// Smooth value noise: random values on a lattice, blended with smoothstep.
inline float ValueNoise(float x, float y, uint32_t seed) {
  const auto ix = static_cast<int32_t>(x), iy = static_cast<int32_t>(y);
  const float fx = x - static_cast<float>(ix), fy = y - static_cast<float>(iy);
  const float sx = fx * fx * (3.0f - 2.0f * fx), sy = fy * fy * (3.0f - 2.0f * fy);
  const auto ux = static_cast<uint32_t>(ix), uy = static_cast<uint32_t>(iy);
  const float a = Unit(Hash(ux, uy, seed)), b = Unit(Hash(ux + 1, uy, seed));
  const float c = Unit(Hash(ux, uy + 1, seed)), d = Unit(Hash(ux + 1, uy + 1, seed));
  const float top = a + (b - a) * sx, bottom = c + (d - c) * sx;
  return top + (bottom - top) * sy;
}

// Fractal noise, about 0 to 1: octaves of halving wavelength and weight.
inline float FractalNoise(float x, float y, float wavelength, int octaves, uint32_t seed) {
  float sum = 0.0f, weight = 1.0f, total = 0.0f, scale = 1.0f / wavelength;
  for (int o = 0; o < octaves; ++o) {
    sum += ValueNoise(x * scale, y * scale, seed + 7919u * static_cast<uint32_t>(o)) * weight;
    total += weight;
    weight *= 0.5f;
    scale *= 2.0f;
  }
  return sum / total;
}

}  // namespace wf::worldgen
