#pragma once
// Reading the game's radar colour table.

#include <array>

#include "mapdata/Map.h"

namespace wf {

// Fills the table from the file with one read. A short file gives what reading
// its 16-bit values one at a time into the same variable would: entries past
// its end repeat the last value read (0 when the file is empty), and a final
// odd byte replaces only the low byte of the value before it.
void ReadRadarColors(const platform::SharedReadFile& file,
                     std::array<TColor32, RadarColorCount>& colors);

}  // namespace wf
