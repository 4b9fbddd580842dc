#pragma once
// The layout of the game's map data files: map cells in blocks of 8 by 8, the
// statics index (one entry per block) and the statics. All values are
// little-endian; none of the files has a header.

#include <cstdint>

namespace wf {

// Map cell file: one TMapBlock per block, numbered column by column.
constexpr int MapBlockBytes = 196;
constexpr int MapBlockHeaderBytes = 4;  // not used
constexpr int MapCellBytes = 3;
constexpr int CellsPerBlock = 64;
// Statics index file: one TStaIdxEntry per block.
constexpr int StaIdxEntryBytes = 12;
// Statics file: the TStaticItem records of a block lie together.
constexpr int StaticItemBytes = 7;
// The radar colour file's entries that every file has been read for, 16 bits
// each: land tiles 0 to 31129 (the land first), then statics 0 to 14745.
// Entries beyond are read where a file holds them.
constexpr int RadarColorCount = 31130;
constexpr int RadarColorBytes = 2 * RadarColorCount;
// More records than this in one block cannot be real data: 64 cells times 256
// altitudes leaves room only for records stacked on the same spot. Such an
// index entry counts as no statics, which bounds the work of one detail
// picture however the index is damaged.
constexpr uint32_t MaxStaticsPerBlock = 65536;

struct TMapCell {
  uint16_t Tile = 0;
  int8_t Altitude = 0;
};

struct TStaIdxEntry {
  int32_t Offset = -1;  // -1: the block has no statics
  uint32_t Length = 0;  // bytes; 0 and 0xFFFFFFFF: no statics
  uint32_t Unused = 0;
};

struct TStaticItem {
  uint16_t Tile = 0;
  uint8_t X = 0;  // within the block
  uint8_t Y = 0;
  int8_t Altitude = 0;
  uint16_t Unused = 0;
};

struct TMapSize {
  int32_t BlocksWide;
  int32_t BlocksHigh;
};

// Block number and cell index of a cell with non-negative coordinates.
constexpr int64_t BlockNumberOf(int32_t x, int32_t y, int32_t blocksHigh) {
  return int64_t{x / 8} * blocksHigh + y / 8;
}
constexpr int CellIndexOf(int32_t x, int32_t y) { return (y % 8) * 8 + (x % 8); }
// Byte offset of a cell in the map cell file.
constexpr int64_t CellOffsetOf(int32_t x, int32_t y, int32_t blocksHigh) {
  return BlockNumberOf(x, y, blocksHigh) * MapBlockBytes + MapBlockHeaderBytes +
         CellIndexOf(x, y) * MapCellBytes;
}

inline uint16_t ReadU16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadU32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void WriteU16(unsigned char* p, uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}
inline void WriteU32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

inline TMapCell DecodeMapCell(const unsigned char* p) {
  return {ReadU16(p), static_cast<int8_t>(p[2])};
}
inline void EncodeMapCell(unsigned char* p, const TMapCell& cell) {
  WriteU16(p, cell.Tile);
  p[2] = static_cast<unsigned char>(cell.Altitude);
}

inline TStaIdxEntry DecodeStaIdxEntry(const unsigned char* p) {
  return {static_cast<int32_t>(ReadU32(p)), ReadU32(p + 4), ReadU32(p + 8)};
}
inline void EncodeStaIdxEntry(unsigned char* p, const TStaIdxEntry& entry) {
  WriteU32(p, static_cast<uint32_t>(entry.Offset));
  WriteU32(p + 4, entry.Length);
  WriteU32(p + 8, entry.Unused);
}

inline TStaticItem DecodeStaticItem(const unsigned char* p) {
  return {ReadU16(p), p[2], p[3], static_cast<int8_t>(p[4]), ReadU16(p + 5)};
}
inline void EncodeStaticItem(unsigned char* p, const TStaticItem& item) {
  WriteU16(p, item.Tile);
  p[2] = item.X;
  p[3] = item.Y;
  p[4] = static_cast<unsigned char>(item.Altitude);
  WriteU16(p + 5, item.Unused);
}

}  // namespace wf
