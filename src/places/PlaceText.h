#pragma once
// Text between the program's code page 1252 and UTF-8, and the code page's
// letters without case.

#include <string>
#include <string_view>

namespace wf::places {

// UTF-8 text in code page 1252. Well-formed sequences become their character,
// or "?" where the code page lacks it; every byte that is not part of a
// well-formed sequence is taken as a code page byte, as it stands, so text
// written in the code page reads unchanged.
std::string Utf8To1252(std::string_view text);

// Code page text as UTF-8.
std::string Cp1252ToUtf8(std::string_view text);

// The byte with its case folded to small letters: A-Z, the accented capitals
// 0xC0-0xDE but 0xD7, and the capitals among 128-159 (S, OE and Z with caron, Y
// with diaeresis).
unsigned char FoldCase1252(unsigned char byte);

}  // namespace wf::places
