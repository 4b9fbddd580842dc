#include <gtest/gtest.h>

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

constexpr TColor32 Clear = 0x00FFFFFF;

// Every cell of the first block columns shows which cell it is: tile
// x * 100 + y (below 31130 for x < 310), altitude 0.
TMapContents NumberedCells(int32_t blocksWide, int32_t blocksHigh) {
  TMapContents contents(blocksWide, blocksHigh);
  for (int x = 0; x < contents.CellsWide(); ++x)
    for (int y = 0; y < std::min(contents.CellsHigh(), 100); ++y)
      contents.SetCell(x, y, {static_cast<uint16_t>(x * 100 + y), 0});
  return contents;
}

TEST(DetailView, CellsAtZeroAndBeyondTheMapStayClear) {
  TTestWorld world;
  world.AddMap(0, NumberedCells(7, 512));
  world.PatchCell(0, 6143, 100, {4321, 0});
  world.PatchCell(0, 6142, 100, {4320, 0});
  FakeMessageBoxes boxes;
  TMap map(0, world.Config(), boxes);

  auto origin = map.RenderDetail(0, 0, 1);
  ASSERT_NE(origin, nullptr);
  ASSERT_EQ(origin->Width(), 100);
  ASSERT_EQ(origin->Height(), 100);
  for (int i = 0; i < 100; ++i)
    for (int j = 0; j < 100; ++j) {
      if (i <= 50 || j <= 50)
        ASSERT_EQ(origin->Pixel(j, i), Clear) << j << "," << i;
      else
        ASSERT_EQ(EntryOfColor(origin->Pixel(j, i)), (j - 50) * 100 + (i - 50)) << j << "," << i;
    }

  // Centre (6140, 100): column 53 shows X = 6143, the last cell across.
  auto east = map.RenderDetail(6140, 100, 1);
  EXPECT_EQ(EntryOfColor(east->Pixel(53, 50)), 4321);
  EXPECT_EQ(EntryOfColor(east->Pixel(52, 50)), 4320);
  for (int i = 0; i < 100; ++i)
    for (int j = 54; j < 100; ++j) ASSERT_EQ(east->Pixel(j, i), Clear) << j << "," << i;

  // Likewise at the bottom edge, and a centre far beyond the map on any map.
  auto south = map.RenderDetail(10, 4094, 1);
  EXPECT_NE(south->Pixel(50, 51), Clear);
  EXPECT_EQ(south->Pixel(50, 52), Clear);
  for (int32_t number : {0, 2, 3, 4}) {
    TTestWorld other;
    other.AddMap(number, TMapContents(1, MapSizeOf(number).BlocksHigh));
    TMap far(number, other.Config(), boxes);
    for (auto [x, y] : {std::pair{65535, 100}, {100, 65535}}) {
      auto picture = far.RenderDetail(static_cast<uint16_t>(x), static_cast<uint16_t>(y), 1);
      for (int i = 0; i < 100; ++i)
        for (int j = 0; j < 100; ++j) ASSERT_EQ(picture->Pixel(j, i), Clear) << number;
    }
  }
}

TEST(DetailView, ZoomSpreadsTheSamplesAcrossTheMap) {
  TTestWorld world;
  world.AddMap(0, TMapContents(1, 512));
  world.PatchCell(0, 16, 800, {16, 0});
  world.PatchCell(0, 1584, 800, {1584, 0});
  world.PatchCell(0, 1585, 800, {1585, 0});
  world.PatchCell(0, 800, 816, {816, 0});
  FakeMessageBoxes boxes;
  TMap map(0, world.Config(), boxes);
  auto picture = map.RenderDetail(800, 800, 16);
  EXPECT_EQ(picture->Pixel(0, 50), Clear);  // X = 0
  EXPECT_EQ(EntryOfColor(picture->Pixel(1, 50)), 16);
  EXPECT_EQ(EntryOfColor(picture->Pixel(99, 50)), 1584);
  EXPECT_EQ(EntryOfColor(picture->Pixel(50, 51)), 816);
  EXPECT_EQ(picture->Pixel(50, 0), Clear);  // Y = 0
  EXPECT_NE(picture->Pixel(50, 1), Clear);

  // Zoom 0 shows the centre cell everywhere but at the clear edges.
  world.PatchCell(0, 5, 6, {56, 0});
  auto still = map.RenderDetail(5, 6, 0);
  for (int i = 0; i < 100; ++i)
    for (int j = 0; j < 100; ++j) ASSERT_EQ(EntryOfColor(still->Pixel(j, i)), 56);
}

