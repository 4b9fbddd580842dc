#pragma once
// The text rules of attribute values and character data that need no parser.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wf {

// Character references "&#...;" replaced by the low eight bits of their number:
// decimal digits, or "x"/"X" and hexadecimal digits. An unreadable decimal number
// gives a space, an unreadable hexadecimal one a byte 0. A reference without a
// later ";" stays as written, and so does all text after it.
std::string ExpandCharRefs(std::string_view S);

// The number of a character reference: plain decimal digits in the signed
// 32-bit range, or (hex) plain hexadecimal digits whose value fits in 32 bits.
std::optional<uint32_t> ReadDecimalReference(std::string_view digits);
std::optional<uint32_t> ReadHexReference(std::string_view digits);

// Walks `S` as ExpandCharRefs reads it: `text` gets each run of text between
// references, `reference` each reference's whole number (an unreadable
// decimal one as 32, an unreadable hexadecimal one as 0).
template <typename Text, typename Reference>
void WalkCharRefs(std::string_view S, Text&& text, Reference&& reference) {
  size_t pos = 0;
  for (;;) {
    const size_t amp = S.find("&#", pos);
    if (amp == std::string_view::npos) break;
    const size_t semi = S.find(';', amp + 2);
    if (semi == std::string_view::npos) break;
    const std::string_view d = S.substr(amp + 2, semi - amp - 2);
    text(S.substr(pos, amp - pos));
    if (!d.empty() && (d[0] == 'x' || d[0] == 'X'))
      reference(ReadHexReference(d.substr(1)).value_or(0));
    else
      reference(ReadDecimalReference(d).value_or(32));
    pos = semi + 1;
  }
  text(S.substr(pos));
}

// Whitespace (tab, line feed, carriage return, space) removed from both ends.
std::string TrimWhitespace(std::string_view S);
// Every whitespace character becomes a space; when collapsing, each run becomes
// one space.
std::string FoldWhitespace(std::string_view S, bool collapsing);
// Every whitespace character removed.
std::string RemoveWhitespace(std::string_view S);
// ASCII letters upper-cased; other bytes kept.
std::string UpperCaseAscii(std::string_view S);

}  // namespace wf
