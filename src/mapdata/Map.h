#pragma once
// One map of the game world: its data files, radar colours, overview picture
// and detail pictures.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "mapdata/MapFormat.h"
#include "raster/Bitmap32.h"

namespace wf {

class TConfig;
class TMapCells;
namespace platform {
class IMessageBoxes;
class MappedView;
class SharedReadFile;
}  // namespace platform

constexpr int StaticColorBase = 16384;
// Room for every tile number: current files hold colours far beyond
// RadarColorCount (81,884 of them), for statics of tiles up to 65,499.
constexpr int RadarTableSize = StaticColorBase + 65536;
using TRadarTable = std::array<TColor32, RadarTableSize>;
constexpr int OverviewWidth = 384;
constexpr int OverviewHeight = 256;
constexpr int DetailSize = 100;

// A 16-bit radar colour (5 bits each of red, green, blue) as an opaque TColor32.
TColor32 RadarColorToColor32(uint16_t value);

// The colour of a tile whose entry lies beyond RadarColorCount and beyond the
// end of the radar colour file: opaque black, what a zero entry would give.
constexpr TColor32 UnknownTileColor = 0xFF000000;

class TMap {
 public:
  // Finds the map's files through `config`, opens them, reads the colours and
  // builds the overview. The map cell file may be plain or packed (see
  // CellFileOf), and the map's size follows from how many blocks it holds.
  // Missing files, and a packed file whose table cannot be used, leave the map
  // not loaded (map 0 says so in a "File not found" box through `messages`); a
  // file that exists but cannot be opened raises EFOpenError.
  TMap(int32_t mapNumber, const TConfig& config, platform::IMessageBoxes& messages);
  ~TMap();
  TMap(const TMap&) = delete;
  TMap& operator=(const TMap&) = delete;

  bool IsLoaded() const { return !LoadFailed; }
  // Why the map is not loaded, as map 0 shows it in its box (for a packed file
  // that cannot be used: the file and what is wrong with it, while the box
  // shows the missing-file text); empty when loaded. Every map keeps it, so
  // tools can report it for any map.
  const std::string& FailureText() const { return FFailureText; }
  // The 384 x 256 overview, owned by the map; null when not loaded.
  const TBitmap32* GetOverview() const { return Overview.get(); }
  // Cells outside the map, negative coordinates included, answer 0, and so do
  // cells that the map cell file does not reach.
  uint16_t GetLandTile(int32_t x, int32_t y) const;
  int32_t GetAltitude(int32_t x, int32_t y) const;
  // A new 100 x 100 picture round the centre; null when not loaded.
  std::unique_ptr<TBitmap32> RenderDetail(uint16_t centerX, uint16_t centerY, uint16_t zoom) const;

  // A new overview picture as the constructor builds the one it keeps; null
  // when not loaded.
  std::unique_ptr<TBitmap32> BuildOverview() const;

  // The map's three data files mapped read-only for as long as the caller
  // keeps them, to be read through by any number of threads at once; a file
  // that cannot be mapped is null here and read with positioned reads.
  struct TMappedFiles {
    std::shared_ptr<const platform::MappedView> Cells, StaIdx, Statics;
  };
  TMappedFiles MapFiles() const;

  // The colour of every cell of the blocks from (blockX, blockY), `blocksAcross`
  // by `blocksDown` of them, as the detail picture shows the cell at zoom 1
  // (the highest static above the land, else the land) and made opaque: also
  // the cells of row 0 and column 0, which the detail picture leaves clear.
  // Cell (x, y) goes to out[(y - 8 * blockY) * stride + x - 8 * blockX]; blocks
  // off the map are left as they are. Each block's cells, index entry and
  // statics are read once. Safe on several threads at once; nothing when the
  // map is not loaded.
  void ReadCellColors(const TMappedFiles& files, int32_t blockX, int32_t blockY, int32_t blocksAcross,
                      int32_t blocksDown, TColor32* out, size_t stride) const;

  int32_t MapNumber() const { return FMapNumber; }
  int32_t BlocksWide() const { return FBlocksWide; }
  int32_t BlocksHigh() const { return FBlocksHigh; }
  double ScaleX() const { return FScaleX; }
  double ScaleY() const { return FScaleY; }
  const TRadarTable& RadarColors() const { return *FRadarColors; }
  // Colour table lookups; the table has an entry for every tile number.
  TColor32 LandColor(uint16_t tile) const { return (*FRadarColors)[tile]; }
  TColor32 StaticColor(uint16_t tile) const { return (*FRadarColors)[StaticColorBase + tile]; }

 private:
  // The cell as the map cell file holds it; all zero outside the map.
  TMapCell ReadCell(int32_t x, int32_t y) const;

  std::unique_ptr<TMapCells> MapCells;
  std::unique_ptr<platform::SharedReadFile> StaIdxStream;
  std::unique_ptr<platform::SharedReadFile> StaticsStream;
  bool LoadFailed = false;
  std::unique_ptr<TBitmap32> Overview;
  std::unique_ptr<TRadarTable> FRadarColors;
  int32_t FMapNumber = 0;
  int32_t FBlocksWide = 0;
  int32_t FBlocksHigh = 0;
  double FScaleX = 0.0;
  double FScaleY = 0.0;
  std::string FFailureText;
};

}  // namespace wf
