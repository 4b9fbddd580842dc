#pragma once
// Text cut into lines without copying it: each line is a view of the text,
// and no list of them is made, so a file of millions of empty lines costs no
// more than its bytes.

#include <string_view>

namespace wf::places {

// Calls `line(text, number)` for each line of `text` cut at CR, LF or CR LF,
// numbered from 1; a last line without its end is a line too.
template <typename Line>
void ForEachLine(std::string_view text, Line&& line) {
  int number = 0;
  size_t start = 0;
  for (size_t end = text.find_first_of("\r\n"); end != std::string_view::npos;
       end = text.find_first_of("\r\n", start)) {
    line(text.substr(start, end - start), ++number);
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  if (start < text.size()) line(text.substr(start), ++number);
}

}  // namespace wf::places
