#pragma once
// The sextant position of a cell, as the game's sextants read it, and the way
// back from a reading as players write it to a cell.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wf::places {

// "12°34'S 5°7'E" (the degree sign as code page byte 0xB0): latitude first,
// whole degrees and whole minutes; nothing where the map has no reading there.
std::optional<std::string> SextantText(int32_t mapNo, int32_t x, int32_t y);

// A reading as numbers: each angle in whole minutes of arc (degrees * 60 +
// minutes), south and east positive, north and west negative. "0°0'N" and
// "0°0'S" are the same reading, 0.
struct TSextantReading {
  int32_t Latitude = 0;
  int32_t Longitude = 0;
  bool operator==(const TSextantReading&) const = default;
};

// Reads a sextant reading as players write it: two angles, one with N or S
// and one with E or W, in either order, apart by blanks, a comma or nothing.
// An angle is degrees, a degree mark (byte 0xB0, the UTF-8 pair C2 B0, "o" or
// "O") or blanks, minutes, optionally a minute mark (' or the typographic
// apostrophes and primes), then its letter in either case; blanks may stand
// around every part. Degrees go up to 180 and minutes up to 59, the whole
// angle up to 180°0'. Nothing for anything else, including surrounding text.
//   "72°25'N 19°28'E", "72o25'N 19o28'E", "72 25 N 19 28 E", "72°25n,19°28e"
std::optional<TSextantReading> ParseSextant(std::string_view text);

// The length of the degree or minute mark (as ParseSextant takes them, but
// for "o") that `text` starts with; 0 when it starts with none.
size_t SextantMarkLength(std::string_view text);

struct TSextantCell {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TSextantCell&) const = default;
};

// The cell a reading stands for, the same on every map. Along each axis it is
// the cell nearest the start of the reading's minute: that is the cell whose
// reading it is whenever one has it (a cell spans more than a minute, so at
// most one does), and else the cell beside the skipped minute. It always lies
// in the main lands' square (X below 5120, Y below 4096), where every reading
// belongs to exactly one cell. So a reading that SextantText gave, read back,
// gives a cell that SextantText reads the same, and that cell itself except
// in the dungeons of maps 0 and 1, whose readings the main lands repeat.
// A smaller map may not reach the cell; the caller checks it against the map
// as it does typed coordinates.
TSextantCell SextantCell(const TSextantReading& reading);

}  // namespace wf::places
