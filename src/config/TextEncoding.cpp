#include "config/TextEncoding.h"

#include <cstdint>

#include "xml/CodePage1252.h"

namespace wf {

TextMark MarkOf(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return TextMark::Utf8;
  if (bytes.starts_with("\xFF\xFE")) return TextMark::Utf16LE;
  if (bytes.starts_with("\xFE\xFF")) return TextMark::Utf16BE;
  return TextMark::None;
}

size_t MarkLength(TextMark mark) {
  switch (mark) {
    case TextMark::Utf8: return 3;
    case TextMark::Utf16LE:
    case TextMark::Utf16BE: return 2;
    case TextMark::None: break;
  }
  return 0;
}

std::optional<unsigned char> CodePageByte(uint32_t code) {
  // As the scanner decodes UTF-8: the five unassigned positions stand for the
  // control characters of their own numbers.
  for (int b = 0; b < 256; ++b)
    if (CodePage1252[b] == code) return static_cast<unsigned char>(b);
  return std::nullopt;
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

size_t Utf8SequenceAt(std::string_view text, size_t at, uint32_t& code) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  size_t length;
  uint32_t smallest;
  if (lead < 0x80) {
    code = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, smallest = 0x80, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, smallest = 0x800, code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, smallest = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

std::optional<std::string> Utf16ToUtf8(std::string_view units, bool bigEndian) {
  if (units.size() % 2 != 0) return std::nullopt;
  auto unit = [&](size_t i) {
    const auto a = static_cast<unsigned char>(units[i]), b = static_cast<unsigned char>(units[i + 1]);
    return static_cast<uint32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  };
  std::string out;
  out.reserve(units.size() / 2);
  for (size_t i = 0; i < units.size(); i += 2) {
    uint32_t code = unit(i);
    if (code >= 0xDC00 && code <= 0xDFFF) return std::nullopt;
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (i + 2 >= units.size()) return std::nullopt;
      const uint32_t low = unit(i + 2);
      if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    AppendUtf8(out, code);
  }
  return out;
}

std::optional<std::string> MarkedTextAsUtf8(std::string_view bytes, TextMark mark) {
  const std::string_view text = bytes.substr(MarkLength(mark));
  switch (mark) {
    case TextMark::Utf16LE:
    case TextMark::Utf16BE: return Utf16ToUtf8(text, mark == TextMark::Utf16BE);
    case TextMark::Utf8:
      for (size_t i = 0; i < text.size();) {
        uint32_t code = 0;
        const size_t length = Utf8SequenceAt(text, i, code);
        if (length == 0) return std::nullopt;
        i += length;
      }
      return std::string(text);
    case TextMark::None: break;
  }
  return std::string(text);
}

std::string NotAsMarkedReason(TextMark mark) {
  return std::string("it is marked as ") + (mark == TextMark::Utf8 ? "UTF-8" : "UTF-16") +
         " text but holds bytes that are not";
}

std::optional<std::string> Utf8ToCodePage(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    uint32_t code = 0;
    const size_t length = Utf8SequenceAt(utf8, i, code);
    if (length == 0) return std::nullopt;
    const std::optional<unsigned char> byte = CodePageByte(code);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
    i += length;
  }
  return out;
}

}  // namespace wf

namespace wf {

std::string CodePageToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) AppendUtf8(out, CodePage1252[static_cast<unsigned char>(c)]);
  return out;
}

}  // namespace wf
