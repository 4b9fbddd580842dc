#include "mapdata/PackedHash.h"

namespace wf {

namespace {

constexpr uint32_t Rot(uint32_t x, int k) { return (x << k) | (x >> (32 - k)); }

void Mix(uint32_t& a, uint32_t& b, uint32_t& c) {
  a -= c; a ^= Rot(c, 4);  c += b;
  b -= a; b ^= Rot(a, 6);  a += c;
  c -= b; c ^= Rot(b, 8);  b += a;
  a -= c; a ^= Rot(c, 16); c += b;
  b -= a; b ^= Rot(a, 19); a += c;
  c -= b; c ^= Rot(b, 4);  b += a;
}

void Final(uint32_t& a, uint32_t& b, uint32_t& c) {
  c ^= b; c -= Rot(b, 14);
  a ^= c; a -= Rot(c, 11);
  b ^= a; b -= Rot(a, 25);
  c ^= b; c -= Rot(b, 16);
  a ^= c; a -= Rot(c, 4);
  b ^= a; b -= Rot(a, 14);
  c ^= b; c -= Rot(b, 24);
}

// Up to four bytes from `p` as a little-endian word; missing bytes are 0.
uint32_t Word(const unsigned char* p, size_t count) {
  uint32_t w = 0;
  for (size_t i = 0; i < count && i < 4; ++i) w |= static_cast<uint32_t>(p[i]) << (8 * i);
  return w;
}

}  // namespace

uint64_t PackedNameHash(std::string_view name) {
  const auto* k = reinterpret_cast<const unsigned char*>(name.data());
  size_t length = name.size();
  uint32_t a = 0xDEADBEEF + static_cast<uint32_t>(length);
  uint32_t b = a, c = a;
  while (length > 12) {
    a += Word(k, 4);
    b += Word(k + 4, 4);
    c += Word(k + 8, 4);
    Mix(a, b, c);
    length -= 12;
    k += 12;
  }
  // An empty tail (a name of no bytes or a multiple of 12) skips the final mix.
  if (length > 0) {
    a += Word(k, length);
    if (length > 4) b += Word(k + 4, length - 4);
    if (length > 8) c += Word(k + 8, length - 8);
    Final(a, b, c);
  }
  return (uint64_t{b} << 32) | c;
}

}  // namespace wf
