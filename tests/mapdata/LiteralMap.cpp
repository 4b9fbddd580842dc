#include "LiteralMap.h"

#include <algorithm>
#include <cstring>

#include "common/IntegerText.h"
#include "config/Config.h"
#include "mapdata/MapTable.h"

namespace wf::testing {

TLiteralMap::TSource::TSource(const std::string& path, TReads reads)
    : file_(platform::SharedReadFile::Open(path)) {
  if (reads == TReads::FromCopies) {
    copy_ = platform::ReadWholeFile(path, platform::ShareMode::DenyNone).value_or("");
    file_.reset();
  }
}

size_t TLiteralMap::TSource::ReadAt(uint64_t offset, void* buffer, size_t count) const {
  if (file_) return file_->ReadAt(offset, buffer, count);
  if (offset >= copy_.size()) return 0;
  const size_t n = std::min<uint64_t>(count, copy_.size() - offset);
  std::memcpy(buffer, copy_.data() + offset, n);
  return n;
}

uint64_t TLiteralMap::TSource::Size() const { return file_ ? file_->Size() : copy_.size(); }

TLiteralMap::TLiteralMap(int32_t mapNumber, const TConfig& config, TReads reads) {
  const std::string suffix = mapNumber == 0 ? "" : NumberText(mapNumber);
  for (const char* word : {"map", "radarcol", "statics", "staidx"}) {
    std::string key = word;
    if (key != "radarcol") key += suffix;
    if (!platform::FileExists(config.GetValue(key))) return;
  }
  map_ = std::make_unique<TSource>(config.GetValue("map" + suffix), reads);
  auto radar = std::make_unique<TSource>(config.GetValue("radarcol"), reads);
  unsigned char value[2] = {0, 0};
  uint64_t position = 0;
  for (int i = 0; i < RadarColorCount; ++i) {
    position += radar->ReadAt(position, value, 2);
    colors_[i] = RadarColorToColor32(static_cast<uint16_t>(value[0] | (value[1] << 8)));
  }
  // Beyond those, a colour is the file's only where the file holds it whole.
  for (size_t i = RadarColorCount; i < colors_.size(); ++i)
    colors_[i] = radar->ReadAt(2 * i, value, 2) == 2 ? RadarColorToColor32(static_cast<uint16_t>(value[0] | (value[1] << 8)))
                                                       : UnknownTileColor;
  staIdx_ = std::make_unique<TSource>(config.GetValue("staidx" + suffix), reads);
  statics_ = std::make_unique<TSource>(config.GetValue("statics" + suffix), reads);
  const TMapSize size = MapSizeOf(mapNumber, map_->Size() / MapBlockBytes);
  blocksWide_ = size.BlocksWide;
  blocksHigh_ = size.BlocksHigh;
  loaded_ = true;
}

void TLiteralMap::ReadBlock(int64_t block, unsigned char* bytes) const {
  std::memset(bytes, 0, MapBlockBytes);
  map_->ReadAt(static_cast<uint64_t>(block) * MapBlockBytes, bytes, MapBlockBytes);
}

uint16_t TLiteralMap::LandTile(int32_t x, int32_t y) const {
  if (!loaded_ || x < 0 || y < 0 || x >= blocksWide_ * 8 || y >= blocksHigh_ * 8) return 0;
  unsigned char block[MapBlockBytes];
  ReadBlock((x / 8) * int64_t{blocksHigh_} + y / 8, block);
  return DecodeMapCell(block + 4 + ((y % 8) * 8 + x % 8) * 3).Tile;
}

int32_t TLiteralMap::Altitude(int32_t x, int32_t y) const {
  if (!loaded_ || x < 0 || y < 0 || x >= blocksWide_ * 8 || y >= blocksHigh_ * 8) return 0;
  unsigned char block[MapBlockBytes];
  ReadBlock((x / 8) * int64_t{blocksHigh_} + y / 8, block);
  return DecodeMapCell(block + 4 + ((y % 8) * 8 + x % 8) * 3).Altitude;
}

std::unique_ptr<TBitmap32> TLiteralMap::Overview() const {
  if (!loaded_) return nullptr;
  auto bitmap = std::make_unique<TBitmap32>();
  bitmap->SetBitmapWidth(OverviewWidth);
  bitmap->SetBitmapHeight(OverviewHeight);
  for (int i = 0; i < OverviewWidth; ++i)
    for (int j = 0; j < OverviewHeight; ++j) {
      auto ys = static_cast<int32_t>(static_cast<double>(j * blocksHigh_ * 8) / OverviewHeight);
      auto xs = static_cast<int32_t>(static_cast<double>(i * blocksWide_ * 8) / OverviewWidth);
      bitmap->WritePixel(i, j, Color(LandTile(xs, ys)));
    }
  return bitmap;
}

std::unique_ptr<TBitmap32> TLiteralMap::Detail(uint16_t centerX, uint16_t centerY, uint16_t zoom) const {
  if (!loaded_) return nullptr;
  auto bitmap = std::make_unique<TBitmap32>();
  bitmap->SetBitmapWidth(DetailSize);
  bitmap->SetBitmapHeight(DetailSize);
  bitmap->ClearTo(0x00FFFFFF);
  const uint64_t staticsSize = statics_->Size();
  int64_t lastBlock = -1;
  unsigned char block[MapBlockBytes];
  for (int i = 0; i < DetailSize; ++i) {
    for (int j = 0; j < DetailSize; ++j) {
      const int32_t x = (j - 50) * zoom + centerX;
      const int32_t y = (i - 50) * zoom + centerY;
      if (!(x > 0 && y > 0 && x < blocksWide_ * 8 && y < blocksHigh_ * 8)) continue;
      const int64_t b = (x / 8) * int64_t{blocksHigh_} + y / 8;
      if (b != lastBlock) {
        ReadBlock(b, block);
        lastBlock = b;
      }
      bitmap->WritePixel(j, i, ColorInBlock(block, b, x, y, staticsSize));
    }
  }
  return bitmap;
}

TColor32 TLiteralMap::CellColor(int32_t x, int32_t y) const {
  unsigned char block[MapBlockBytes];
  const int64_t b = (x / 8) * int64_t{blocksHigh_} + y / 8;
  ReadBlock(b, block);
  return ColorInBlock(block, b, x, y, statics_->Size());
}

TColor32 TLiteralMap::ColorInBlock(const unsigned char* block, int64_t b, int32_t x, int32_t y,
                                   uint64_t staticsSize) const {
  const TMapCell land = DecodeMapCell(block + 4 + ((y % 8) * 8 + x % 8) * 3);
  unsigned char entryBytes[StaIdxEntryBytes] = {};
  staIdx_->ReadAt(static_cast<uint64_t>(b) * StaIdxEntryBytes, entryBytes, sizeof entryBytes);
  const TStaIdxEntry entry = DecodeStaIdxEntry(entryBytes);
  TColor32 color = Color(land.Tile);
  const uint32_t n = entry.Length / 7;
  const bool usable = entry.Offset >= 0 && entry.Length != 0 && entry.Length != 0xFFFFFFFF &&
                      n <= MaxStaticsPerBlock &&
                      static_cast<uint64_t>(entry.Offset) + uint64_t{n} * 7 <= staticsSize;
  if (usable) {
    int best = -128;
    bool chosen = false;
    uint16_t tile = 0;
    for (uint32_t k = 0; k < n; ++k) {
      unsigned char record[StaticItemBytes] = {};
      statics_->ReadAt(static_cast<uint64_t>(entry.Offset) + uint64_t{k} * 7, record, sizeof record);
      const TStaticItem item = DecodeStaticItem(record);
      if (item.Altitude > best && item.X == x % 8 && item.Y == y % 8) {
        best = item.Altitude;
        tile = item.Tile;
        chosen = true;
      }
    }
    if (chosen && best > land.Altitude) color = Color(StaticColorBase + tile);
  }
  return color;
}

}  // namespace wf::testing
