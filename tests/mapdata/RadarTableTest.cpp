#include <gtest/gtest.h>

#include <vector>

#include "TestWorld.h"
#include "mapdata/Map.h"

namespace wf {
namespace {

using testing::FakeMessageBoxes;
using testing::TTestWorld;
using worldgen::TMapContents;

// Values that tell their entry apart: 0x0100 | (entry mod 0xF00), never 0.
uint16_t ValueOf(size_t entry) { return static_cast<uint16_t>(0x100 + entry % 0xF00); }

std::vector<unsigned char> ColorFile(size_t values, bool oddByte = false) {
  std::vector<uint16_t> table(values);
  for (size_t i = 0; i < values; ++i) table[i] = ValueOf(i);
  std::vector<unsigned char> bytes = worldgen::RadarColorFile(table);
  if (oddByte) bytes.push_back(0x7C);
  return bytes;
}

TEST(RadarTable, NewerTilesTakeTheFilesColoursWhereItHoldsThemAndBlackBeyond) {
  // Map 4: land tiles on row 10, statics on row 20, one cell each.
  const uint16_t landTiles[] = {31129, 31130, 40000, 65535};
  const uint16_t staticTiles[] = {14745, 14746, 20000, 65499, 65500, 65535};
  TMapContents contents(4, 181);
  for (int k = 0; k < 4; ++k) contents.SetTile(2 + k, 10, landTiles[k]);
  for (int k = 0; k < 6; ++k) contents.AddStatic(2 + k, 20, staticTiles[k], 10);

  struct Case {
    const char* name;
    std::vector<unsigned char> file;
    size_t held;  // entries the file holds whole
  };
  const Case cases[] = {
      {"the older size", ColorFile(31130), 31130},
      {"today's size", ColorFile(81884), 81884},
      {"today's size and an odd byte", ColorFile(81884, true), 81884},
      {"between the two", ColorFile(40001), 40001},
      {"shorter than the older size", ColorFile(30000), 30000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTestWorld world;
    world.SetRadarBytes(c.file);
    world.AddMap(4, contents);
    FakeMessageBoxes boxes;
    TMap map(4, world.Config(), boxes);
    ASSERT_TRUE(map.IsLoaded());
    const auto expected = [&](size_t entry) -> TColor32 {
      if (entry < RadarColorCount)  // as the older table: a short file repeats its last value
        return RadarColorToColor32(ValueOf(std::min(entry, c.held - 1)));
      return entry < c.held ? RadarColorToColor32(ValueOf(entry)) : UnknownTileColor;
    };
    const auto picture = map.RenderDetail(50, 50, 1);
    for (int k = 0; k < 4; ++k)
      EXPECT_EQ(picture->Pixel(2 + k, 10), expected(landTiles[k])) << "land " << landTiles[k];
    for (int k = 0; k < 6; ++k)
      EXPECT_EQ(picture->Pixel(2 + k, 20), expected(StaticColorBase + staticTiles[k])) << "static " << staticTiles[k];
  }
}

}  // namespace
}  // namespace wf
