#pragma once
// The demo world, shaped like a current installation of the game: maps 0 to
// 5 at their real sizes (maps 0 and 1 at today's width, their cell files
// packed), a radar colour file of today's size, objects with tile numbers far
// above the older colour tables' reach, a configtravel.xml that names them
// all and a locations.txt with the towns. The same bytes on every run.

#include <array>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "MapContents.h"
#include "Towns.h"
#include "mapdata/MapTable.h"

namespace wf::worldgen {

// The maps the demo world has: every map of the table.
inline constexpr auto DemoMapNumbers = [] {
  std::array<int32_t, std::size(MapSlots)> numbers{};
  for (size_t i = 0; i < numbers.size(); ++i) numbers[i] = MapSlots[i].Number;
  return numbers;
}();

// Whether the demo world's map cell file of a map is packed.
constexpr bool IsPackedDemoMap(int32_t mapNumber) { return mapNumber == 0 || mapNumber == 1; }

// One map of the demo world, its towns built and listed in `towns`.
TMapContents GenerateDemoMap(int32_t mapNumber, std::vector<TTown>& towns);

struct TDemoPlace {
  std::string Name;
  int32_t X, Y, Z;
  int32_t MapNumber;
};

struct TDemoWorld {
  std::vector<TDemoPlace> Places;  // the towns, in map order
  // The town whose middle block holds the most statics, of all maps and of
  // map 0 (whose cells are packed).
  TDemoPlace DensestTown;
  size_t DensestTownStatics = 0;
  TDemoPlace DensestTownOfMap0;
  size_t DensestTownOfMap0Statics = 0;
};

// The file name of a map's file in the world's folder ("map", "staidx",
// "statics" with the map number, as in map0.mul). For a packed map's cells
// that is the plain copy's name (see WriteDemoWorld).
std::string DemoFileName(const std::string& word, int32_t mapNumber);
// The name of a packed map's cell file, as in map0LegacyMUL.uop.
std::string PackedDemoFileName(int32_t mapNumber);

// Writes the world into `dir`, which must exist: the given maps (all of them
// unless told otherwise), the radar colours, the configuration and the
// places. With `plainCopies` a packed map's cells are also written plain,
// under DemoFileName, which the configuration does not name.
TDemoWorld WriteDemoWorld(const std::string& dir);
TDemoWorld WriteDemoWorld(const std::string& dir, const std::vector<int32_t>& mapNumbers,
                          bool plainCopies = false);

// The places file: a header line, an empty line, then "Name=X,Y,Z Map" per
// place, every line ended by CR LF.
std::string LocationsText(const std::vector<TDemoPlace>& places);

}  // namespace wf::worldgen
