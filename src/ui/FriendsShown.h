#pragma once
// What the windows show of the friends the link hears, free of any window:
// each friend's colour, when a friend counts as long unheard, how far and in
// which direction a friend is from the player, how the link's state reads,
// and how often the pictures may be drawn again for friends.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "friends/FriendsLink.h"
#include "raster/Bitmap32.h"

namespace wf::ui {

using TFriendsClock = std::chrono::steady_clock;

// Twelve colours that tell friends apart and show on the radar's colours; the
// player's red is none of them, so the player is never mistaken for a friend.
inline constexpr int FriendColourCount = 12;
extern const TColor32 FriendColours[FriendColourCount];
// The same friend has the same colour in every window and at every start.
TColor32 FriendColour(std::string_view id);

// A friend not heard for longer than this may have left the game without a
// word (a lost connection's will is late): drawn faded.
inline constexpr std::chrono::seconds FriendFadesAfter{120};
bool FriendFaded(const friends::Friend& someone, TFriendsClock::time_point now);

// A cell of a map, for distances.
struct TMapSpot {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Map = 0;
};

// Tiles as the game counts them: the larger of the two distances.
int64_t TilesBetween(const TMapSpot& from, const TMapSpot& to);
// "120 tiles NE", "1 tile S", "here", or "other map"; y grows southward. Of
// the eight directions, the one within 22.5 degrees.
std::string DistanceText(const TMapSpot& from, const TMapSpot& to);
// "now" under a minute, then "2 min", from an hour "3 h"; a time ahead of
// `now` (a clock that stepped) reads "now".
std::string HeardText(TFriendsClock::time_point heard, TFriendsClock::time_point now);

// The link's state in a few words for a status bar; empty while it is off
// (friends never set up) or connected.
std::string LinkStateText(friends::LinkState state);

// Friends' positions may arrive hundreds of times a second; the pictures are
// drawn for them at most ten times a second. A change is drawn at once when
// the last drawing is at least the interval old, else held until the timer
// finds it due.
class TRedrawThrottle {
 public:
  static constexpr std::chrono::milliseconds Interval{100};
  // A change came at `now`: true when it is to be drawn now.
  bool Changed(TFriendsClock::time_point now);
  // The timer: true when a held change is to be drawn now.
  bool Due(TFriendsClock::time_point now);
  bool Holding() const { return held_; }

 private:
  std::optional<TFriendsClock::time_point> last_;
  bool held_ = false;
};

}  // namespace wf::ui
