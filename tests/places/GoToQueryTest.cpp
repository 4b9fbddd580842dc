#include <gtest/gtest.h>

#include <tuple>

#include "places/GoToQuery.h"

namespace wf::places {
namespace {

using TKind = TGoToQuery::TKind;

TEST(GoToQuery, TellsNamesCellsReadingsAndRefusals) {
  const std::string anything = "Expected a place name";
  const std::string cell = "Expected \"X Y\"";
  const std::string sextant = "Expected a sextant reading";
  struct Case {
    const char* typed;
    TKind kind;
    std::string nameOrMessage;  // the name looked for, or how the message starts
    int32_t x = 0, y = 0;
    bool fromSextant = false;
  } cases[] = {
      {"Brit", TKind::Name, "Brit"},
      {"  Britain Bank \t", TKind::Name, "Britain Bank"},
      {"12 x", TKind::Name, "12 x"},
      {"Ort12", TKind::Name, "Ort12"},
      {"One 2", TKind::Name, "One 2"},
      {"North 5", TKind::Name, "North 5"},
      {"\xD6" " 5", TKind::Name, "\xD6" " 5"},
      {"Wall 72\xB0", TKind::Name, "Wall 72\xB0"},
      {"1600 800", TKind::Cell, "", 1600, 800},
      {"1600,800", TKind::Cell, "", 1600, 800},
      {" 0 , 65535 ", TKind::Cell, "", 0, 65535},
      {"72\xB0" "25'N 19\xB0" "28'E", TKind::Cell, "", 1600, 800, true},
      {"0 0 S 0 0 E", TKind::Cell, "", 1323, 1624, true},
      {"", TKind::Refused, anything},
      {"   ", TKind::Refused, anything},
      {"1200 99999", TKind::Refused, cell},
      {"65536 0", TKind::Refused, cell},
      {"99999999999999999999 1", TKind::Refused, cell},
      {"1200", TKind::Refused, cell},
      {"-5 10", TKind::Refused, cell},
      {"12.5 30", TKind::Refused, cell},
      {"1 2 3", TKind::Refused, cell},
      {"72 25 N 19 28", TKind::Refused, sextant},
      {"72\xB0" "60'N 19\xB0" "28'E", TKind::Refused, sextant},
      {"72o25'N", TKind::Refused, sextant},
      {"5 E", TKind::Refused, sextant},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const TGoToQuery query = ReadGoTo(c.typed);
    EXPECT_EQ(query.Kind, c.kind);
    if (c.kind == TKind::Name) { EXPECT_EQ(query.Name, c.nameOrMessage); }
    if (c.kind == TKind::Cell) {
      EXPECT_EQ(std::tuple(query.X, query.Y, query.FromSextant), std::tuple(c.x, c.y, c.fromSextant));
    }
    if (c.kind == TKind::Refused) { EXPECT_TRUE(query.Message.starts_with(c.nameOrMessage)) << query.Message; }
  }
}

}  // namespace
}  // namespace wf::places
