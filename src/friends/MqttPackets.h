#pragma once
// MQTT 3.1.1 packets as the friends' link sends and hears them. Every packet
// is made and taken apart here and nowhere else, so every length the broker
// (or anyone in its place) sends is checked in one place.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wf::friends::mqtt {

// A position message is far below this; anything larger is not one of ours.
inline constexpr std::size_t kMaxPayload = 4096;
inline constexpr std::size_t kMaxTopic = 256;
// The largest packet taken whole: a PUBLISH with the longest topic, a packet
// id and the largest payload. Larger ones are skipped unread.
inline constexpr std::size_t kMaxPacket = 2 + kMaxTopic + 2 + kMaxPayload;
// The remaining length is at most four bytes of seven bits.
inline constexpr uint32_t kMaxRemainingLength = 268'435'455;

enum class PacketType : uint8_t {
  Connect = 1, Connack, Publish, Puback, Pubrec, Pubrel, Pubcomp,
  Subscribe, Suback, Unsubscribe, Unsuback, Pingreq, Pingresp, Disconnect,
};

struct ConnectOptions {
  std::string clientId;
  uint16_t keepAliveSeconds = 30;
  std::optional<std::string> user;
  std::optional<std::string> password;
  std::string willTopic;           // empty: no will
  std::string willPayload;
  bool willRetain = false;
};

// Each returns the whole packet, or nothing when a field is too long for it.
std::optional<std::string> EncodeConnect(const ConnectOptions& options);
std::optional<std::string> EncodePublish(std::string_view topic, std::string_view payload, bool retain);
std::optional<std::string> EncodeSubscribe(uint16_t packetId, std::string_view filter);
std::string EncodeAck(PacketType type, uint16_t packetId);  // PUBACK, PUBREC, PUBREL, PUBCOMP
std::string EncodePingreq();
std::string EncodeDisconnect();
// The remaining-length field for `length`; empty when it cannot be encoded.
std::string EncodeRemainingLength(uint32_t length);

// A packet a broker sends to a client.
struct Packet {
  PacketType type = PacketType::Pingresp;
  uint8_t flags = 0;
  // CONNACK
  bool sessionPresent = false;
  uint8_t returnCode = 0;
  // PUBLISH (and packetId for the acknowledgements and SUBACK)
  std::string topic;
  std::string payload;
  uint8_t qos = 0;
  bool retain = false;
  bool dup = false;
  uint16_t packetId = 0;
  // SUBACK: one return code per filter
  std::vector<uint8_t> granted;
};

struct Decoded {
  enum class Status {
    Complete,   // `packet` holds it; `consumed` bytes were its
    NeedMore,   // the packet is not all there yet
    TooLarge,   // well formed but over kMaxPacket: skip `consumed` bytes (they may not all be there yet)
    Malformed,  // the stream cannot be trusted any longer; `error` says why
  };
  Status status = Status::NeedMore;
  std::size_t consumed = 0;
  std::string error;
};

// Takes the first packet from `bytes`. Only what a broker may send a client
// is accepted; a client's packet from a broker is malformed.
Decoded DecodePacket(std::string_view bytes, Packet& packet);

// The words for a CONNACK return code: "accepted", "bad user name or password", ...
std::string ConnackText(uint8_t returnCode);

}  // namespace wf::friends::mqtt
