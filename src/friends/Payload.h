#pragma once
// The position message: UTF-8 JSON such as
//   {"v":1,"name":"Aria","x":1600,"y":800,"map":0}   ("z" where known)
// Anyone may publish on a group's topics, so everything read is checked and
// whatever does not fit is dropped rather than shown.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "friends/FriendsLink.h"

namespace wf::friends {

inline constexpr std::size_t kMaxNameCharacters = 32;
inline constexpr int kMinZ = -128;
inline constexpr int kMaxZ = 127;

struct HeardPosition {
  std::string name;
  SharedPosition position;
};

// Nothing unless it is a version 1 message with a name and a position inside
// one of the game's maps.
std::optional<HeardPosition> ReadPayload(std::string_view payload);
std::string WritePayload(std::string_view name, const SharedPosition& position);

// A name fit to show: valid UTF-8 (broken sequences dropped), no control or
// direction-changing characters, at most kMaxNameCharacters code points.
std::string CleanName(std::string_view name);

// Whether a position lies inside its map (by the largest size that map has).
bool OnTheMap(const SharedPosition& position);

}  // namespace wf::friends
