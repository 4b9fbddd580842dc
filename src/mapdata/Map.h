#pragma once
// One map of the game world: its data files, radar colours, overview picture
// and detail pictures.

#include <array>
#include <cstdint>
#include <memory>

#include "raster/Bitmap32.h"

namespace wf {

class TConfig;
namespace platform {
class IMessageBoxes;
class SharedReadFile;
}  // namespace platform

constexpr int RadarColorCount = 31130;
constexpr int StaticColorBase = 16384;
constexpr int OverviewWidth = 384;
constexpr int OverviewHeight = 256;
constexpr int DetailSize = 100;

// A 16-bit radar colour (5 bits each of red, green, blue) as an opaque TColor32.
TColor32 RadarColorToColor32(uint16_t value);

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
  // The 384 x 256 overview, owned by the map; null when not loaded.
  const TBitmap32* GetOverview() const { return Overview.get(); }
  uint16_t GetLandTile(int32_t x, int32_t y) const;
  int32_t GetAltitude(int32_t x, int32_t y) const;
  // A new 100 x 100 picture round the centre; null when not loaded.
  std::unique_ptr<TBitmap32> RenderDetail(uint16_t centerX, uint16_t centerY, uint16_t zoom) const;

  int32_t MapNumber() const { return FMapNumber; }
  int32_t BlocksWide() const { return FBlocksWide; }
  int32_t BlocksHigh() const { return FBlocksHigh; }
  double ScaleX() const { return FScaleX; }
  double ScaleY() const { return FScaleY; }
  const std::array<TColor32, RadarColorCount>& RadarColors() const { return *FRadarColors; }

 private:
  std::unique_ptr<TBitmap32> BuildOverview() const;

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
};

}  // namespace wf
