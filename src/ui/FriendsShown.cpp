#include "ui/FriendsShown.h"

#include <cstdlib>

#include "common/IntegerText.h"

namespace wf::ui {

const TColor32 FriendColours[FriendColourCount] = {
    0xFF1E90FF,  // blue
    0xFF00C000,  // green
    0xFF00E5E5,  // cyan
    0xFFE000E0,  // magenta
    0xFFFF8C00,  // orange
    0xFF8A2BE2,  // violet
    0xFFFFD700,  // gold
    0xFF008080,  // teal
    0xFFFF69B4,  // pink
    0xFF7FFF00,  // lime
    0xFF8B4513,  // brown
    0xFF000080,  // navy
};

// FNV-1a: ids are random hex, but a hash of the whole id keeps friends whose
// ids share a start or an end apart as well.
TColor32 FriendColour(std::string_view id) {
  uint32_t hash = 2166136261u;
  for (const char c : id) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return FriendColours[hash % FriendColourCount];
}

bool FriendFaded(const friends::Friend& someone, TFriendsClock::time_point now) {
  return now - someone.heard > FriendFadesAfter;
}

int64_t TilesBetween(const TMapSpot& from, const TMapSpot& to) {
  return std::max(std::llabs(int64_t{to.X} - from.X), std::llabs(int64_t{to.Y} - from.Y));
}

std::string DistanceText(const TMapSpot& from, const TMapSpot& to) {
  if (from.Map != to.Map) return "other map";
  const int64_t dx = int64_t{to.X} - from.X, dy = int64_t{to.Y} - from.Y;
  if (dx == 0 && dy == 0) return "here";
  // tan(22.5 degrees): within it of an axis is along that axis.
  constexpr double kSlope = 0.41421356237;
  const double ax = static_cast<double>(std::llabs(dx)), ay = static_cast<double>(std::llabs(dy));
  std::string direction;
  if (ay > ax * kSlope) direction += dy < 0 ? "N" : "S";
  if (ax > ay * kSlope) direction += dx > 0 ? "E" : "W";
  const int64_t tiles = TilesBetween(from, to);
  return NumberText(tiles) + (tiles == 1 ? " tile " : " tiles ") + direction;
}

std::string HeardText(TFriendsClock::time_point heard, TFriendsClock::time_point now) {
  const auto ago = std::chrono::duration_cast<std::chrono::minutes>(now - heard).count();
  if (ago < 1) return "now";
  if (ago < 60) return NumberText(ago) + " min";
  return NumberText(ago / 60) + " h";
}

std::string LinkStateText(friends::LinkState state) {
  switch (state) {
    case friends::LinkState::Off:
    case friends::LinkState::Connected: return {};
    case friends::LinkState::Connecting: return "Friends: connecting...";
    case friends::LinkState::Refused: return "Friends: refused";
    case friends::LinkState::Unreachable: return "Friends: cannot reach the broker";
    case friends::LinkState::NotTrusted: return "Friends: certificate not trusted";
    case friends::LinkState::BadSettings: return "Friends: check the settings";
  }
  return {};
}

bool TRedrawThrottle::Changed(TFriendsClock::time_point now) {
  if (last_ && now - *last_ < Interval && now >= *last_) {
    held_ = true;
    return false;
  }
  last_ = now;
  held_ = false;
  return true;
}

bool TRedrawThrottle::Due(TFriendsClock::time_point now) {
  if (!held_) return false;
  return Changed(now);
}

}  // namespace wf::ui
