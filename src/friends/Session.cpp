#include "friends/Session.h"

#include <algorithm>
#include <utility>

#include "friends/Payload.h"
#include "friends/Settings.h"

namespace wf::friends {

namespace {

using namespace std::chrono_literals;

constexpr uint16_t kSubscribeId = 1;

// The id in `wayfarer/<group>/<id>/position`, or nothing for any other topic.
std::optional<std::string_view> IdOfTopic(std::string_view topic, std::string_view group) {
  constexpr std::string_view prefix = "wayfarer/";
  constexpr std::string_view suffix = "/position";
  if (!topic.starts_with(prefix) || !topic.ends_with(suffix)) return std::nullopt;
  topic.remove_prefix(prefix.size());
  topic.remove_suffix(suffix.size());
  if (!topic.starts_with(group) || topic.substr(group.size(), 1) != "/") return std::nullopt;
  topic.remove_prefix(group.size() + 1);
  if (!ValidId(topic)) return std::nullopt;
  return topic;
}

}  // namespace

std::string PositionTopic(std::string_view group, std::string_view id) {
  return "wayfarer/" + std::string(group) + "/" + std::string(id) + "/position";
}

Session::Session(const SessionConfig& config, FriendsTable& table, Time now)
    : config_(config), table_(table), ownTopic_(PositionTopic(config.group, config.id)), started_(now),
      lastSent_(now), lastReceived_(now) {
  mqtt::ConnectOptions connect;
  // The id itself: at most the 23 characters every broker must take, and an
  // access list can tie each client to its own topic (pattern ... %c).
  connect.clientId = config_.id;
  connect.keepAliveSeconds = static_cast<uint16_t>(std::clamp<int64_t>(config_.keepAlive.count(), 1, 0xFFFF));
  connect.user = config_.user;
  connect.password = config_.password;
  // Whatever way the connection ends, friends see the player gone.
  connect.willTopic = ownTopic_;
  connect.willRetain = true;
  const auto bytes = mqtt::EncodeConnect(connect);
  if (!bytes) {
    End(Ending::Lost, "the settings do not fit a CONNECT packet");
    return;
  }
  Send(*bytes, now);
}

void Session::Send(const std::string& bytes, Time now) {
  output_ += bytes;
  lastSent_ = now;
}

std::string Session::TakeOutput() { return std::exchange(output_, {}); }

void Session::End(Ending ending, std::string text) {
  if (phase_ == Phase::Closed) return;
  phase_ = Phase::Closed;
  ending_ = ending;
  endingText_ = std::move(text);
}

void Session::Received(std::string_view bytes, Time now) {
  if (phase_ == Phase::Closed) return;
  lastReceived_ = now;
  pingSent_.reset();  // anything heard shows the broker is there
  while (!bytes.empty() && phase_ != Phase::Closed) {
    if (skipping_ > 0) {
      const std::size_t dropped = std::min(skipping_, bytes.size());
      skipping_ -= dropped;
      bytes.remove_prefix(dropped);
      continue;
    }
    // Up to one packet's worth at a time, so the buffer never holds more than
    // the largest packet taken whole.
    const std::size_t take = std::min(bytes.size(), mqtt::kMaxPacket + 5 - std::min(input_.size(), mqtt::kMaxPacket + 5));
    input_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    for (;;) {
      mqtt::Packet packet;
      const mqtt::Decoded decoded = mqtt::DecodePacket(input_, packet);
      if (decoded.status == mqtt::Decoded::Status::NeedMore) break;
      if (decoded.status == mqtt::Decoded::Status::Malformed) {
        End(Ending::Lost, "the broker sent a malformed packet: " + decoded.error);
        return;
      }
      if (decoded.status == mqtt::Decoded::Status::TooLarge) {
        const std::size_t here = std::min(decoded.consumed, input_.size());
        skipping_ = decoded.consumed - here;
        input_.erase(0, here);
        if (skipping_ > 0) break;
        continue;
      }
      input_.erase(0, decoded.consumed);
      Handle(packet, now);
      if (phase_ == Phase::Closed) return;
    }
    if (take == 0 && skipping_ == 0) {
      // Cannot happen with a NeedMore bound above kMaxPacket; never spin.
      End(Ending::Lost, "the broker sent a packet that does not fit");
      return;
    }
  }
}

void Session::Handle(const mqtt::Packet& packet, Time now) {
  using mqtt::PacketType;
  if (phase_ == Phase::AwaitingConnack) {
    if (packet.type != PacketType::Connack) {
      End(Ending::Lost, "the broker did not answer with CONNACK");
      return;
    }
    if (packet.returnCode != 0) {
      End(Ending::Refused, mqtt::ConnackText(packet.returnCode));
      return;
    }
    phase_ = Phase::Live;
    Send(*mqtt::EncodeSubscribe(kSubscribeId, PositionTopic(config_.group, "+")), now);
    Tick(now);
    return;
  }
  switch (packet.type) {
    case PacketType::Publish: {
      if (packet.qos == 1) Send(mqtt::EncodeAck(PacketType::Puback, packet.packetId), now);
      if (packet.qos == 2) Send(mqtt::EncodeAck(PacketType::Pubrec, packet.packetId), now);
      const auto id = IdOfTopic(packet.topic, config_.group);
      if (!id || *id == config_.id) break;
      if (packet.payload.empty()) {
        table_.Gone(*id);
      } else if (auto heard = ReadPayload(packet.payload)) {
        table_.Heard(*id, std::move(heard->name), heard->position, now);
      }
      break;
    }
    case PacketType::Pubrel:
      Send(mqtt::EncodeAck(PacketType::Pubcomp, packet.packetId), now);
      break;
    case PacketType::Suback:
      if (packet.packetId == kSubscribeId && packet.granted.size() == 1 && packet.granted[0] == 0x80)
        End(Ending::Refused, "not authorized to hear the group");
      break;
    case PacketType::Connack:
      End(Ending::Lost, "the broker sent a second CONNACK");
      break;
    default:
      // PINGRESP, and acknowledgements of nothing we sent: the broker is there.
      break;
  }
}

void Session::PublishOwn(const std::optional<SharedPosition>& position, Time now) {
  const std::string payload = position ? WritePayload(config_.name, *position) : std::string();
  Send(*mqtt::EncodePublish(ownTopic_, payload, true), now);
  published_ = position;
  lastPublish_ = now;
}

void Session::Tick(Time now) {
  if (phase_ == Phase::Closed) return;
  const auto half = std::max<std::chrono::milliseconds>(config_.keepAlive / 2, 500ms);
  if (phase_ == Phase::AwaitingConnack) {
    if (now - started_ >= std::min<std::chrono::milliseconds>(config_.keepAlive, 10s))
      End(Ending::Lost, "the broker did not answer");
    return;
  }
  if (pingSent_ && now - *pingSent_ >= half) {
    End(Ending::Lost, "the broker stopped answering");
    return;
  }
  if (config_.share) {
    // Once something was published, "not known" goes out as gone.
    const bool due = !lastPublish_ || now - *lastPublish_ >= kPublishInterval;
    if (due && wanted_ != published_) PublishOwn(wanted_, now);
  } else if (!clearedOnce_) {
    // Whatever an earlier run left on the broker goes.
    PublishOwn(std::nullopt, now);
    clearedOnce_ = true;
  }
  if (!pingSent_ && (now - lastSent_ >= half || now - lastReceived_ >= half)) {
    Send(mqtt::EncodePingreq(), now);
    pingSent_ = now;
  }
}

Session::Time Session::NextDeadline() const {
  const auto half = std::max<std::chrono::milliseconds>(config_.keepAlive / 2, 500ms);
  if (phase_ == Phase::AwaitingConnack) return started_ + std::min<std::chrono::milliseconds>(config_.keepAlive, 10s);
  if (phase_ == Phase::Closed) return Time::max();
  Time next = pingSent_ ? *pingSent_ + half : std::min(lastSent_, lastReceived_) + half;
  if (config_.share && wanted_ != published_ && lastPublish_) next = std::min(next, *lastPublish_ + kPublishInterval);
  return next;
}

void Session::Stop() {
  if (phase_ == Phase::Live) {
    const Time now = lastSent_;
    if (config_.share) PublishOwn(std::nullopt, now);
    Send(mqtt::EncodeDisconnect(), now);
  }
  End(Ending::Stopped, "stopped");
}

std::chrono::milliseconds Backoff::Next() {
  const int64_t ceiling = std::min<int64_t>(int64_t{1000} << std::min(step_, 6), 60'000);
  if (step_ < 6) ++step_;
  // Between half and all of the ceiling.
  std::uniform_int_distribution<int64_t> spread(ceiling / 2, ceiling);
  return std::chrono::milliseconds(spread(random_));
}

}  // namespace wf::friends
