#include "friends/Sha1.h"

namespace wf::friends {

namespace {

uint32_t Rotl(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

void Block(std::array<uint32_t, 5>& h, const uint8_t* block) {
  uint32_t w[80];
  for (int i = 0; i < 16; ++i)
    w[i] = (uint32_t{block[4 * i]} << 24) | (uint32_t{block[4 * i + 1]} << 16) | (uint32_t{block[4 * i + 2]} << 8) |
           uint32_t{block[4 * i + 3]};
  for (int i = 16; i < 80; ++i) w[i] = Rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
  uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
  for (int i = 0; i < 80; ++i) {
    uint32_t f, k;
    if (i < 20) { f = (b & c) | (~b & d); k = 0x5A827999; }
    else if (i < 40) { f = b ^ c ^ d; k = 0x6ED9EBA1; }
    else if (i < 60) { f = (b & c) | (b & d) | (c & d); k = 0x8F1BBCDC; }
    else { f = b ^ c ^ d; k = 0xCA62C1D6; }
    const uint32_t t = Rotl(a, 5) + f + e + k + w[i];
    e = d; d = c; c = Rotl(b, 30); b = a; a = t;
  }
  h[0] += a; h[1] += b; h[2] += c; h[3] += d; h[4] += e;
}

}  // namespace

std::array<uint8_t, 20> Sha1(std::string_view bytes) {
  std::array<uint32_t, 5> h{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  std::string padded(bytes);
  const uint64_t bits = uint64_t{bytes.size()} * 8;
  padded.push_back(static_cast<char>(0x80));
  while (padded.size() % 64 != 56) padded.push_back(0);
  for (int i = 7; i >= 0; --i) padded.push_back(static_cast<char>(bits >> (8 * i)));
  for (std::size_t at = 0; at < padded.size(); at += 64)
    Block(h, reinterpret_cast<const uint8_t*>(padded.data() + at));
  std::array<uint8_t, 20> digest{};
  for (int i = 0; i < 20; ++i) digest[i] = static_cast<uint8_t>(h[i / 4] >> (24 - 8 * (i % 4)));
  return digest;
}

std::string Base64(std::string_view bytes) {
  static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t at = 0; at < bytes.size(); at += 3) {
    uint32_t group = uint32_t{static_cast<uint8_t>(bytes[at])} << 16;
    if (at + 1 < bytes.size()) group |= uint32_t{static_cast<uint8_t>(bytes[at + 1])} << 8;
    if (at + 2 < bytes.size()) group |= static_cast<uint8_t>(bytes[at + 2]);
    out += alphabet[(group >> 18) & 63];
    out += alphabet[(group >> 12) & 63];
    out += at + 1 < bytes.size() ? alphabet[(group >> 6) & 63] : '=';
    out += at + 2 < bytes.size() ? alphabet[group & 63] : '=';
  }
  return out;
}

}  // namespace wf::friends
