// libFuzzer entry for what a broker (or anyone in its place) sends the link:
// the MQTT packet decoder, the session fed those bytes in pieces while its
// clock runs, and the WebSocket frame reader under it. The first byte sets
// the piece size and which layer gets the rest.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "friends/MqttPackets.h"
#include "friends/Session.h"
#include "friends/WebSocket.h"

namespace {

using namespace std::chrono_literals;
using namespace wf::friends;

void Decoder(std::string_view bytes) {
  while (!bytes.empty()) {
    mqtt::Packet packet;
    const mqtt::Decoded decoded = mqtt::DecodePacket(bytes, packet);
    if (decoded.status != mqtt::Decoded::Status::Complete) return;
    if (decoded.consumed == 0 || decoded.consumed > bytes.size()) __builtin_trap();
    if (packet.type == mqtt::PacketType::Publish && packet.qos == 0) {
      // What was taken apart goes together the same way.
      const auto again = mqtt::EncodePublish(packet.topic, packet.payload, packet.retain);
      mqtt::Packet copy;
      if (again && (mqtt::DecodePacket(*again, copy).status != mqtt::Decoded::Status::Complete ||
                    copy.topic != packet.topic || copy.payload != packet.payload))
        __builtin_trap();
    }
    bytes.remove_prefix(decoded.consumed);
  }
}

void SessionFed(std::string_view bytes, std::size_t piece) {
  FriendsTable table("me");
  SessionConfig config;
  config.group = "g";
  config.id = "me";
  config.name = "Fuzz";
  config.keepAlive = 2s;
  auto now = Session::Time{} + 100s;
  Session session(config, table, now);
  session.SetPosition(wf::friends::SharedPosition{1, 2, std::nullopt, 0});
  session.Received(std::string{0x20, 2, 0, 0}, now);
  while (!bytes.empty() && session.GetPhase() != Session::Phase::Closed) {
    const std::string_view chunk = bytes.substr(0, piece);
    bytes.remove_prefix(chunk.size());
    session.Received(chunk, now);
    now += 100ms;
    session.Tick(now);
    if (session.TakeOutput().size() > 64 * 1024) __builtin_trap();  // output bounded per step
    if (table.Friends().size() > kMaxFriends) __builtin_trap();
  }
  session.Stop();
}

void Frames(std::string_view bytes, std::size_t piece) {
  FrameReader reader;
  std::string data;
  std::vector<std::string> pings;
  std::size_t fed = 0;
  while (!bytes.empty()) {
    const std::string_view chunk = bytes.substr(0, piece);
    bytes.remove_prefix(chunk.size());
    fed += chunk.size();
    if (reader.Feed(chunk, data, pings) != FrameReader::Status::Ok) break;
    if (data.size() > fed || pings.size() > 4) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t control = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t piece = 1 + (control & 0x3F) * 7;
  switch (control >> 6) {
    case 0: Decoder(bytes); break;
    case 1:
    case 2: SessionFed(bytes, piece); break;
    default: Frames(bytes, piece); break;
  }
  return 0;
}
