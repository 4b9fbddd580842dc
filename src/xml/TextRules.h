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

// Whitespace (tab, line feed, carriage return, space) removed from both ends.
std::string TrimWhitespace(std::string_view S);
// Every whitespace character becomes a space; when collapsing, each run becomes
// one space.
std::string FoldWhitespace(std::string_view S, bool collapsing);
// Every whitespace character removed.
std::string RemoveWhitespace(std::string_view S);
// ASCII letters upper-cased; other bytes kept.
std::string UpperCaseAscii(std::string_view S);

// The number of a character reference: plain decimal digits in the signed
// 32-bit range, or (hex) plain hexadecimal digits whose value fits in 32 bits.
std::optional<uint32_t> ReadDecimalReference(std::string_view digits);
std::optional<uint32_t> ReadHexReference(std::string_view digits);

}  // namespace wf
