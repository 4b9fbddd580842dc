#include "friends/MqttPackets.h"

namespace wf::friends::mqtt {

namespace {

void PutU16(std::string& out, uint16_t value) {
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value & 0xFF));
}

// A length-prefixed string; false when it does not fit the 16-bit prefix.
bool PutString(std::string& out, std::string_view text) {
  if (text.size() > 0xFFFF) return false;
  PutU16(out, static_cast<uint16_t>(text.size()));
  out.append(text);
  return true;
}

std::optional<std::string> Framed(uint8_t firstByte, const std::string& body) {
  const std::string length = EncodeRemainingLength(static_cast<uint32_t>(
      body.size() > kMaxRemainingLength ? kMaxRemainingLength + 1ull : body.size()));
  if (length.empty()) return std::nullopt;
  std::string out;
  out.reserve(1 + length.size() + body.size());
  out.push_back(static_cast<char>(firstByte));
  out += length;
  out += body;
  return out;
}

// Reads big-endian and length-prefixed fields from one packet's body.
class BodyReader {
 public:
  explicit BodyReader(std::string_view body) : rest_(body) {}
  bool U8(uint8_t& value) {
    if (rest_.empty()) return false;
    value = static_cast<uint8_t>(rest_[0]);
    rest_.remove_prefix(1);
    return true;
  }
  bool U16(uint16_t& value) {
    if (rest_.size() < 2) return false;
    value = static_cast<uint16_t>((static_cast<uint8_t>(rest_[0]) << 8) | static_cast<uint8_t>(rest_[1]));
    rest_.remove_prefix(2);
    return true;
  }
  bool String(std::string& value) {
    uint16_t length = 0;
    if (!U16(length) || rest_.size() < length) return false;
    value.assign(rest_.substr(0, length));
    rest_.remove_prefix(length);
    return true;
  }
  std::string_view Rest() const { return rest_; }
  void Skip() { rest_ = {}; }

 private:
  std::string_view rest_;
};

Decoded Malformed(std::string error) {
  Decoded result;
  result.status = Decoded::Status::Malformed;
  result.error = std::move(error);
  return result;
}

}  // namespace

std::string EncodeRemainingLength(uint32_t length) {
  if (length > kMaxRemainingLength) return {};
  std::string out;
  do {
    uint8_t digit = length % 128;
    length /= 128;
    if (length > 0) digit |= 0x80;
    out.push_back(static_cast<char>(digit));
  } while (length > 0);
  return out;
}

std::optional<std::string> EncodeConnect(const ConnectOptions& options) {
  std::string body;
  PutString(body, "MQTT");
  body.push_back(4);  // protocol level 3.1.1
  uint8_t flags = 0x02;  // clean session
  if (!options.willTopic.empty()) {
    flags |= 0x04;  // will, QoS 0
    if (options.willRetain) flags |= 0x20;
  }
  if (options.user) flags |= 0x80;
  // A password without a user name is not allowed in 3.1.1.
  if (options.password && options.user) flags |= 0x40;
  body.push_back(static_cast<char>(flags));
  PutU16(body, options.keepAliveSeconds);
  if (!PutString(body, options.clientId)) return std::nullopt;
  if (!options.willTopic.empty()) {
    if (!PutString(body, options.willTopic) || !PutString(body, options.willPayload)) return std::nullopt;
  }
  if (options.user && !PutString(body, *options.user)) return std::nullopt;
  if ((flags & 0x40) && !PutString(body, *options.password)) return std::nullopt;
  return Framed(0x10, body);
}

std::optional<std::string> EncodePublish(std::string_view topic, std::string_view payload, bool retain) {
  if (topic.empty() || topic.size() > kMaxTopic || payload.size() > kMaxPayload) return std::nullopt;
  std::string body;
  PutString(body, topic);
  body.append(payload);
  return Framed(retain ? 0x31 : 0x30, body);
}

std::optional<std::string> EncodeSubscribe(uint16_t packetId, std::string_view filter) {
  if (filter.empty() || filter.size() > kMaxTopic || packetId == 0) return std::nullopt;
  std::string body;
  PutU16(body, packetId);
  PutString(body, filter);
  body.push_back(0);  // QoS 0
  return Framed(0x82, body);
}

std::string EncodeAck(PacketType type, uint16_t packetId) {
  std::string out;
  const uint8_t flags = type == PacketType::Pubrel ? 0x02 : 0x00;
  out.push_back(static_cast<char>((static_cast<uint8_t>(type) << 4) | flags));
  out.push_back(2);
  PutU16(out, packetId);
  return out;
}

std::string EncodePingreq() { return std::string("\xC0\x00", 2); }
std::string EncodeDisconnect() { return std::string("\xE0\x00", 2); }

