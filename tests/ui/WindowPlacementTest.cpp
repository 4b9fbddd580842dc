// Where a window was left, as the configuration keeps it: what reads back and
// what is refused.

#include <gtest/gtest.h>

#include "ui/WindowPlacement.h"

namespace wf::ui {
namespace {

TEST(WindowPlacement, ReadsWhatItWritesAndRefusesAnythingElse) {
  struct Case {
    const char* text;
    std::optional<TWindowPlacement> placement;
  } cases[] = {
      {"10,20,500,400", TWindowPlacement{10, 20, 500, 400, false}},
      {"-1920,-8,-100,1000,maximized", TWindowPlacement{-1920, -8, -100, 1000, true}},  // a monitor on the left
      {"10,20,500", std::nullopt},
      {"10,20,500,400,", std::nullopt},
      {"10,20,500,400,minimized", std::nullopt},
      {"10, 20,500,400", TWindowPlacement{10, 20, 500, 400, false}},  // integer text allows leading spaces
      {"10,20,500,400 ", std::nullopt},
      {"500,20,500,400", std::nullopt},  // no width
      {"10,400,500,20", std::nullopt},
      {"10,20,500,99999999999", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParsePlacement(c.text), c.placement);
    if (c.placement) {
      EXPECT_EQ(ParsePlacement(PlacementText(*c.placement)), c.placement);
    }
  }
}

}  // namespace
}  // namespace wf::ui