// One cell with land at some altitude and chosen statics; what the pixel shows.
struct StaticCase {
  const char* name;
  int8_t land;
  std::vector<TStaticItem> records;  // in file order, all in the cell's block
  int expected;                      // table entry, -1 for the fixed colour
};

TEST(DetailView, TheHighestStaticAboveTheLandGivesTheColour) {
  // The cell is (11, 13): X 3, Y 5 within its block.
  const StaticCase cases[] = {
      {"no statics", 5, {}, 20},
      {"static at the land's altitude", 5, {{300, 3, 5, 5}}, 20},
      {"static one above", 5, {{300, 3, 5, 6}}, 16384 + 300},
      {"static below the land", 20, {{300, 3, 5, 10}}, 20},
      {"the first of two at the same altitude", 5, {{300, 3, 5, 9}, {301, 3, 5, 9}}, 16384 + 300},
      {"the highest, not the first", 5, {{300, 3, 5, 7}, {301, 3, 5, 30}, {302, 3, 5, 8}}, 16384 + 301},
      {"a higher one below the land does not hide one above", 0,
       {{300, 3, 5, 40}, {301, 3, 5, 2}}, 16384 + 300},
      {"records of other cells", 5, {{300, 5, 3, 50}, {301, 3, 4, 50}, {302, 4, 5, 50}}, 20},
      {"records on no cell", 5, {{300, 11, 5, 50}, {301, 3, 13, 50}, {302, 255, 255, 50}}, 20},
      {"-128 is never chosen", -128, {{300, 3, 5, -128}}, 20},
      {"-127 above land at -128", -128, {{300, 3, 5, -127}}, 16384 + 300},
      {"static tile 14745", 5, {{14745, 3, 5, 6}}, 31129},
      {"static tile 14746", 5, {{14746, 3, 5, 6}}, -1},
      {"static tile 65535", 5, {{65535, 3, 5, 6}}, -1},
  };
  for (const StaticCase& c : cases) {
    SCOPED_TRACE(c.name);
    TTestWorld world;
    TMapContents contents(3, 181);
    contents.SetCell(11, 13, {20, c.land});
    for (const TStaticItem& item : c.records) contents.AddStaticRecord(BlockNumberOf(11, 13, 181), item);
    world.AddMap(4, contents);
    FakeMessageBoxes boxes;
    TMap map(4, world.Config(), boxes);
    for (uint16_t zoom : {1, 3}) {
      SCOPED_TRACE(zoom);
      auto picture = map.RenderDetail(11, 13, zoom);
      const TColor32 pixel = picture->Pixel(50, 50);
      if (c.expected < 0)
        EXPECT_EQ(pixel, UnknownTileColor);
      else
        EXPECT_EQ(EntryOfColor(pixel), c.expected);
    }
  }
}

