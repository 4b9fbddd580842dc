#include "TestWorld.h"

#include <fstream>
#include <iterator>

#include "common/IntegerText.h"
#include "mapdata/MapTable.h"

namespace wf::testing {

std::vector<uint16_t> IdentityRadarValues() {
  std::vector<uint16_t> values(RadarColorCount);
  for (int i = 0; i < RadarColorCount; ++i) values[i] = static_cast<uint16_t>(i);
  return values;
}

int EntryOfColor(TColor32 color) {
  return static_cast<int>((((color >> 19) & 31) << 10) | (((color >> 11) & 31) << 5) | ((color >> 3) & 31));
}

std::string KeySuffix(int32_t mapNumber) { return mapNumber == 0 ? "" : NumberText(mapNumber); }

TTestWorld::TTestWorld() = default;

void TTestWorld::AddMap(int32_t mapNumber, const worldgen::TMapContents& contents) {
  const std::string suffix = KeySuffix(mapNumber);
  const std::string name = mapNumber == 0 ? "0" : suffix;
  config_.AddPair("map" + suffix, dir_.File("map" + name + ".mul"));
  config_.AddPair("staidx" + suffix, dir_.File("staidx" + name + ".mul"));
  config_.AddPair("statics" + suffix, dir_.File("statics" + name + ".mul"));
  worldgen::WriteMapFiles(contents, PathOf("map" + suffix), PathOf("staidx" + suffix),
                          PathOf("statics" + suffix));
  if (!radarWritten_) SetRadarValues(IdentityRadarValues());
}

void TTestWorld::AddPackedMap(int32_t mapNumber, const worldgen::TMapContents& contents,
                               const worldgen::TPackedLayout& layout, const std::string& fileName) {
  const std::string suffix = KeySuffix(mapNumber);
  const std::string name = mapNumber == 0 ? "0" : suffix;
  config_.AddPair("map" + suffix,
                  dir_.File(fileName.empty() ? "map" + name + "LegacyMUL.uop" : fileName));
  config_.AddPair("staidx" + suffix, dir_.File("staidx" + name + ".mul"));
  config_.AddPair("statics" + suffix, dir_.File("statics" + name + ".mul"));
  std::vector<unsigned char> index, statics;
  contents.BuildStatics(index, statics);
  worldgen::WriteFileBytes(PathOf("map" + suffix), worldgen::PackedMapFile(mapNumber, contents.MapFile(), layout));
  worldgen::WriteFileBytes(PathOf("staidx" + suffix), index);
  worldgen::WriteFileBytes(PathOf("statics" + suffix), statics);
  if (!radarWritten_) SetRadarValues(IdentityRadarValues());
}

void TTestWorld::SetRadarValues(const std::vector<uint16_t>& values) {
  SetRadarBytes(worldgen::RadarColorFile(values));
}

void TTestWorld::SetRadarBytes(const std::vector<unsigned char>& bytes) {
  if (!config_.FindPair("radarcol")) config_.AddPair("radarcol", dir_.File("radarcol.mul"));
  worldgen::WriteFileBytes(PathOf("radarcol"), bytes);
  radarWritten_ = true;
}

void TTestWorld::Replace(const std::string& key, const std::vector<unsigned char>& bytes) const {
  worldgen::WriteFileBytes(PathOf(key), bytes);
}

std::vector<unsigned char> TTestWorld::Contents(const std::string& key) const {
  std::ifstream in(PathOf(key), std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void TTestWorld::Patch(const std::string& key, uint64_t offset,
                       const std::vector<unsigned char>& bytes) const {
  std::fstream out(PathOf(key), std::ios::binary | std::ios::in | std::ios::out);
  out.seekp(static_cast<std::streamoff>(offset));
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void TTestWorld::PatchCell(int32_t mapNumber, int32_t x, int32_t y, TMapCell cell) const {
  std::vector<unsigned char> bytes(MapCellBytes);
  EncodeMapCell(bytes.data(), cell);
  Patch("map" + KeySuffix(mapNumber),
        static_cast<uint64_t>(CellOffsetOf(x, y, MapSizeOf(mapNumber).BlocksHigh)), bytes);
}

}  // namespace wf::testing
