#pragma once
// Reading one 8 x 8 block for a picture: its cells, and the highest static on
// each of its cells found in one pass over its records. The detail picture
// and the cell colours of whole blocks share these, so they cannot drift apart.

#include <array>
#include <cstdint>

#include "mapdata/FileView.h"
#include "mapdata/MapCells.h"
#include "mapdata/MapFormat.h"

namespace wf {

// The highest static on each cell of one block: of records at the same
// altitude the first in the file stays, and nothing at -128 is ever chosen.
struct TTopStatics {
  std::array<int8_t, CellsPerBlock> Altitude;
  std::array<uint16_t, CellsPerBlock> Tile;
  std::array<bool, CellsPerBlock> Chosen;
};

// Reads the block's statics once. Entries that cannot be real (a negative
// offset, records reaching past the end of the file, implausibly many) count
// as no statics; false then.
bool ReadTopStatics(const TStaIdxEntry& entry, TFileView& statics, TTopStatics& top);

// The block's 196 bytes; zeros where the data does not hold it.
void ReadBlock(const TMapCells& source, TFileView& view, uint64_t block, unsigned char* out);

// Whether cell `cell` of the block shows its highest static rather than its
// land: only a static above the land does.
inline bool ShowsStatic(bool hasStatics, const TTopStatics& top, int cell, const TMapCell& land) {
  return hasStatics && top.Chosen[cell] && top.Altitude[cell] > land.Altitude;
}

}  // namespace wf
