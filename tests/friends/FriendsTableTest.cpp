#include <gtest/gtest.h>

#include "friends/FriendsTable.h"

namespace wf::friends {
namespace {

using namespace std::chrono_literals;

// Newest per id, the player's own id and empty messages: SessionTest.HearsFriendsOfItsGroupOnly.
TEST(FriendsTable, TenThousandIdsKeepTheNewestFew) {
  FriendsTable table("me");
  const FriendsTable::Time t0{};
  for (int i = 0; i < 10000; ++i) table.Heard("id" + std::to_string(i), "n", {1, 1, {}, 0}, t0 + i * 1ms);
  ASSERT_EQ(table.Friends().size(), kMaxFriends);
  // The longest unheard went first: the newest kMaxFriends are left.
  for (const Friend& f : table.Friends()) EXPECT_GE(std::stoi(f.id.substr(2)), 10000 - int(kMaxFriends)) << f.id;
  const uint64_t generation = table.Generation();
  table.Gone("nobody");
  EXPECT_EQ(table.Generation(), generation);
  table.Gone("id9999");
  EXPECT_GT(table.Generation(), generation);
}

}  // namespace
}  // namespace wf::friends
