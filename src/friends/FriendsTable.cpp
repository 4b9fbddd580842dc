#include "friends/FriendsTable.h"

#include <algorithm>

namespace wf::friends {

void FriendsTable::Heard(std::string_view id, std::string name, const SharedPosition& position, Time now) {
  if (id.empty() || id == ownId_) return;
  auto found = std::find_if(friends_.begin(), friends_.end(), [&](const Friend& f) { return f.id == id; });
  if (found == friends_.end()) {
    if (friends_.size() >= kMaxFriends) {
      found = std::min_element(friends_.begin(), friends_.end(),
                               [](const Friend& a, const Friend& b) { return a.heard < b.heard; });
      found->id.assign(id);
    } else {
      friends_.push_back(Friend{std::string(id), {}, {}, {}});
      found = friends_.end() - 1;
    }
  }
  found->name = std::move(name);
  found->position = position;
  found->heard = now;
  ++generation_;
}

void FriendsTable::Gone(std::string_view id) {
  const auto found = std::find_if(friends_.begin(), friends_.end(), [&](const Friend& f) { return f.id == id; });
  if (found == friends_.end()) return;
  friends_.erase(found);
  ++generation_;
}

void FriendsTable::Clear() {
  if (friends_.empty()) return;
  friends_.clear();
  ++generation_;
}

}  // namespace wf::friends
