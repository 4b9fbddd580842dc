#include <gtest/gtest.h>

#include "friends/FriendsTable.h"

namespace wf::friends {
namespace {

using namespace std::chrono_literals;

TEST(FriendsTable, KeepsTheNewestPerIdAndNeverThePlayer) {
  FriendsTable table("me");
  const FriendsTable::Time t0{};
  table.Heard("a", "Aria", {1, 1, {}, 0}, t0);
  table.Heard("me", "Self", {2, 2, {}, 0}, t0);
  table.Heard("a", "Aria2", {3, 3, {}, 1}, t0 + 1s);
  ASSERT_EQ(table.Friends().size(), 1u);
  EXPECT_EQ(table.Friends()[0].name, "Aria2");
  EXPECT_EQ(table.Friends()[0].position, (SharedPosition{3, 3, {}, 1}));
  const uint64_t before = table.Generation();
  table.Gone("nobody");
  EXPECT_EQ(table.Generation(), before);
  table.Gone("a");
  EXPECT_TRUE(table.Friends().empty());
  EXPECT_GT(table.Generation(), before);
}

TEST(FriendsTable, TenThousandIdsKeepTheNewestFew) {
  FriendsTable table("me");
  const FriendsTable::Time t0{};
  for (int i = 0; i < 10000; ++i) table.Heard("id" + std::to_string(i), "n", {1, 1, {}, 0}, t0 + i * 1ms);
  ASSERT_EQ(table.Friends().size(), kMaxFriends);
  // The longest unheard went first: the newest kMaxFriends are left.
  for (const Friend& f : table.Friends()) EXPECT_GE(std::stoi(f.id.substr(2)), 10000 - int(kMaxFriends)) << f.id;
}

}  // namespace
}  // namespace wf::friends
