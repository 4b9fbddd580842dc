#pragma once
// The friends' link: shares the player's position with a group through a
// standard MQTT broker and hears the group's. One thread of its own owns the
// connection; the window only ever reads a snapshot and hands over the
// player's position through a one-slot mailbox (the newest wins).

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ByteStream.h"

namespace wf::friends {

struct FriendsSettings {
  std::string broker;       // mqtt://host[:1883], mqtts://host[:8883], ws://host[:80][/path], wss://host[:443][/path]
  std::string group;        // 1-64 of letters, digits, '-', '_'
  std::string name;         // the player's name as friends see it (UTF-8)
  std::string user;         // broker user name; empty: none
  std::string password;     // in clear here, never written or shown anywhere
  std::string certSha256;   // hex, colons allowed; empty: the system's trusted roots
  bool share = true;
  std::string id;           // 16 hex digits, made once per installation
  // The MQTT keep-alive; the broker declares the player gone (the last will)
  // after one and a half of it without a word. Shorter only in tests.
  std::chrono::seconds keepAlive{30};
};

struct SharedPosition {
  int x = 0, y = 0;
  std::optional<int> z;
  int map = 0;
  bool operator==(const SharedPosition&) const = default;
};

struct Friend {
  std::string id;
  std::string name;          // UTF-8, cleaned and at most 32 characters
  SharedPosition position;
  std::chrono::steady_clock::time_point heard;
};

enum class LinkState {
  Off,            // never set up, or stopped
  Connecting,
  Connected,
  Refused,        // CONNACK refused; stateText names the code
  Unreachable,
  NotTrusted,     // the certificate; stateText carries its SHA-256
  BadSettings,    // broker address, group, or a password over a clear link
};

struct FriendsSnapshot {
  uint64_t generation = 0;   // grows with every change
  LinkState state = LinkState::Off;
  std::string stateText;     // "Connected, 3 friends", "Connecting...", "Refused: ...", ...
  std::vector<Friend> friends;
};

class FriendsLink {
 public:
  using Connector = std::function<std::unique_ptr<platform::ByteStream>(
      const platform::StreamTarget&, platform::ConnectFailure&)>;

  // `changed` is called on the link's own thread whenever the snapshot changed
  // (the window posts itself a message there; it must not block). Stop does
  // not wait for a connector that hangs: it may still be running after Stop
  // (and the link) are gone, so it must own whatever it uses.
  FriendsLink(Connector connector, std::function<void()> changed);
  ~FriendsLink();  // stops cleanly
  FriendsLink(const FriendsLink&) = delete;
  FriendsLink& operator=(const FriendsLink&) = delete;

  // Connects with these settings, replacing any earlier connection.
  void Start(const FriendsSettings& settings);
  // Clears the shared position (when sharing), disconnects, and ends the thread.
  void Stop();
  // The player's newest position; nothing when the player is not known.
  void SetPosition(std::optional<SharedPosition> position);
  FriendsSnapshot Snapshot() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

}  // namespace wf::friends
