#pragma once
// Code page 1252 (Windows Latin-1), the program's single-byte code page, and
// the UTF-8 decoding into it.

#include <cstdint>
#include <string>
#include <string_view>

namespace wf {

// The Unicode value of each byte; the five positions the code page leaves
// unassigned (129, 141, 143, 144, 157) map to the same numbers.
extern const uint16_t CodePage1252[256];

// UTF-8 text in code page 1252. Sequences of one to three bytes are decoded
// (continuation bytes are not checked); a lone continuation byte, a lead byte of
// four or more bytes, or a lead byte the text ends too early for becomes the
// replacement byte, skipping as many bytes as the lead byte announces (never
// past the end). A character the code page lacks becomes the replacement byte.
std::string DecodeUtf8(std::string_view Source, unsigned char Replacement);

}  // namespace wf
