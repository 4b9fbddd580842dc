#include "DemoWorld.h"

#include <filesystem>

#include "PackedFile.h"
#include "Palette.h"
#include "Terrain.h"
#include "common/IntegerText.h"
#include "config/Config.h"
#include "mapdata/MapTable.h"

namespace wf::worldgen {

namespace {

std::vector<std::string> TownNames(int32_t mapNumber) {
  switch (mapNumber) {
    case 0: return {"Eichenfurt", "Salzhafen", "Nebelstein", "Wolfsgrund", "Sonnenau", "Kaltenbruck"};
    case 2: return {"Dornhall", "Moorwacht"};
    case 1: return {"Lindenhain", "Rabenkamm", "Fischerbucht", "Hohenried"};
    case 3: return {"Sternfels", "Aschendorf", "Glutsand"};
    case 5: return {"Kristallgrund", "Dunkelhall"};
    default: return {"Schattenmark", "Irrlichtsee"};
  }
}

std::string PathIn(const std::string& dir, const std::string& name) {
  return (std::filesystem::path(dir) / name).string();
}

}  // namespace

TMapContents GenerateDemoMap(int32_t mapNumber, std::vector<TTown>& towns) {
  const TMapSize size = LargestMapSizeOf(mapNumber);
  const auto seed = static_cast<uint32_t>(1000 + mapNumber * 7919);
  TMapContents map(size.BlocksWide, size.BlocksHigh);
  TLandKinds kinds = GenerateTerrain(map, seed);
  towns = PlanTowns(map, kinds, TownNames(mapNumber), seed);
  for (const TTown& town : towns) LayTownGround(map, kinds, town);
  for (size_t i = 1; i < towns.size(); ++i) LayRoad(map, kinds, towns[i - 1], towns[i]);
  PlantNature(map, kinds, seed);
  for (TTown& town : towns) BuildTown(map, town, seed);
  return map;
}

std::string DemoFileName(const std::string& word, int32_t mapNumber) {
  return word + NumberText(mapNumber) + ".mul";
}

std::string PackedDemoFileName(int32_t mapNumber) { return "map" + NumberText(mapNumber) + "LegacyMUL.uop"; }

TDemoWorld WriteDemoWorld(const std::string& dir) {
  return WriteDemoWorld(dir, std::vector<int32_t>(std::begin(DemoMapNumbers), std::end(DemoMapNumbers)));
}

TDemoWorld WriteDemoWorld(const std::string& dir, const std::vector<int32_t>& mapNumbers, bool plainCopies) {
  TDemoWorld world;
  TConfig config;
  for (int32_t number : mapNumbers) {
    std::vector<TTown> towns;
    TMapContents map = GenerateDemoMap(number, towns);
    const bool packed = IsPackedDemoMap(number);
    std::vector<unsigned char> index, statics;
    map.BuildStatics(index, statics);
    WriteFileBytes(PathIn(dir, DemoFileName("staidx", number)), index);
    WriteFileBytes(PathIn(dir, DemoFileName("statics", number)), statics);
    if (!packed || plainCopies) WriteFileBytes(PathIn(dir, DemoFileName("map", number)), map.MapFile());
    // Shuffled entries and a spare block at the end, as shipped files have.
    if (packed)
      WriteFileBytes(PathIn(dir, PackedDemoFileName(number)),
                     PackedMapFile(number, map.MapFile(), {.RowsPerTable = 100, .Shuffled = true, .SpareBlock = true}));
    const std::string suffix = number == 0 ? "" : NumberText(number);
    config.AddPair("map" + suffix, packed ? PackedDemoFileName(number) : DemoFileName("map", number));
    config.AddPair("statics" + suffix, DemoFileName("statics", number));
    config.AddPair("staidx" + suffix, DemoFileName("staidx", number));
    for (const TTown& town : towns) {
      // In the square, beside the fountain in front of the hall.
      TDemoPlace place{town.Name, town.CenterX + 2, town.CenterY + 14, town.Altitude, number};
      world.Places.push_back(place);
      const TDemoPlace centre{town.Name, town.CenterX, town.CenterY, town.Altitude, number};
      if (town.CenterBlockStatics > world.DensestTownStatics) {
        world.DensestTownStatics = town.CenterBlockStatics;
        world.DensestTown = centre;
      }
      if (number == 0 && town.CenterBlockStatics > world.DensestTownOfMap0Statics) {
        world.DensestTownOfMap0Statics = town.CenterBlockStatics;
        world.DensestTownOfMap0 = centre;
      }
    }
  }
  WriteFileBytes(PathIn(dir, "radarcol.mul"), RadarColorFile(DemoRadarValues()));
  config.AddPair("radarcol", "radarcol.mul");
  config.AddPair("commandchar", "[");
  config.AddPair("CurrentMap", "0");
  config.SaveToFile(PathIn(dir, "configtravel.xml"));
  const std::string locations = LocationsText(world.Places);
  WriteFileBytes(PathIn(dir, "locations.txt"), std::vector<unsigned char>(locations.begin(), locations.end()));
  return world;
}

std::string LocationsText(const std::vector<TDemoPlace>& places) {
  std::string text = "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n";
  for (const TDemoPlace& p : places)
    text += p.Name + "=" + NumberText(p.X) + "," + NumberText(p.Y) + "," + NumberText(p.Z) + " " +
            NumberText(p.MapNumber) + "\r\n";
  return text;
}

}  // namespace wf::worldgen