Decoded DecodePacket(std::string_view bytes, Packet& packet) {
  Decoded result;
  if (bytes.empty()) return result;
  const uint8_t first = static_cast<uint8_t>(bytes[0]);
  uint32_t remaining = 0;
  std::size_t header = 1;
  for (uint32_t multiplier = 1;; multiplier *= 128) {
    if (header > 4) return Malformed("remaining length longer than four bytes");
    if (header >= bytes.size()) return result;  // NeedMore
    const uint8_t digit = static_cast<uint8_t>(bytes[header++]);
    remaining += (digit & 0x7F) * multiplier;
    if (!(digit & 0x80)) break;
  }
  const auto type = static_cast<PacketType>(first >> 4);
  const uint8_t flags = first & 0x0F;
  // Fixed-header flags are fixed for everything but PUBLISH.
  switch (type) {
    case PacketType::Connack:
    case PacketType::Puback:
    case PacketType::Pubrec:
    case PacketType::Pubcomp:
    case PacketType::Suback:
    case PacketType::Unsuback:
    case PacketType::Pingresp:
      if (flags != 0) return Malformed("reserved flags set");
      break;
    case PacketType::Pubrel:
      if (flags != 0x02) return Malformed("reserved flags set");
      break;
    case PacketType::Publish:
      if (((flags >> 1) & 0x03) == 3) return Malformed("PUBLISH with QoS 3");
      break;
    default:
      return Malformed("packet type " + std::to_string(first >> 4) + " is not sent to clients");
  }
  const std::size_t total = header + std::size_t{remaining};
  if (remaining > kMaxPacket) {
    if (type != PacketType::Publish) return Malformed("oversized control packet");
    result.status = Decoded::Status::TooLarge;
    result.consumed = total;
    return result;
  }
  if (bytes.size() < total) return result;  // NeedMore

  packet = Packet{};
  packet.type = type;
  packet.flags = flags;
  BodyReader body(bytes.substr(header, remaining));
  auto fixedLength = [&](std::size_t expected) { return remaining == expected; };
  switch (type) {
    case PacketType::Connack: {
      uint8_t ackFlags = 0;
      if (!fixedLength(2) || !body.U8(ackFlags) || !body.U8(packet.returnCode))
        return Malformed("CONNACK of the wrong length");
      if (ackFlags & 0xFE) return Malformed("CONNACK with reserved flags");
      packet.sessionPresent = ackFlags & 1;
      break;
    }
    case PacketType::Puback:
    case PacketType::Pubrec:
    case PacketType::Pubrel:
    case PacketType::Pubcomp:
    case PacketType::Unsuback:
      if (!fixedLength(2) || !body.U16(packet.packetId)) return Malformed("acknowledgement of the wrong length");
      break;
    case PacketType::Pingresp:
      if (!fixedLength(0)) return Malformed("PINGRESP with a body");
      break;
    case PacketType::Suback:
      if (!body.U16(packet.packetId) || body.Rest().empty()) return Malformed("SUBACK without return codes");
      for (char code : body.Rest()) {
        const uint8_t value = static_cast<uint8_t>(code);
        if (value > 2 && value != 0x80) return Malformed("SUBACK with an unknown return code");
        packet.granted.push_back(value);
      }
      break;
    case PacketType::Publish:
      packet.qos = (flags >> 1) & 0x03;
      packet.retain = flags & 0x01;
      packet.dup = flags & 0x08;
      if (!body.String(packet.topic)) return Malformed("PUBLISH topic longer than the packet");
      if (packet.topic.empty()) return Malformed("PUBLISH with an empty topic");
      if (packet.qos > 0) {
        if (!body.U16(packet.packetId)) return Malformed("PUBLISH without its packet id");
        if (packet.packetId == 0) return Malformed("PUBLISH with packet id 0");
      }
      if (body.Rest().size() > kMaxPayload) {
        // Within kMaxPacket thanks to a short topic, still not ours.
        packet.payload.clear();
        result.status = Decoded::Status::TooLarge;
        result.consumed = total;
        return result;
      }
      packet.payload.assign(body.Rest());
      break;
    default:
      break;
  }
  result.status = Decoded::Status::Complete;
  result.consumed = total;
  return result;
}

std::string ConnackText(uint8_t returnCode) {
  switch (returnCode) {
    case 0: return "accepted";
    case 1: return "unacceptable protocol version";
    case 2: return "identifier rejected";
    case 3: return "server unavailable";
    case 4: return "bad user name or password";
    case 5: return "not authorized";
    default: return "unknown reason " + std::to_string(returnCode);
  }
}

}  // namespace wf::friends::mqtt
