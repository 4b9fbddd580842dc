// What the friends' list and the windows tell of a friend without drawing:
// distance and direction, how long ago heard, the colours, the rows' order
// and the friend chosen kept chosen.

#include <gtest/gtest.h>

#include <set>

#include "ui/FriendsList.h"

namespace wf::ui {
namespace {

using namespace std::chrono_literals;

const TFriendsClock::time_point kNow{10h};

friends::Friend Friend(const char* id, const char* name, int x, int y, int map, TFriendsClock::duration ago = 0s) {
  return {id, name, {x, y, std::nullopt, map}, kNow - ago};
}

TEST(FriendsText, DistanceInTilesAsTheGameCountsWithTheDirection) {
  struct Case {
    TMapSpot to;
    const char* text;
  } cases[] = {
      {{1000, 1000, 0}, "here"},
      {{1000, 999, 0}, "1 tile N"},
      {{1120, 880, 0}, "120 tiles NE"},
      {{1120, 1000, 0}, "120 tiles E"},
      {{1100, 1041, 0}, "100 tiles E"},    // 41 of 100 is within 22.5 degrees of east
      {{1100, 1042, 0}, "100 tiles SE"},   // 42 of 100 is not
      {{1030, 1100, 0}, "100 tiles S"},
      {{900, 1100, 0}, "100 tiles SW"},
      {{700, 1010, 0}, "300 tiles W"},
      {{990, 0, 0}, "1000 tiles N"},
      {{0, 0, 0}, "1000 tiles NW"},
      {{1000, 1000, 1}, "other map"},
  };
  const TMapSpot player{1000, 1000, 0};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(DistanceText(player, c.to), c.text);
  }
}

TEST(FriendsText, HowLongAgoHeardAndTheLinksState) {
  const std::pair<TFriendsClock::duration, const char*> heard[] = {
      {0s, "now"}, {59s, "now"}, {60s, "1 min"}, {150s, "2 min"}, {3599s, "59 min"}, {3600s, "1 h"}, {-5s, "now"}};
  for (const auto& [ago, text] : heard) EXPECT_EQ(HeardText(kNow - ago, kNow), text) << text;
  const std::pair<friends::LinkState, const char*> states[] = {
      {friends::LinkState::Off, ""},
      {friends::LinkState::Connected, ""},
      {friends::LinkState::Connecting, "Friends: connecting..."},
      {friends::LinkState::Refused, "Friends: refused"},
      {friends::LinkState::NotTrusted, "Friends: certificate not trusted"}};
  for (const auto& [state, text] : states) EXPECT_EQ(LinkStateText(state), text) << text;
}

TEST(FriendsText, ColoursAreTwelveNoneThePlayersAndEachIdKeepsItsOwn) {
  std::set<TColor32> palette(std::begin(FriendColours), std::end(FriendColours));
  EXPECT_EQ(palette.size(), 12u);
  EXPECT_EQ(palette.count(0xFFFF0000), 0u) << "the player's red";
  std::set<TColor32> used;
  for (int i = 0; i < 200; ++i) {
    const std::string id = "00000000000000" + std::to_string(10 + i);
    EXPECT_EQ(palette.count(FriendColour(id)), 1u);
    EXPECT_EQ(FriendColour(id), FriendColour(std::string(id))) << "the same id, the same colour";
    used.insert(FriendColour(id));
  }
  EXPECT_EQ(used.size(), 12u) << "ids that differ in their last digits still spread over the palette";
}

// A row as one line, so that a failing row shows what differs.
std::string Line(const TFriendRow& row) {
  return row.Id + " | " + row.Name + " | " + row.Facet + " | " + row.Cell + " | " + row.Sextant + " | " +
         row.Distance + " | " + row.Heard;
}

TEST(FriendsList, RowsByDistanceThenOtherMapsAndByNameWhileThePlayerIsUnknown) {
  const std::vector<friends::Friend> heard = {
      Friend("c", "Cyd", 1500, 1500, 1, 30s),   Friend("a", "\xD0\x90\xD0\xBD\xD1\x8F", 1400, 1000, 0, 150s),
      Friend("b", "Bo", 1010, 990, 0),          Friend("d", "Ann", 1400, 1000, 0),
      Friend("e", "Eve", 200, 300, 2),
  };
  const std::vector<TFriendRow> rows = FriendRows(heard, TMapSpot{1000, 1000, 0}, kNow);
  const std::vector<std::string> expected = {
      "b | Bo | Felucca | 1010 990 | 55\xC2\xB0" "43'N 22\xC2\xB0" "0'W | 10 tiles NE | now",
      "d | Ann | Felucca | 1400 1000 | 54\xC2\xB0" "50'N 5\xC2\xB0" "24'E | 400 tiles E | now",
      "a | \xD0\x90\xD0\xBD\xD1\x8F | Felucca | 1400 1000 | 54\xC2\xB0" "50'N 5\xC2\xB0" "24'E | 400 tiles E | 2 min",
      "c | Cyd | Trammel | 1500 1500 | 10\xC2\xB0" "53'N 12\xC2\xB0" "26'E | other map | now",
      "e | Eve | Ilshenar | 200 300 | 116\xC2\xB0" "22'N 78\xC2\xB0" "57'W | other map | now",
  };
  EXPECT_EQ(rows.size(), expected.size());
  for (size_t i = 0; i < std::min(rows.size(), expected.size()); ++i) EXPECT_EQ(Line(rows[i]), expected[i]);

  std::vector<std::string> byName;
  for (const TFriendRow& row : FriendRows(heard, std::nullopt, kNow)) {
    byName.push_back(row.Id);
    EXPECT_EQ(row.Distance, "") << row.Id;
  }
  EXPECT_EQ(byName, (std::vector<std::string>{"d", "b", "c", "e", "a"}));
}

TEST(FriendsList, TheFriendChosenStaysChosenAsTheRowsMoveUntilItIsNoLongerHeard) {
  TFriendsList list;
  const TMapSpot player{1000, 1000, 0};
  list.Update(std::vector{Friend("a", "Ann", 1010, 1000, 0), Friend("b", "Bo", 1100, 1000, 0)}, player, kNow);
  list.Select(1);
  EXPECT_EQ(list.Row(list.Selected())->Id, "b");
  // Bo comes nearer than Ann.
  list.Update(std::vector{Friend("a", "Ann", 1010, 1000, 0), Friend("b", "Bo", 1001, 1000, 0)}, player, kNow);
  EXPECT_EQ(list.Selected(), 0);
  EXPECT_EQ(list.Row(0)->Id, "b");
  // Bo is gone, and does not come back chosen.
  list.Update(std::vector{Friend("a", "Ann", 1010, 1000, 0)}, player, kNow);
  EXPECT_EQ(list.Selected(), -1);
  list.Update(std::vector{Friend("a", "Ann", 1010, 1000, 0), Friend("b", "Bo", 1001, 1000, 0)}, player, kNow);
  EXPECT_EQ(list.Selected(), -1);
  list.Select(7);
  EXPECT_EQ(list.Selected(), -1);
  EXPECT_EQ(list.Row(-1), nullptr);
}

}  // namespace
}  // namespace wf::ui
