#include "places/PlaceText.h"

#include <cstdint>

#include "config/TextEncoding.h"
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

}  // namespace

std::string Utf8To1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    uint32_t value = 0;
    if (size_t length = Utf8SequenceAt(text, i, value)) {
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
  for (char c : text) AppendUtf8(out, CodePage1252[static_cast<unsigned char>(c)]);
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
