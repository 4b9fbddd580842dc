#include <gtest/gtest.h>

#include <climits>

#include "TestWorld.h"
#include "mapdata/Map.h"

namespace wf {
namespace {

using testing::FakeMessageBoxes;
using testing::TTestWorld;
using worldgen::TMapContents;

TEST(CellQueries, ACellIsFoundByItsBlockColumnByColumnAndItsIndexRowByRow) {
  // Cell (9, 17) of map 2 lies in block 1 x 200 + 2 = 202 at cell index 9.
  TTestWorld world;
  TMapContents contents(2, 200);
  for (int y = 0; y < contents.CellsHigh(); ++y)
    for (int x = 0; x < contents.CellsWide(); ++x)
      contents.SetCell(x, y, {static_cast<uint16_t>(x * 1000 + y), static_cast<int8_t>(x - y)});
  world.AddMap(2, contents);
  std::vector<unsigned char> bytes = world.Contents("map2");
  EXPECT_EQ(bytes[202 * 196 + 4 + 27], (9 * 1000 + 17) & 0xFF);

  FakeMessageBoxes boxes;
  TMap map(2, world.Config(), boxes);
  for (auto [x, y] : {std::pair{9, 17}, {0, 0}, {7, 7}, {8, 0}, {0, 8}, {15, 1599}, {3, 200}}) {
    EXPECT_EQ(map.GetLandTile(x, y), x * 1000 + y) << x << "," << y;
    EXPECT_EQ(map.GetAltitude(x, y), static_cast<int8_t>(x - y)) << x << "," << y;
  }
}

TEST(CellQueries, AltitudesAreSignedAndTilesUnsigned) {
  TTestWorld world;
  TMapContents contents(1, 181);
  contents.SetCell(1, 1, {0xFFFF, static_cast<int8_t>(0xF6)});
  contents.SetCell(2, 1, {0x8000, -128});
  contents.SetCell(3, 1, {0x7FFF, 127});
  world.AddMap(4, contents);
  FakeMessageBoxes boxes;
  TMap map(4, world.Config(), boxes);
  EXPECT_EQ(map.GetLandTile(1, 1), 0xFFFF);
  EXPECT_EQ(map.GetAltitude(1, 1), -10);
  EXPECT_EQ(map.GetLandTile(2, 1), 0x8000);
  EXPECT_EQ(map.GetAltitude(2, 1), -128);
  EXPECT_EQ(map.GetAltitude(3, 1), 127);
}

TEST(CellQueries, TheLastCellOfMapZeroIsReadFromTheEndOfItsFile) {
  TTestWorld world;
  world.AddMap(0, TMapContents(1, 512));
  world.PatchCell(0, 6143, 4095, {0x0ABC, -7});
  world.PatchCell(0, 6142, 4095, {0x0123, 3});  // its neighbour in the same row
  EXPECT_EQ(BlockNumberOf(6143, 4095, 512) * MapBlockBytes, 77070140);  // block 393215
  FakeMessageBoxes boxes;
  TMap map(0, world.Config(), boxes);
  EXPECT_EQ(map.GetLandTile(6143, 4095), 0x0ABC);
  EXPECT_EQ(map.GetAltitude(6143, 4095), -7);
  EXPECT_EQ(map.GetLandTile(6142, 4095), 0x0123);
}

TEST(CellQueries, CellsOutsideTheMapAnswerZeroEvenWhereTheFileHoldsMore) {
  // The file runs on past the map with cells that must never be seen, and
  // block 0 holds cells that a negative coordinate could reach into.
  TTestWorld world;
  TMapContents contents(182, 181);
  for (int y = 0; y < contents.CellsHigh(); ++y)
    for (int x = 0; x < contents.CellsWide(); ++x) contents.SetCell(x, y, {0x1111, 0x22});
  world.AddMap(4, contents);
  std::vector<unsigned char> block0(MapBlockBytes, 0x55);
  world.Patch("map4", 0, block0);
  FakeMessageBoxes boxes;
  TMap map(4, world.Config(), boxes);
  for (auto [x, y] : {std::pair{1448, 0}, {0, 1448}, {1448, 1448}, {65535, 65535}, {INT_MAX, 5},
                      {-1, 0}, {0, -1}, {-8, 3}, {3, -9}, {INT_MIN, 0}, {0, INT_MIN}}) {
    EXPECT_EQ(map.GetLandTile(x, y), 0) << x << "," << y;
    EXPECT_EQ(map.GetAltitude(x, y), 0) << x << "," << y;
  }
  EXPECT_EQ(map.GetLandTile(1447, 1447), 0x1111);
  EXPECT_EQ(map.GetLandTile(0, 0), 0x5555);
}

TEST(CellQueries, CellsPastTheEndOfTheFileReadAsTileZeroAltitudeZero) {
  TTestWorld world;
  TMapContents contents(1, 181);
  for (int y = 0; y < contents.CellsHigh(); ++y)
    for (int x = 0; x < 8; ++x) contents.SetCell(x, y, {0x4242, 9});
  world.AddMap(4, contents);
  // Cut the file inside the altitude byte of cell (1, 0): its tile is still
  // there, its altitude is not.
  std::vector<unsigned char> bytes = world.Contents("map4");
  bytes.resize(CellOffsetOf(1, 0, 181) + 2);
  world.Replace("map4", bytes);
  FakeMessageBoxes boxes;
  TMap map(4, world.Config(), boxes);
  EXPECT_EQ(map.GetLandTile(0, 0), 0x4242);
  EXPECT_EQ(map.GetAltitude(0, 0), 9);
  EXPECT_EQ(map.GetLandTile(1, 0), 0x4242);
  EXPECT_EQ(map.GetAltitude(1, 0), 0);
  EXPECT_EQ(map.GetLandTile(2, 0), 0);
  EXPECT_EQ(map.GetLandTile(0, 8), 0);
  EXPECT_EQ(map.GetAltitude(100, 100), 0);

  world.Replace("map4", {});
  TMap empty(4, world.Config(), boxes);
  ASSERT_TRUE(empty.IsLoaded());
  EXPECT_EQ(empty.GetLandTile(0, 0), 0);
  EXPECT_EQ(empty.GetOverview()->Pixel(0, 0), empty.RadarColors()[0]);
}

}  // namespace
}  // namespace wf
