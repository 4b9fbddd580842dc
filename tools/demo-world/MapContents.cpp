#include "MapContents.h"

#include <fstream>

#include "common/Errors.h"

namespace wf::worldgen {

TMapContents::TMapContents(int32_t blocksWide, int32_t blocksHigh)
    : blocksWide_(blocksWide),
      blocksHigh_(blocksHigh),
      cells_(static_cast<size_t>(blocksWide) * static_cast<size_t>(blocksHigh) * MapBlockBytes, 0),
      statics_(static_cast<size_t>(blocksWide) * static_cast<size_t>(blocksHigh)) {}

unsigned char* TMapContents::CellBytes(int32_t x, int32_t y) {
  return cells_.data() + CellOffsetOf(x, y, blocksHigh_);
}

const unsigned char* TMapContents::CellBytes(int32_t x, int32_t y) const {
  return cells_.data() + CellOffsetOf(x, y, blocksHigh_);
}

TMapCell TMapContents::Cell(int32_t x, int32_t y) const {
  return Contains(x, y) ? DecodeMapCell(CellBytes(x, y)) : TMapCell{};
}

void TMapContents::SetCell(int32_t x, int32_t y, TMapCell cell) {
  if (Contains(x, y)) EncodeMapCell(CellBytes(x, y), cell);
}

void TMapContents::SetTile(int32_t x, int32_t y, uint16_t tile) {
  if (Contains(x, y)) WriteU16(CellBytes(x, y), tile);
}

void TMapContents::SetAltitude(int32_t x, int32_t y, int8_t altitude) {
  if (Contains(x, y)) CellBytes(x, y)[2] = static_cast<unsigned char>(altitude);
}

void TMapContents::AddStatic(int32_t x, int32_t y, uint16_t tile, int8_t altitude, uint16_t unused) {
  if (!Contains(x, y)) return;
  statics_[static_cast<size_t>(BlockNumberOf(x, y, blocksHigh_))].push_back(
      {tile, static_cast<uint8_t>(x % 8), static_cast<uint8_t>(y % 8), altitude, unused});
}

void TMapContents::AddStaticRecord(int64_t block, const TStaticItem& item) {
  if (block >= 0 && static_cast<size_t>(block) < statics_.size())
    statics_[static_cast<size_t>(block)].push_back(item);
}

size_t TMapContents::StaticCount() const {
  size_t count = 0;
  for (const auto& block : statics_) count += block.size();
  return count;
}

void TMapContents::BuildStatics(std::vector<unsigned char>& index,
                                std::vector<unsigned char>& statics) const {
  index.assign(statics_.size() * StaIdxEntryBytes, 0);
  statics.assign(StaticCount() * StaticItemBytes, 0);
  size_t at = 0;
  for (size_t b = 0; b < statics_.size(); ++b) {
    TStaIdxEntry entry{-1, 0xFFFFFFFF, 0};
    if (!statics_[b].empty()) {
      entry = {static_cast<int32_t>(at), static_cast<uint32_t>(statics_[b].size() * StaticItemBytes), 0};
      for (const TStaticItem& item : statics_[b]) {
        EncodeStaticItem(&statics[at], item);
        at += StaticItemBytes;
      }
    }
    EncodeStaIdxEntry(&index[b * StaIdxEntryBytes], entry);
  }
}

std::vector<unsigned char> RadarColorFile(const std::vector<uint16_t>& values) {
  std::vector<unsigned char> bytes(values.size() * 2);
  for (size_t i = 0; i < values.size(); ++i) WriteU16(&bytes[2 * i], values[i]);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw EFCreateError(path);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw EInOutError(101);
}

void WriteMapFiles(const TMapContents& map, const std::string& mapPath,
                   const std::string& staIdxPath, const std::string& staticsPath) {
  std::vector<unsigned char> index, statics;
  map.BuildStatics(index, statics);
  WriteFileBytes(mapPath, map.MapFile());
  WriteFileBytes(staIdxPath, index);
  WriteFileBytes(staticsPath, statics);
}

}  // namespace wf::worldgen
