#include <gtest/gtest.h>

#include "mapdata/MapTable.h"
#include "places/Sextant.h"

namespace wf::places {
namespace {

TEST(Sextant, ReadingsOnEveryArea) {
  struct Case {
    const char* name;
    int map, x, y;
    std::optional<std::string> text;
  } cases[] = {
      {"at the surface centre", 0, 1323, 1624, "0\xB0" "0'S 0\xB0" "0'E"},
      {"one cell north-west", 0, 1322, 1623, "0\xB0" "5'N 0\xB0" "4'W"},
      // (2000 - 1323) * 360 / 5120 = 47.6015...: 47 degrees 36 minutes.
      {"south-east", 1, 2000, 2000, "33\xB0" "2'S 47\xB0" "36'E"},
      // (0 - 1323) * 360 / 5120 = -93.02...; (0 - 1624) * 360 / 4096 = -142.73...
      {"top left corner", 0, 0, 0, "142\xB0" "44'N 93\xB0" "1'W"},
      // (4000 - 1323) * 360 / 5120 = 188.2...: past 180, so 188.2 - 360 = -171.77.
      {"far east wraps to west", 0, 4000, 1624, "0\xB0" "0'S 171\xB0" "46'W"},
      // Exactly 180 degrees stays east.
      {"exactly half round", 2, 1323 + 2560, 1624, "0\xB0" "0'S 180\xB0" "0'E"},
      {"dungeon centre", 0, 5936, 3112, "0\xB0" "0'S 0\xB0" "0'E"},
      {"dungeon corner", 1, 5120, 2304, "71\xB0" "0'N 57\xB0" "22'W"},
      {"east of the surface, above the dungeons", 0, 5200, 2000, std::nullopt},
      {"beyond the dungeons", 0, 6144, 3000, std::nullopt},
      {"below the surface rows", 1, 100, 4096, std::nullopt},
      {"other maps read from the surface centre everywhere", 3, 6000, 100,
       "133\xB0" "56'N 31\xB0" "8'W"},
      {"map five as well", 5, 1323, 1624, "0\xB0" "0'S 0\xB0" "0'E"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SextantText(c.map, c.x, c.y), c.text);
  }
}

}  // namespace
}  // namespace wf::places

