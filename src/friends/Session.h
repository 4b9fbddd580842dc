#pragma once
// One connection's MQTT conversation as a state machine: bytes and the time go
// in, bytes to send and what was heard come out. No socket and no clock of its
// own, so every timing rule can be tested by feeding it a made-up clock.

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "friends/FriendsLink.h"
#include "friends/FriendsTable.h"
#include "friends/MqttPackets.h"

namespace wf::friends {

struct SessionConfig {
  std::string group;
  std::string id;
  std::string name;
  std::optional<std::string> user;
  std::optional<std::string> password;
  bool share = true;
  std::chrono::seconds keepAlive{30};
};

// The topic an installation publishes its position on.
std::string PositionTopic(std::string_view group, std::string_view id);

// At most this often the player's position goes out; newer ones replace it.
inline constexpr std::chrono::milliseconds kPublishInterval{250};

class Session {
 public:
  using Time = std::chrono::steady_clock::time_point;

  enum class Phase { AwaitingConnack, Live, Closed };
  enum class Ending { None, Refused, Lost, Stopped };

  // A fresh connection: CONNECT is the first thing to send.
  Session(const SessionConfig& config, FriendsTable& table, Time now);

  void Received(std::string_view bytes, Time now);
  // Publishes, pings and gives up on a silent broker as the time says.
  void Tick(Time now);
  // The player's newest position; it goes out at the next Tick allowed to.
  void SetPosition(const std::optional<SharedPosition>& position) { wanted_ = position; }
  // Clears the shared position (when shared) and says goodbye.
  void Stop();

  // Everything to send since the last call.
  std::string TakeOutput();

  Phase GetPhase() const { return phase_; }
  Ending GetEnding() const { return ending_; }
  // Refused: the CONNACK code's words; Lost: why, for a log line.
  const std::string& EndingText() const { return endingText_; }
  // When Tick next has something to do.
  Time NextDeadline() const;

 private:
  void Handle(const mqtt::Packet& packet, Time now);
  void End(Ending ending, std::string text);
  void Send(const std::string& bytes, Time now);
  void PublishOwn(const std::optional<SharedPosition>& position, Time now);

  SessionConfig config_;
  FriendsTable& table_;
  std::string ownTopic_;
  Phase phase_ = Phase::AwaitingConnack;
  Ending ending_ = Ending::None;
  std::string endingText_;
  std::string input_;
  std::size_t skipping_ = 0;   // bytes still to drop of a packet too large to take
  std::string output_;
  Time started_;
  Time lastSent_;
  Time lastReceived_;
  std::optional<Time> pingSent_;
  std::optional<SharedPosition> wanted_;
  std::optional<SharedPosition> published_;
  bool clearedOnce_ = false;
  std::optional<Time> lastPublish_;
};

// The wait before the next connection attempt: 1 s doubling to 60 s, each a
// random part of that (so a group's programs do not all come back together
// after a broker restarts).
class Backoff {
 public:
  explicit Backoff(uint64_t seed) : random_(seed) {}
  std::chrono::milliseconds Next();
  void Reset() { step_ = 0; }

 private:
  std::mt19937_64 random_;
  int step_ = 0;
};

}  // namespace wf::friends
