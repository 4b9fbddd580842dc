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
namespace platform {
class IMessageBoxes;
class SharedReadFile;
}  // namespace platform

constexpr int StaticColorBase = 16384;
constexpr int OverviewWidth = 384;
constexpr int OverviewHeight = 256;
constexpr int DetailSize = 100;

// A 16-bit radar colour (5 bits each of red, green, blue) as an opaque TColor32.
TColor32 RadarColorToColor32(uint16_t value);

// The colour of a land tile of 31130 or more and of a static tile of 14746 or
// more, which have no entry in the colour table: opaque black, what a zero
// entry of the table would give.
constexpr TColor32 UnknownTileColor = 0xFF000000;

class TMap {
 public:
  // Finds the map's files through `config`, opens them, reads the colours and
  // builds the overview. Missing files leave the map not loaded (map 0 says so
  // in a "File not found" box through `messages`); a file that exists but
  // cannot be opened raises EFOpenError.
  TMap(int32_t mapNumber, const TConfig& config, platform::IMessageBoxes& messages);
  ~TMap();
  TMap(const TMap&) = delete;
  TMap& operator=(const TMap&) = delete;

  bool IsLoaded() const { return !LoadFailed; }
  // Why the map is not loaded, as map 0 shows it in its box; empty when loaded.
  // Every map keeps it, so tools can report it for any map.
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

  int32_t MapNumber() const { return FMapNumber; }
  int32_t BlocksWide() const { return FBlocksWide; }
  int32_t BlocksHigh() const { return FBlocksHigh; }
  double ScaleX() const { return FScaleX; }
  double ScaleY() const { return FScaleY; }
  const std::array<TColor32, RadarColorCount>& RadarColors() const { return *FRadarColors; }
  // Colour table lookups; tiles beyond the table get UnknownTileColor.
  TColor32 LandColor(uint16_t tile) const {
    return tile < RadarColorCount ? (*FRadarColors)[tile] : UnknownTileColor;
  }
  TColor32 StaticColor(uint16_t tile) const {
    return tile < RadarColorCount - StaticColorBase ? (*FRadarColors)[StaticColorBase + tile]
                                                    : UnknownTileColor;
  }

 private:
  // The cell as the map cell file holds it; all zero outside the map.
  TMapCell ReadCell(int32_t x, int32_t y) const;

  std::unique_ptr<platform::SharedReadFile> MapStream;
  std::unique_ptr<platform::SharedReadFile> StaIdxStream;
  std::unique_ptr<platform::SharedReadFile> StaticsStream;
  bool LoadFailed = false;
  std::unique_ptr<TBitmap32> Overview;
  std::unique_ptr<std::array<TColor32, RadarColorCount>> FRadarColors;
  int32_t FMapNumber = 0;
  int32_t FBlocksWide = 0;
  int32_t FBlocksHigh = 0;
  double FScaleX = 0.0;
  double FScaleY = 0.0;
  std::string FFailureText;
};

}  // namespace wf
