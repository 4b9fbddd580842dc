#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "TestWorld.h"
#include "mapdata/Map.h"
#include "mapdata/MapTable.h"

namespace wf {
namespace {

using testing::EntryOfColor;
using testing::FakeMessageBoxes;
using testing::TTestWorld;
using worldgen::TMapContents;

TEST(Overview, EachPixelShowsTheCellAtTheTopLeftOfItsArea) {
  struct Case {
    int32_t number;
    std::function<std::pair<int, int>(int, int)> sample;  // pixel -> cell, as the map's table gives it
  };
  const Case cases[] = {
      {0, [](int i, int j) { return std::pair{16 * i, 16 * j}; }},
      {2, [](int i, int j) { return std::pair{6 * i, 25 * j / 4}; }},
      {3, [](int i, int j) { return std::pair{20 * i / 3, 8 * j}; }},
      {4, [](int i, int j) { return std::pair{181 * i / 48, 181 * j / 32}; }},
  };
  const std::pair<int, int> pixels[] = {{0, 0}, {1, 1}, {2, 0}, {0, 3}, {3, 7}, {191, 128}, {383, 255}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    TTestWorld world;
    world.AddMap(c.number, TMapContents(1, MapSizeOf(c.number).BlocksHigh));
    // Each sampled cell gets its own tile; the cells right and below it get
    // others, so a sample one cell off shows the wrong colour.
    uint16_t tile = 100;
    for (auto [i, j] : pixels) {
      auto [x, y] = c.sample(i, j);
      world.PatchCell(c.number, x + 1, y, {static_cast<uint16_t>(tile + 1), 0});
      world.PatchCell(c.number, x, y + 1, {static_cast<uint16_t>(tile + 2), 0});
      tile += 3;
    }
    tile = 100;
    for (auto [i, j] : pixels) {
      auto [x, y] = c.sample(i, j);
      world.PatchCell(c.number, x, y, {tile, 0});
      tile += 3;
    }
    FakeMessageBoxes boxes;
    TMap map(c.number, world.Config(), boxes);
    const TBitmap32* overview = map.GetOverview();
    ASSERT_NE(overview, nullptr);
    ASSERT_EQ(overview->Width(), 384);
    ASSERT_EQ(overview->Height(), 256);
    tile = 100;
    for (auto [i, j] : pixels) {
      EXPECT_EQ(EntryOfColor(overview->Pixel(i, j)), tile) << "pixel " << i << "," << j;
      tile += 3;
    }
  }
}

TEST(Overview, ShowsLandOnlyIsOpaqueAndStaysTheSame) {
  TTestWorld world;
  TMapContents contents(3, 512);
  for (int y = 0; y < contents.CellsHigh(); ++y)
    for (int x = 0; x < contents.CellsWide(); ++x) contents.SetCell(x, y, {static_cast<uint16_t>(x + y), 0});
  contents.AddStatic(16, 16, 500, 100);  // far above the land, still not shown
  world.AddMap(0, contents);
  FakeMessageBoxes boxes;
  TMap map(0, world.Config(), boxes);
  const TBitmap32* overview = map.GetOverview();
  ASSERT_EQ(map.GetOverview(), overview);
  EXPECT_EQ(EntryOfColor(overview->Pixel(1, 1)), 32);
  const std::vector<TColor32> before(overview->Bits(), overview->Bits() + 384 * 256);
  for (TColor32 pixel : before) ASSERT_EQ(pixel >> 24, 255u);

  TBitmap32 pane;
  pane.SetDimensions(384, 256);
  pane.ClearTo(0);
  pane.DrawAt(0, 0, overview);
  pane.FillArea(0, 0, 10, 10, 0x12345678);
  EXPECT_EQ(std::vector<TColor32>(overview->Bits(), overview->Bits() + 384 * 256), before);
  EXPECT_EQ(pane.Pixel(20, 20), before[20 * 384 + 20]);

  auto again = map.BuildOverview();
  ASSERT_NE(again.get(), overview);
  EXPECT_EQ(std::vector<TColor32>(again->Bits(), again->Bits() + 384 * 256), before);
}

TEST(Overview, TilesBeyondTheColourTableGetTheFixedColour) {
  TTestWorld world;
  world.AddMap(0, TMapContents(1, 512));
  const std::pair<uint16_t, TColor32> cases[] = {
      {31129, RadarColorToColor32(31129)}, {31130, UnknownTileColor}, {65535, UnknownTileColor}};
  int i = 0;
  for (auto [tile, color] : cases) world.PatchCell(0, 16 * i++, 0, {tile, 0});
  FakeMessageBoxes boxes;
  TMap map(0, world.Config(), boxes);
  i = 0;
  for (auto [tile, color] : cases) EXPECT_EQ(map.GetOverview()->Pixel(i++, 0), color) << tile;
  EXPECT_EQ(map.LandColor(65535), UnknownTileColor);
  EXPECT_EQ(map.StaticColor(14745), RadarColorToColor32(31129));
  EXPECT_EQ(map.StaticColor(14746), UnknownTileColor);
}

TEST(Overview, CellsPastTheEndOfAShortFileShowTileZero) {
  TTestWorld world;
  TMapContents contents(3, 181);
  for (int y = 0; y < contents.CellsHigh(); ++y)
    for (int x = 0; x < contents.CellsWide(); ++x) contents.SetCell(x, y, {7, 0});
  world.AddMap(4, contents);
  FakeMessageBoxes boxes;
  TMap map(4, world.Config(), boxes);
  const TBitmap32* overview = map.GetOverview();
  // Column 6 samples X = 22, the last block column in the file; column 7
  // samples X = 26, past it.
  EXPECT_EQ(EntryOfColor(overview->Pixel(6, 100)), 7);
  EXPECT_EQ(EntryOfColor(overview->Pixel(7, 100)), 0);
  EXPECT_EQ(EntryOfColor(overview->Pixel(383, 255)), 0);
}

}  // namespace
}  // namespace wf