// Index entries of every kind of damage; true when the block's one static
// (tile 300 at altitude 50 on cell (11, 13), the block's only record, at
// offset 0 of the statics file) is to be seen.
TEST(DetailView, DamagedIndexEntriesCountAsNoStatics) {
  struct Case {
    const char* name;
    int32_t offset;
    uint32_t length;
    bool shown;
  };
  const Case cases[] = {
      {"sound", 0, 7, true},
      {"length with a remainder", 0, 13, true},
      {"length 6, no whole record", 0, 6, false},
      {"length 0", 0, 0, false},
      {"length all bits set", 0, 0xFFFFFFFF, false},
      {"offset -1", -1, 7, false},
      {"another negative offset", -7, 14, false},
      {"the most negative offset", INT32_MIN, 7, false},
      {"records reaching past the end", 0, 14, false},
      {"offset past the end", 7, 7, false},
      {"offset far past the end", 0x7FFFFFF0, 7, false},
      {"a huge length", 0, 0x7FFFFFFF, false},
      {"more records than a block can hold", 0, 7 * (MaxStaticsPerBlock + 1), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTestWorld world;
    TMapContents contents(3, 181);
    contents.SetCell(11, 13, {20, 0});
    contents.AddStatic(11, 13, 300, 50);
    world.AddMap(4, contents);
    std::vector<unsigned char> entry(StaIdxEntryBytes);
    EncodeStaIdxEntry(entry.data(), {c.offset, c.length, 0});
    world.Patch("staidx4", BlockNumberOf(11, 13, 181) * StaIdxEntryBytes, entry);
    FakeMessageBoxes boxes;
    TMap map(4, world.Config(), boxes);
    EXPECT_EQ(EntryOfColor(map.RenderDetail(11, 13, 1)->Pixel(50, 50)), c.shown ? 16384 + 300 : 20);
  }
}

TEST(DetailView, ABlockWithImplausiblyManyRecordsHasNoStatics) {
  for (uint32_t count : {MaxStaticsPerBlock, MaxStaticsPerBlock + 1}) {
    TTestWorld world;
    TMapContents contents(3, 181);
    contents.SetCell(11, 13, {20, 0});
    contents.AddStatic(11, 13, 300, 50);
    for (uint32_t n = 1; n < count; ++n) contents.AddStatic(12, 13, 301, 50);
    world.AddMap(4, contents);
    FakeMessageBoxes boxes;
    TMap map(4, world.Config(), boxes);
    EXPECT_EQ(EntryOfColor(map.RenderDetail(11, 13, 1)->Pixel(50, 50)),
              count <= MaxStaticsPerBlock ? 16384 + 300 : 20)
        << count;
  }
}

TEST(DetailView, DataPastTheEndOfItsFileIsTileZeroWithoutStatics) {
  TTestWorld world;
  TMapContents contents(3, 181);
  contents.SetCell(11, 13, {20, 0});
  contents.AddStatic(11, 13, 300, 50);
  contents.SetCell(19, 13, {21, 0});
  contents.AddStatic(19, 13, 301, 50);
  world.AddMap(4, contents);
  // The index ends after the offset of the entry of the block of (19, 13), the map cell
  // file before that block.
  std::vector<unsigned char> index = world.Contents("staidx4");
  index.resize(BlockNumberOf(19, 13, 181) * StaIdxEntryBytes + 4);
  world.Replace("staidx4", index);
  std::vector<unsigned char> cells = world.Contents("map4");
  cells.resize(BlockNumberOf(19, 13, 181) * MapBlockBytes);
  world.Replace("map4", cells);
  FakeMessageBoxes boxes;
  TMap map(4, world.Config(), boxes);
  auto picture = map.RenderDetail(11, 13, 1);
  EXPECT_EQ(EntryOfColor(picture->Pixel(50, 50)), 16384 + 300);
  EXPECT_EQ(picture->Pixel(58, 50), RadarColorToColor32(0));  // drawn, tile 0, no statics
  EXPECT_EQ(picture->Pixel(99, 99), RadarColorToColor32(0));

  world.Replace("statics4", {});
  TMap noStatics(4, world.Config(), boxes);
  EXPECT_EQ(EntryOfColor(noStatics.RenderDetail(11, 13, 1)->Pixel(50, 50)), 20);
}

TEST(DetailView, EveryCallMakesANewPictureAndTheMapKeepsNone) {
  TTestWorld world;
  TMapContents contents = NumberedCells(3, 181);
  contents.AddStatic(12, 12, 400, 10);
  world.AddMap(4, contents);
  FakeMessageBoxes boxes;
  TMap map(4, world.Config(), boxes);
  auto first = map.RenderDetail(12, 12, 1);
  auto second = map.RenderDetail(12, 12, 1);
  ASSERT_NE(first.get(), second.get());
  EXPECT_EQ(std::vector<TColor32>(first->Bits(), first->Bits() + 10000),
            std::vector<TColor32>(second->Bits(), second->Bits() + 10000));
  EXPECT_EQ(EntryOfColor(first->Pixel(50, 50)), 16384 + 400);
  first->ClearTo(0);
  EXPECT_EQ(EntryOfColor(map.RenderDetail(12, 12, 1)->Pixel(50, 50)), 16384 + 400);
}

}  // namespace
}  // namespace wf
