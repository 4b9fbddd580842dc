#include "AppWorld.h"

#include <filesystem>

#include "mapdata/Map.h"

namespace wf::testing {

namespace {

constexpr const char* kFiles[][2] = {
    {"map", "map0.mul"},     {"staidx", "staidx0.mul"},   {"statics", "statics0.mul"},
    {"map4", "map4.mul"},    {"staidx4", "staidx4.mul"},  {"statics4", "statics4.mul"},
    {"radarcol", "radarcol.mul"},
};

}  // namespace

worldgen::TMapContents AppWorld::Map4() {
  worldgen::TMapContents map(181, 181);
  for (int32_t y = 0; y < map.CellsHigh(); ++y)
    for (int32_t x = 0; x < map.CellsWide(); ++x)
      map.SetCell(x, y, TMapCell{static_cast<uint16_t>(1 + (x / 24 + 7 * (y / 24)) % 900),
                                 static_cast<int8_t>((x + 2 * y) % 60 - 20)});
  for (int32_t i = 0; i < 40; ++i) map.AddStatic(370 + i, 280 + i / 2, static_cast<uint16_t>(1000 + i), 90);
  return map;
}

AppWorld::AppWorld() {
  worldgen::TMapContents map0(24, 512);
  for (int32_t y = 0; y < map0.CellsHigh(); ++y)
    for (int32_t x = 0; x < map0.CellsWide(); ++x)
      map0.SetCell(x, y, TMapCell{static_cast<uint16_t>(2000 + (x + y) % 50), 0});
  worldgen::WriteMapFiles(map0, File("map0.mul"), File("staidx0.mul"), File("statics0.mul"));
  worldgen::WriteMapFiles(Map4(), File("map4.mul"), File("staidx4.mul"), File("statics4.mul"));
  std::vector<uint16_t> radar(RadarColorCount);
  for (int i = 0; i < RadarColorCount; ++i) radar[i] = static_cast<uint16_t>(i);
  worldgen::WriteFileBytes(File("radarcol.mul"), worldgen::RadarColorFile(radar));
}

void AppWorld::FillConfig(TConfig& config, const std::string* currentMap) const {
  for (const auto& [key, name] : kFiles) config.AddPair(key, File(name));
  if (currentMap) config.AddPair("CurrentMap", *currentMap);
}

std::string AppWorld::WriteConfig(const std::string& directory, const std::string* currentMap) const {
  TConfig config;
  FillConfig(config, currentMap);
  std::string file = (std::filesystem::path(directory) / "configtravel.xml").string();
  config.SaveToFile(file);
  return file;
}

}  // namespace wf::testing
