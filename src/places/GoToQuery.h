#pragma once
// What the user typed into the atlas's "Go to" box: part of a place's name, a
// cell's coordinates or a sextant reading.

#include <cstdint>
#include <string>
#include <string_view>

namespace wf::places {

struct TGoToQuery {
  enum class TKind { Name, Cell, Refused };
  TKind Kind = TKind::Refused;
  // Name: the text to look for among the places' names with FindMatches (as
  // the Map window's find list does), without the blanks around it.
  std::string Name;
  // Cell: from "X Y" or "X, Y" (each 0 to 65535), or from a sextant reading
  // through SextantCell. Whether the cell lies on the map is the caller's to
  // check.
  int32_t X = 0;
  int32_t Y = 0;
  bool FromSextant = false;
  // Refused: one line in the code page saying what was expected.
  std::string Message;
};

// Text is a coordinate when it is made only of what coordinates are written
// with: digits, blanks, ",", ".", "+", "-", degree and minute marks, "o" or "O"
// after a digit, and N, S, E, W standing alone. Such text that is neither a
// sextant reading (ParseSextant) nor "X Y" within range is refused: "1200",
// "1200 99999", "12.5 30", "72 25 N 19 28". Text with any other letter or
// sign is a name ("12 x", "Ort12", "One 2"); blank text is refused.
TGoToQuery ReadGoTo(std::string_view typed);

}  // namespace wf::places