namespace wf::places {

// Failures name cells and readings as numbers, not as their bytes.
void PrintTo(const TSextantCell& cell, std::ostream* out) { *out << cell.X << "," << cell.Y; }
void PrintTo(const TSextantReading& reading, std::ostream* out) {
  *out << reading.Latitude << "' south, " << reading.Longitude << "' east";
}

namespace {

constexpr TSextantReading kTreasure{-(72 * 60 + 25), 19 * 60 + 28};  // 72°25'N 19°28'E

TEST(Sextant, ReadsEveryWrittenForm) {
  struct Case {
    const char* text;
    std::optional<TSextantReading> reading;
  } cases[] = {
      {"72\xB0" "25'N 19\xB0" "28'E", kTreasure},
      {"72\xC2\xB0" "25'N 19\xC2\xB0" "28'E", kTreasure},
      {"72o25'N 19o28'E", kTreasure},
      {"72O25'N 19O28'E", kTreasure},
      {"72 25 N 19 28 E", kTreasure},
      {"72\xB0" "25'n 19\xB0" "28'e", kTreasure},
      {"72\xB0" "25'N19\xB0" "28'E", kTreasure},
      {"72o25n19o28e", kTreasure},
      {"  72 \xB0 25 ' N ,  19 \xB0 28 ' E  ", kTreasure},
      {"72\xB0" "25'N, 19\xB0" "28'E", kTreasure},
      {"19\xB0" "28'E 72\xB0" "25'N", kTreasure},
      {"72\xB0" "25\x92N 19\xB0" "28\xE2\x80\xB2" "E", kTreasure},
      {"072\xB0" "05'S 0\xB0" "0'W", TSextantReading{72 * 60 + 5, 0}},
      {"0\xB0" "0'S 180\xB0" "0'E", TSextantReading{0, 180 * 60}},
      {"180\xB0" "0'N 93\xB0" "1'W", TSextantReading{-180 * 60, -(93 * 60 + 1)}},
      // Refused: out of range, half a reading, two of one kind, or more text.
      {"72\xB0" "60'N 19\xB0" "28'E", std::nullopt},
      {"181\xB0" "0'N 19\xB0" "28'E", std::nullopt},
      {"180\xB0" "1'N 19\xB0" "28'E", std::nullopt},
      {"1072\xB0" "0'N 19\xB0" "28'E", std::nullopt},
      {"72\xB0" "25'N", std::nullopt},
      {"72\xB0" "25'N 19\xB0" "28'S", std::nullopt},
      {"72\xB0" "25' 19\xB0" "28'E", std::nullopt},
      {"72\xB0" "25'North 19\xB0" "28'East", std::nullopt},
      {"7225N 1928E", std::nullopt},
      {"72\xB0\xB0" "25'N 19\xB0" "28'E", std::nullopt},
      {"\xB0" "25'N 19\xB0" "28'E", std::nullopt},
      {"72\xB0" "25'N 19\xB0" "28'E 5", std::nullopt},
      {"at 72\xB0" "25'N 19\xB0" "28'E", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseSextant(c.text), c.reading);
  }
}

// A cell is 5.3 minutes high and 4.2 minutes wide, so most minutes belong to
// no cell; those go to the cell nearest the minute's start.
TEST(Sextant, ReadingsNoCellHasGoToTheNearest) {
  struct Case {
    const char* text;
    TSextantCell cell;
  } cases[] = {
      {"0\xB0" "0'N 0\xB0" "0'W", {1323, 1624}},
      {"0\xB0" "2'N 0\xB0" "2'E", {1323, 1624}},  // 0.38 and 0.47 cells out
      {"0\xB0" "3'N 0\xB0" "3'E", {1324, 1623}},  // 0.57 and 0.71 cells out
      {"180\xB0" "0'W 0\xB0" "0'S", {1323 + 2560, 1624}},
      {"180\xB0" "0'N 93\xB0" "1'W", {1323 - 1323, 1624 + 2048}},
      {"150\xB0" "0'N 170\xB0" "0'W", {1323 - 2418 + 5120, 1624 - 1707 + 4096}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<TSextantReading> reading = ParseSextant(c.text);
    ASSERT_TRUE(reading);
    EXPECT_EQ(SextantCell(*reading), c.cell);
  }
}

// Every failing cell would be reported, so only the first of each map is.
TEST(Sextant, EveryReadingReadsBackToItsCell) {
  for (const TMapSlot& slot : MapSlots) {
    for (const TMapSize size : {slot.Size, slot.LargeSize}) {
      const int32_t width = size.BlocksWide * 8, height = size.BlocksHigh * 8;
      int checked = 0, wrong = 0;
      std::string first;
      const auto check = [&](int32_t x, int32_t y) {
        const std::optional<std::string> text = SextantText(slot.Number, x, y);
        if (!text) return;
        ++checked;
        const std::optional<TSextantReading> reading = ParseSextant(*text);
        const TSextantCell cell = reading ? SextantCell(*reading) : TSextantCell{-1, -1};
        // The main lands repeat the dungeons' readings.
        const bool oneToOne = slot.Number > 1 || x < 5120;
        if (SextantText(slot.Number, cell.X, cell.Y) == text && (!oneToOne || cell == TSextantCell{x, y}))
          return;
        if (wrong++ == 0)
          first = *text + " of " + std::to_string(x) + "," + std::to_string(y) + " read back as " +
                  std::to_string(cell.X) + "," + std::to_string(cell.Y);
      };
      for (int32_t x = 0; x < width; x += 13)
        for (int32_t y = 0; y < height; y += 17) check(x, y);
      for (int32_t y = 0; y < height; y += 5) check(width - 1, y);
      for (int32_t x = 0; x < width; x += 5) check(x, height - 1);
      SCOPED_TRACE("map " + std::to_string(slot.Number) + ", " + std::to_string(width) + " wide");
      EXPECT_EQ(wrong, 0) << first;
      EXPECT_GT(checked, width / 13 * (height / 17) / 2);
    }
  }
}

}  // namespace
}  // namespace wf::places
