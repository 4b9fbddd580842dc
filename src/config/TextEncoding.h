#pragma once
// Text files as users' editors save them: a byte-order mark may say the text
// is UTF-8 or UTF-16, and the program holds text in its single-byte code page.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wf {

enum class TextMark { None, Utf8, Utf16LE, Utf16BE };

TextMark MarkOf(std::string_view bytes);
size_t MarkLength(TextMark mark);

// The text after a UTF-8 or UTF-16 mark as UTF-8; nothing when the bytes are
// not the text the mark says.
std::optional<std::string> MarkedTextAsUtf8(std::string_view bytes, TextMark mark);
// Why such bytes are not read: "it is marked as UTF-16 text but holds bytes that are not".
std::string NotAsMarkedReason(TextMark mark);

// UTF-16 code units (without their mark) as UTF-8; nothing when they are not
// whole UTF-16 text (an odd byte count, a surrogate without its partner).
std::optional<std::string> Utf16ToUtf8(std::string_view units, bool bigEndian);

// The well-formed UTF-8 sequence at `text[at]`: its length (1 for ASCII),
// with its value in `code`; 0 when the bytes there are no such sequence.
size_t Utf8SequenceAt(std::string_view text, size_t at, uint32_t& code);
// Appends a Unicode value as UTF-8.
void AppendUtf8(std::string& out, uint32_t code);

// The code page's byte for a Unicode value; nothing when it has none.
std::optional<unsigned char> CodePageByte(uint32_t code);

// UTF-8 text in the code page; nothing when the bytes are not UTF-8 or one of
// its characters is not in the code page.
std::optional<std::string> Utf8ToCodePage(std::string_view utf8);

// Code page text as UTF-8, each byte read as Windows reads it (an unassigned
// byte as the control character of its number): the program's own texts
// beside a friend's name, which the code page cannot always hold.
std::string CodePageToUtf8(std::string_view text);

}  // namespace wf
