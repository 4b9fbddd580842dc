#include "places/PlaceText.h"

#include <cstdint>

#include "xml/CodePage1252.h"

namespace wf::places {

namespace {

// The code page byte of a Unicode value; '?' when it has none.
char ByteOf(uint32_t value) {
  if (value < 0x80 || (value >= 0xA0 && value <= 0xFF)) return static_cast<char>(value);
  for (int b = 0x80; b < 0xA0; ++b)
    if (CodePage1252[b] == value) return static_cast<char>(b);
  return '?';
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length and value of a well-formed sequence at `text[at]`; 0 when there is none.
size_t Sequence(std::string_view text, size_t at, uint32_t& value) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  size_t length;
  uint32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80, value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800, value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000, value = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if (!IsContinuation(byte(i))) return 0;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string Utf8To1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      out += text[i++];
      continue;
    }
    uint32_t value = 0;
    if (size_t length = Sequence(text, i, value)) {
      out += ByteOf(value);
      i += length;
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const uint32_t value = CodePage1252[static_cast<unsigned char>(c)];
    if (value < 0x80) {
      out += static_cast<char>(value);
    } else if (value < 0x800) {
      out += static_cast<char>(0xC0 | (value >> 6));
      out += static_cast<char>(0x80 | (value & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (value >> 12));
      out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (value & 0x3F));
    }
  }
  return out;
}

unsigned char FoldCase1252(unsigned char b) {
  if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) return b + 0x20;
  switch (b) {
    case 0x8A: return 0x9A;  // S caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z caron
    case 0x9F: return 0xFF;  // Y diaeresis
    default: return b;
  }
}

}  // namespace wf::places
