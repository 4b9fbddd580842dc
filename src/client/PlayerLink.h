#pragma once
// Where the player is, as the assistants' window tells it: the hidden window
// that the open client, and the assistants players run beside the classic
// client, make for programs like this one.

#include <cstdint>
#include <optional>

#include "platform/ClientWindows.h"

namespace wf {

struct TPlayerPosition {
  uint16_t X = 0;
  uint16_t Y = 0;
  bool operator==(const TPlayerPosition&) const = default;
};

class TPlayerLink {
 public:
  using Handle = platform::IClientWindows::Handle;

  explicit TPlayerLink(platform::IClientWindows& windows) : FWindows(windows) {}

  // One look: finds the assistants' window, registers `ownWindow` with it once
  // to be told of map changes, and asks for the position, waiting at most
  // kAssistantBoundMs. A question left unanswered changes nothing. Allocates
  // nothing. True when what is known about the player changed.
  bool Poll(Handle ownWindow);
  // The client says the player is on `map` now. True when that is news.
  bool MapChanged(int32_t map);

  bool HasAssistant() const { return FAssistant != 0; }
  // Nothing without an assistants' window or without a player.
  std::optional<TPlayerPosition> Position() const { return FPosition; }
  // Nothing until the client has named a map: it cannot be asked for one.
  std::optional<int32_t> Map() const { return FMap; }

 private:
  bool Forget();

  platform::IClientWindows& FWindows;
  Handle FAssistant = 0;
  bool FRegistered = false;
  std::optional<TPlayerPosition> FPosition;
  std::optional<int32_t> FMap;
};

}  // namespace wf
