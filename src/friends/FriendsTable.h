#pragma once
// The friends heard so far: the newest position per id, bounded so that any
// number of ids (10,000 bots on one group) costs no more than kMaxFriends.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "friends/FriendsLink.h"

namespace wf::friends {

inline constexpr std::size_t kMaxFriends = 256;

class FriendsTable {
 public:
  using Time = std::chrono::steady_clock::time_point;

  explicit FriendsTable(std::string ownId = {}) : ownId_(std::move(ownId)) {}

  // The newest news of `id`; when the table is full the friend unheard the
  // longest makes room. The player's own id is never kept.
  void Heard(std::string_view id, std::string name, const SharedPosition& position, Time now);
  // An empty message: the friend has gone.
  void Gone(std::string_view id);
  void Clear();

  const std::vector<Friend>& Friends() const { return friends_; }
  // Grows with every change to the table.
  uint64_t Generation() const { return generation_; }

 private:
  std::string ownId_;
  std::vector<Friend> friends_;
  uint64_t generation_ = 0;
};

}  // namespace wf::friends
