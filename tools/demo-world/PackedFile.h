#pragma once
// Packed map cell files as the game ships them, written from the blocks of a
// plain one. The demo world's map 0 is one; the tests make them with chosen
// quirks.

#include <cstdint>
#include <string>
#include <vector>

namespace wf::worldgen {

struct TPackedLayout {
  uint32_t RowsPerTable = 64;  // rows of one table block; the rest stay unused
  bool Shuffled = false;       // entries stored out of their numbers' order
  int32_t EntryHeaderBytes = 0;
  bool SpareBlock = false;     // one block more after the last entry's
  // Other entries mixed in among the map's, each holding a few bytes.
  std::vector<std::string> OtherEntries = {};
  int32_t LeftOutEntry = -1;    // a map entry missing from the table
  int32_t CompressedEntry = -1; // a map entry marked compressed
};

// Where the parts of a packed file were put.
constexpr uint64_t PackedHeaderSize = 0x28;
constexpr uint64_t FirstTableOffset = PackedHeaderSize;  // table blocks follow one another

// The packed file of map `mapNumber` holding the plain file's `cells`.
std::vector<unsigned char> PackedMapFile(int32_t mapNumber, const std::vector<unsigned char>& cells,
                                         const TPackedLayout& layout = {});

}  // namespace wf::worldgen
