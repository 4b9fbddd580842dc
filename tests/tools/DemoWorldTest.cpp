#include "DemoWorld.h"

#include <gtest/gtest.h>

#include <map>

#include "DesktopFakes.h"
#include "Palette.h"
#include "TempDir.h"
#include "Terrain.h"
#include "config/Config.h"
#include "mapdata/Map.h"

namespace wf::worldgen {
namespace {

TEST(DemoWorld, TheSameMapEveryTime) {
  std::vector<TTown> towns1, towns2;
  TMapContents first = GenerateDemoMap(4, towns1);
  TMapContents second = GenerateDemoMap(4, towns2);
  EXPECT_TRUE(first.MapFile() == second.MapFile());
  std::vector<unsigned char> index1, statics1, index2, statics2;
  first.BuildStatics(index1, statics1);
  second.BuildStatics(index2, statics2);
  EXPECT_TRUE(index1 == index2);
  EXPECT_TRUE(statics1 == statics2);
  ASSERT_EQ(towns1.size(), towns2.size());
  EXPECT_EQ(first.BlocksWide(), 181);
  EXPECT_EQ(first.BlocksHigh(), 181);
}

TEST(DemoWorld, LandLooksLikeLandAndTownsAreDense) {
  std::vector<TTown> towns;
  TMapContents map = GenerateDemoMap(4, towns);
  // Count the kinds of land by their tiles and check that altitudes follow them.
  std::map<int, int> kinds;
  std::map<int, long> altitudeSum;
  for (int y = 0; y < map.CellsHigh(); y += 2)
    for (int x = 0; x < map.CellsWide(); x += 2) {
      const TMapCell cell = map.Cell(x, y);
      const int kind = (cell.Tile - LandTile(TLand::DeepWater, 0)) / 16;
      ASSERT_GE(kind, 0);
      ASSERT_LT(kind, static_cast<int>(TLand::Count));
      ++kinds[kind];
      altitudeSum[kind] += cell.Altitude;
      if (IsWaterTile(cell.Tile)) {
        ASSERT_EQ(cell.Altitude, -5);
      }
    }
  auto share = [&](TLand land) { return kinds[static_cast<int>(land)]; };
  auto mean = [&](TLand land) {
    return static_cast<double>(altitudeSum[static_cast<int>(land)]) / std::max(1, share(land));
  };
  for (TLand land : {TLand::DeepWater, TLand::Sand, TLand::Grass, TLand::ForestFloor, TLand::Rock,
                     TLand::Snow, TLand::Cobblestone})
    EXPECT_GT(share(land), 100) << static_cast<int>(land);
  EXPECT_GT(mean(TLand::Rock), mean(TLand::Grass) + 10);
  EXPECT_GT(mean(TLand::Grass), mean(TLand::Sand));

  ASSERT_FALSE(towns.empty());
  for (const TTown& town : towns) {
    EXPECT_GE(town.CenterBlockStatics, 150u) << town.Name;
    EXPECT_EQ(town.CenterBlockStatics, map.StaticsOf(BlockNumberOf(town.CenterX, town.CenterY, 181)).size());
    EXPECT_EQ(map.Cell(town.CenterX, town.CenterY).Altitude, town.Altitude);
  }
  // Every object stands on a cell of its block and has a colour in a table
  // of today's size; towns are built of objects beyond the older tables.
  size_t newer = 0;
  for (int64_t b = 0; b < 181 * 181; ++b)
    for (const TStaticItem& item : map.StaticsOf(b)) {
      ASSERT_LT(item.X, 8);
      ASSERT_LT(item.Y, 8);
      ASSERT_LT(StaticColorBase + item.Tile, DemoRadarValueCount);
      if (StaticColorBase + item.Tile >= RadarColorCount) ++newer;
    }
  EXPECT_GT(newer, 1000u);
}

TEST(DemoWorld, RadarColoursDrawWaterBlueAndGrassGreen) {
  const std::vector<uint16_t> values = DemoRadarValues();
  ASSERT_EQ(values.size(), 81884u);  // as many as today's files hold
  auto rgb = [&](int entry) {
    const TColor32 c = RadarColorToColor32(values[entry]);
    return std::array<int, 3>{static_cast<int>((c >> 16) & 255), static_cast<int>((c >> 8) & 255),
                              static_cast<int>(c & 255)};
  };
  for (uint32_t v = 0; v < TileVariants; ++v) {
    auto water = rgb(LandTile(TLand::DeepWater, v)), grass = rgb(LandTile(TLand::Grass, v));
    auto snow = rgb(LandTile(TLand::Snow, v)), leaves = rgb(StaticColorBase + ObjectTile(TObject::Leaves, v));
    auto roof = rgb(StaticColorBase + ObjectTile(TObject::RedRoof, v));
    EXPECT_GT(roof[0], roof[1] + 64);
    EXPECT_GT(water[2], water[0] + 64);
    EXPECT_GT(grass[1], grass[0] + 32);
    EXPECT_GT(leaves[1], leaves[2] + 32);
    EXPECT_GT(snow[0] + snow[1] + snow[2], 3 * 200);
  }
}

TEST(DemoWorld, WritesTheMapsTheConfigurationAndThePlaces) {
  testing::TempDir dir;
  const TDemoWorld world = WriteDemoWorld(dir.Path().string(), {4});
  EXPECT_EQ(dir.Read("configtravel.xml"),
            "<configuration>\r\n"
            "<config key=\"map4\" value=\"map4.mul\" />\r\n"
            "<config key=\"statics4\" value=\"statics4.mul\" />\r\n"
            "<config key=\"staidx4\" value=\"staidx4.mul\" />\r\n"
            "<config key=\"radarcol\" value=\"radarcol.mul\" />\r\n"
            "<config key=\"commandchar\" value=\"[\" />\r\n"
            "<config key=\"CurrentMap\" value=\"0\" />\r\n"
            "</configuration>\r\n");
  EXPECT_EQ(dir.Read("map4.mul").size(), 181u * 181 * 196);
  EXPECT_EQ(dir.Read("staidx4.mul").size(), 181u * 181 * 12);
  EXPECT_EQ(dir.Read("radarcol.mul").size(), 163768u);
  ASSERT_FALSE(world.Places.empty());
  EXPECT_EQ(dir.Read("locations.txt"), LocationsText(world.Places));
  EXPECT_GE(world.DensestTownStatics, 150u);

  TConfig config;
  for (auto [key, file] : {std::pair{"map4", "map4.mul"}, {"statics4", "statics4.mul"},
                           {"staidx4", "staidx4.mul"}, {"radarcol", "radarcol.mul"}})
    config.AddPair(key, dir.File(file));
  testing::FakeMessageBoxes boxes;
  TMap map(4, config, boxes);
  ASSERT_TRUE(map.IsLoaded());
  EXPECT_TRUE(boxes.boxes.empty());
  const TDemoPlace& place = world.Places.front();
  EXPECT_EQ(map.GetAltitude(place.X, place.Y), place.Z);
}

TEST(DemoWorld, PlacesFileHasTheHeaderAnEmptyLineAndOnePlacePerLine) {
  EXPECT_EQ(LocationsText({{"Ort", 10, 20, -5, 3}, {"Zweiter Ort", 1400, 1600, 0, 0}}),
            "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n"
            "Ort=10,20,-5 3\r\n"
            "Zweiter Ort=1400,1600,0 0\r\n");
  EXPECT_EQ(LocationsText({}), "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n");
}

}  // namespace
}  // namespace wf::worldgen
