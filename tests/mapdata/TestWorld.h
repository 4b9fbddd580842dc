#pragma once
// Small worlds on disk for the map tests: a temporary directory with the data
// files of chosen maps and a configuration that names them.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "DesktopFakes.h"
#include "MapContents.h"
#include "PackedFile.h"
#include "TempDir.h"
#include "config/Config.h"
#include "mapdata/Map.h"
#include "platform/Desktop.h"

namespace wf::testing {

// Radar values 0, 1, 2, ...: every entry of the table has its own colour, so a
// pixel tells which entry it came from.
std::vector<uint16_t> IdentityRadarValues();
// The table entry a colour of IdentityRadarValues came from.
int EntryOfColor(TColor32 color);

class TTestWorld {
 public:
  TTestWorld();

  TConfig& Config() { return config_; }
  std::string File(const std::string& name) const { return dir_.File(name); }

  // Writes the map's three files and names them in the configuration under
  // the map's keys; the first map added also writes the radar colours
  // (IdentityRadarValues unless set before).
  void AddMap(int32_t mapNumber, const worldgen::TMapContents& contents);
  // The same with the map cell file packed, under the name given.
  void AddPackedMap(int32_t mapNumber, const worldgen::TMapContents& contents,
                    const worldgen::TPackedLayout& layout = {}, const std::string& fileName = "");
  void SetRadarValues(const std::vector<uint16_t>& values);
  void SetRadarBytes(const std::vector<unsigned char>& bytes);

  // The file a configuration key names.
  std::string PathOf(const std::string& key) const { return config_.GetValue(key); }
  void Replace(const std::string& key, const std::vector<unsigned char>& bytes) const;
  std::vector<unsigned char> Contents(const std::string& key) const;
  // Writes bytes at an offset, growing the file (sparsely where the system can).
  void Patch(const std::string& key, uint64_t offset, const std::vector<unsigned char>& bytes) const;
  // Sets one cell of a map added before, anywhere on the map.
  void PatchCell(int32_t mapNumber, int32_t x, int32_t y, TMapCell cell) const;

 private:
  TempDir dir_;
  TConfig config_;
  bool radarWritten_ = false;
};

// The key suffix of a map: empty for map 0.
std::string KeySuffix(int32_t mapNumber);

}  // namespace wf::testing
