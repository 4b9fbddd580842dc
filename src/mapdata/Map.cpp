#include "mapdata/Map.h"

#include <string>

#include "common/IntegerText.h"
#include "config/Config.h"
#include "mapdata/MapCells.h"
#include "mapdata/MapTable.h"
#include "mapdata/RadarColors.h"
#include "platform/Desktop.h"
#include "platform/Files.h"

namespace wf {

namespace {

std::string FormatFailure(const char* format, int32_t mapNumber) {
  std::string text = format;
  const std::string number = NumberText(mapNumber);
  for (size_t at; (at = text.find("%d")) != std::string::npos;) text.replace(at, 2, number);
  return text;
}

}  // namespace

TMap::TMap(int32_t mapNumber, const TConfig& config, platform::IMessageBoxes& messages)
    : FRadarColors(std::make_unique<TRadarTable>()) {
  FRadarColors->fill(0);
  FMapNumber = mapNumber;
  // Numbers without a row (tools may ask for any) name their files by the
  // rows' rule and have map 0's size.
  const TMapSlot* slot = FindMapSlot(mapNumber);
  const std::string suffix = mapNumber == 0 ? std::string() : NumberText(mapNumber);
  const std::string mapKey = slot ? slot->CellKey : "map" + suffix,
                    staticsKey = slot ? slot->StaticsKey : "statics" + suffix,
                    staIdxKey = slot ? slot->StaIdxKey : "staidx" + suffix;

  auto fail = [&](const char* format) {
    FFailureText = FormatFailure(format, FMapNumber);
    if (FMapNumber == 0) messages.ShowError("File not found", FFailureText);
    LoadFailed = true;
  };
  using platform::FileExists;
  const TCellFile cellFile = CellFileOf(config.GetValue(mapKey), FMapNumber);
  if (!FileExists(cellFile.Path) || !FileExists(config.GetValue("radarcol"))) {
    fail("Map%d.mul or Radarcol.mul couldn't be found, please check your config.xml");
    return;
  }
  if (!FileExists(config.GetValue(staticsKey)) || !FileExists(config.GetValue(staIdxKey))) {
    fail("Statics%d.mul or Staidx%d.mul couldn't be found, please check your config.xml");
    return;
  }

  if (cellFile.Packed) {
    TPackedOpening packed = OpenPackedMapCells(cellFile.Path, FMapNumber);
    if (!packed.Cells) {
      // Unusable to the player just as a missing file is: map 0 shows the
      // same box, while the map keeps the reason for the tools.
      fail("Map%d.mul or Radarcol.mul couldn't be found, please check your config.xml");
      FFailureText = packed.Failure;
      return;
    }
    MapCells = std::move(packed.Cells);
  } else {
    MapCells = OpenPlainMapCells(cellFile.Path);
  }
  ReadRadarColors(*platform::SharedReadFile::Open(config.GetValue("radarcol")), *FRadarColors);
  StaIdxStream = platform::SharedReadFile::Open(config.GetValue(staIdxKey));
  StaticsStream = platform::SharedReadFile::Open(config.GetValue(staticsKey));

  const TMapSize size = MapSizeOf(FMapNumber, MapCells->BlocksHeld());
  FBlocksWide = size.BlocksWide;
  FBlocksHigh = size.BlocksHigh;
  FScaleX = static_cast<double>(FBlocksWide * 8) / OverviewWidth;
  FScaleY = static_cast<double>(FBlocksHigh * 8) / OverviewHeight;
  Overview = BuildOverview();
  LoadFailed = false;
}

TMap::~TMap() {
  MapCells.reset();
  Overview.reset();
  StaIdxStream.reset();
  StaticsStream.reset();
}

TMapCell TMap::ReadCell(int32_t x, int32_t y) const {
  if (LoadFailed || x < 0 || y < 0 || x >= FBlocksWide * 8 || y >= FBlocksHigh * 8) return {};
  const TMapCells::TRun run = MapCells->RunFrom(static_cast<uint64_t>(BlockNumberOf(x, y, FBlocksHigh)));
  if (run.Blocks == 0) return {};
  unsigned char bytes[MapCellBytes] = {};
  MapCells->File().ReadAt(run.Offset + MapBlockHeaderBytes + CellIndexOf(x, y) * MapCellBytes, bytes, sizeof bytes);
  return DecodeMapCell(bytes);
}

uint16_t TMap::GetLandTile(int32_t x, int32_t y) const { return ReadCell(x, y).Tile; }

int32_t TMap::GetAltitude(int32_t x, int32_t y) const { return ReadCell(x, y).Altitude; }

}  // namespace wf
