#pragma once
// The demo world: maps 0, 2, 3 and 4 at their real sizes with one radar
// colour file, a configtravel.xml that names them and a locations.txt with
// the towns. The same bytes on every run.

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

// One map of the demo world, its towns built and listed in `towns`.
TMapContents GenerateDemoMap(int32_t mapNumber, std::vector<TTown>& towns);

struct TDemoPlace {
  std::string Name;
  int32_t X, Y, Z;
  int32_t MapNumber;
};

struct TDemoWorld {
  std::vector<TDemoPlace> Places;  // the towns, in map order
  // The town whose middle block holds the most statics.
  TDemoPlace DensestTown;
  size_t DensestTownStatics = 0;
};

// The file name of a map's file in the world's folder ("map", "staidx",
// "statics" with the map number, as in map0.mul).
std::string DemoFileName(const std::string& word, int32_t mapNumber);

// Writes the world into `dir`, which must exist: the given maps (all four
// unless told otherwise), the radar colours, the configuration and the places.
TDemoWorld WriteDemoWorld(const std::string& dir);
TDemoWorld WriteDemoWorld(const std::string& dir, const std::vector<int32_t>& mapNumbers);

// The places file: a header line, an empty line, then "Name=X,Y,Z Map" per
// place, every line ended by CR LF.
std::string LocationsText(const std::vector<TDemoPlace>& places);

}  // namespace wf::worldgen
