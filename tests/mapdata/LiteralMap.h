#pragma once
// A map read the plain way: every overview pixel reads its 196-byte block,
// every detail pixel reads its 12-byte index entry and then each 7-byte static
// record of its block, the radar colours come two bytes per read. Nothing is
// cached beyond the last block of a detail picture. It gives the answers the
// program must give for a plain map cell file, damaged files included, and is what the tests compare
// TMap's pictures with and what the benchmarks measure TMap against.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "mapdata/Map.h"
#include "platform/Files.h"

namespace wf::testing {

class TLiteralMap {
 public:
  // Each read a positioned read of the file, or, for tests that need many
  // pictures, the same read from a copy of the file taken at construction.
  enum class TReads { FromFiles, FromCopies };

  // Not loaded when a file is missing; nothing is shown.
  TLiteralMap(int32_t mapNumber, const TConfig& config, TReads reads = TReads::FromFiles);

  bool IsLoaded() const { return loaded_; }
  int32_t BlocksWide() const { return blocksWide_; }
  int32_t BlocksHigh() const { return blocksHigh_; }
  const TRadarTable& Colors() const { return colors_; }

  uint16_t LandTile(int32_t x, int32_t y) const;
  int32_t Altitude(int32_t x, int32_t y) const;
  std::unique_ptr<TBitmap32> Overview() const;
  std::unique_ptr<TBitmap32> Detail(uint16_t centerX, uint16_t centerY, uint16_t zoom) const;
  // The colour a detail pixel gives a cell, for any cell of the map (also
  // those of row 0 and column 0, which the detail picture leaves clear).
  TColor32 CellColor(int32_t x, int32_t y) const;

 private:
  TColor32 Color(int index) const { return colors_[static_cast<size_t>(index)]; }
  void ReadBlock(int64_t block, unsigned char* bytes) const;
  // The cell's colour with its block `b` read into `block` already.
  TColor32 ColorInBlock(const unsigned char* block, int64_t b, int32_t x, int32_t y, uint64_t staticsSize) const;

  // An open data file: reads deliver fewer bytes, or none, at its end.
  class TSource {
   public:
    TSource(const std::string& path, TReads reads);
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) const;
    uint64_t Size() const;

   private:
    std::unique_ptr<platform::SharedReadFile> file_;
    std::string copy_;
  };

  bool loaded_ = false;
  int32_t blocksWide_ = 0;
  int32_t blocksHigh_ = 0;
  TRadarTable colors_{};
  std::unique_ptr<TSource> map_, staIdx_, statics_;
};

}  // namespace wf::testing
