#pragma once
// Reading the game's radar colour table.

#include <array>

#include "mapdata/Map.h"

namespace wf {

// Fills the table from the file with one read. Of the first RadarColorCount
// entries, a short file gives what reading its 16-bit values one at a time
// into the same variable would: entries past its end repeat the last value
// read (0 when the file is empty), and a final odd byte replaces only the low
// byte of the value before it. Entries from RadarColorCount on are the file's
// values where it holds them whole, and UnknownTileColor beyond.
void ReadRadarColors(const platform::SharedReadFile& file, TRadarTable& colors);

}  // namespace wf
