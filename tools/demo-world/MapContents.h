#pragma once
// One map's cells and statics in memory, in the layout of the game's files,
// ready to be written out. The demo world is built in one; the tests build
// small ones with chosen contents.

#include <cstdint>
#include <string>
#include <vector>

#include "mapdata/MapFormat.h"

namespace wf::worldgen {

class TMapContents {
 public:
  // A map of the given size in blocks, every cell tile 0 at altitude 0. A
  // test may give fewer block columns than the real map has: the files then
  // hold the first columns only, as a file cut short would.
  TMapContents(int32_t blocksWide, int32_t blocksHigh);

  int32_t BlocksWide() const { return blocksWide_; }
  int32_t BlocksHigh() const { return blocksHigh_; }
  int32_t CellsWide() const { return blocksWide_ * 8; }
  int32_t CellsHigh() const { return blocksHigh_ * 8; }
  bool Contains(int32_t x, int32_t y) const {
    return x >= 0 && y >= 0 && x < CellsWide() && y < CellsHigh();
  }

  TMapCell Cell(int32_t x, int32_t y) const;
  void SetCell(int32_t x, int32_t y, TMapCell cell);
  void SetTile(int32_t x, int32_t y, uint16_t tile);
  void SetAltitude(int32_t x, int32_t y, int8_t altitude);

  // Appends a static on the cell to its block's records.
  void AddStatic(int32_t x, int32_t y, uint16_t tile, int8_t altitude, uint16_t unused = 0);
  // A record given whole, its X and Y within the block unchecked (tests put
  // records on no cell of the block this way).
  void AddStaticRecord(int64_t block, const TStaticItem& item);
  const std::vector<TStaticItem>& StaticsOf(int64_t block) const { return statics_[block]; }
  size_t StaticCount() const;

  // The three files' contents. Blocks without statics get the index entry
  // offset -1, length 0xFFFFFFFF.
  const std::vector<unsigned char>& MapFile() const { return cells_; }
  void BuildStatics(std::vector<unsigned char>& index, std::vector<unsigned char>& statics) const;

 private:
  unsigned char* CellBytes(int32_t x, int32_t y);
  const unsigned char* CellBytes(int32_t x, int32_t y) const;

  int32_t blocksWide_;
  int32_t blocksHigh_;
  std::vector<unsigned char> cells_;
  std::vector<std::vector<TStaticItem>> statics_;
};

// The radar colour file holding these 16-bit values.
std::vector<unsigned char> RadarColorFile(const std::vector<uint16_t>& values);

// Writes bytes to a file, replacing it; raises EFCreateError when it cannot
// be created and EInOutError when it cannot be written.
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// Writes a map's three files.
void WriteMapFiles(const TMapContents& map, const std::string& mapPath,
                   const std::string& staIdxPath, const std::string& staticsPath);

}  // namespace wf::worldgen
