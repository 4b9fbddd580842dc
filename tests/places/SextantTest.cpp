#include <gtest/gtest.h>

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
