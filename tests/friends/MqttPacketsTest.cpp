#include <gtest/gtest.h>

#include "friends/MqttPackets.h"

namespace wf::friends::mqtt {
namespace {

using Status = Decoded::Status;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(MqttPackets, ConnectCarriesCleanSessionKeepAliveCredentialsAndARetainedWill) {
  ConnectOptions options;
  options.clientId = "c";
  options.keepAliveSeconds = 30;
  options.user = "u";
  options.password = "p";
  options.willTopic = "t";
  options.willRetain = true;
  EXPECT_EQ(*EncodeConnect(options),
            Bytes({0x10, 24, 0, 4, 'M', 'Q', 'T', 'T', 4, 0xE6, 0, 30, 0, 1, 'c', 0, 1, 't', 0, 0, 0, 1, 'u', 0, 1, 'p'}));
  options.password.reset();
  options.user.reset();
  options.willTopic.clear();
  EXPECT_EQ(*EncodeConnect(options), Bytes({0x10, 13, 0, 4, 'M', 'Q', 'T', 'T', 4, 0x02, 0, 30, 0, 1, 'c'}));
  options.clientId = std::string(70000, 'c');
  EXPECT_FALSE(EncodeConnect(options));
}

TEST(MqttPackets, WhatTheClientSendsDecodesBackWhereABrokerSendsTheSame) {
  // The broker's PUBLISH has the same shape as ours.
  const std::string payload(kMaxPayload, 'p');
  for (bool retain : {false, true}) {
    Packet packet;
    const std::string bytes = *EncodePublish("wayfarer/g/i/position", payload, retain);
    const Decoded decoded = DecodePacket(bytes, packet);
    ASSERT_EQ(decoded.status, Status::Complete);
    EXPECT_EQ(decoded.consumed, bytes.size());
    EXPECT_EQ(packet.topic, "wayfarer/g/i/position");
    EXPECT_EQ(packet.payload, payload);
    EXPECT_EQ(packet.retain, retain);
    EXPECT_EQ(packet.qos, 0);
  }
  EXPECT_FALSE(EncodePublish("t", std::string(kMaxPayload + 1, 'p'), true));
  EXPECT_FALSE(EncodePublish(std::string(kMaxTopic + 1, 't'), "", true));
  EXPECT_EQ(*EncodeSubscribe(1, "a/+"), Bytes({0x82, 8, 0, 1, 0, 3, 'a', '/', '+', 0}));
  EXPECT_EQ(EncodeAck(PacketType::Pubrel, 0x1234), Bytes({0x62, 2, 0x12, 0x34}));
}

TEST(MqttPackets, DecodesEveryPacketABrokerSends) {
  struct Case {
    const char* name;
    std::string bytes;
    PacketType type;
    uint16_t packetId;
  };
  const Case cases[] = {
      {"CONNACK refused", Bytes({0x20, 2, 0, 4}), PacketType::Connack, 0},
      {"SUBACK", Bytes({0x90, 3, 0, 1, 0}), PacketType::Suback, 1},
      {"PINGRESP", Bytes({0xD0, 0}), PacketType::Pingresp, 0},
      {"PUBLISH QoS 1", Bytes({0x32, 6, 0, 1, 't', 0, 7, 'x'}), PacketType::Publish, 7},
      {"PUBLISH QoS 2", Bytes({0x34, 5, 0, 1, 't', 0, 9}), PacketType::Publish, 9},
      {"PUBREL", Bytes({0x62, 2, 0, 9}), PacketType::Pubrel, 9},
      {"UNSUBACK", Bytes({0xB0, 2, 0, 3}), PacketType::Unsuback, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Packet packet;
    const Decoded decoded = DecodePacket(c.bytes + "rest", packet);
    ASSERT_EQ(decoded.status, Status::Complete) << decoded.error;
    EXPECT_EQ(decoded.consumed, c.bytes.size());
    EXPECT_EQ(packet.type, c.type);
    EXPECT_EQ(packet.packetId, c.packetId);
    // Every shorter prefix waits for more.
    for (std::size_t n = 0; n < c.bytes.size(); ++n)
      EXPECT_EQ(DecodePacket(c.bytes.substr(0, n), packet).status, Status::NeedMore) << n;
  }
}

TEST(MqttPackets, RejectsEveryMalformedPacket) {
  const std::pair<const char*, std::string> cases[] = {
      {"five-byte remaining length", Bytes({0x30, 0x80, 0x80, 0x80, 0x80, 0x01})},
      {"CONNACK too long", Bytes({0x20, 3, 0, 0, 0})},
      {"CONNACK too short", Bytes({0x20, 1, 0})},
      {"CONNACK reserved flag", Bytes({0x20, 2, 2, 0})},
      {"PINGRESP with a body", Bytes({0xD0, 1, 0})},
      {"reserved header flags", Bytes({0xD1, 0})},
      {"PUBREL without its flag", Bytes({0x60, 2, 0, 1})},
      {"QoS 3", Bytes({0x36, 3, 0, 1, 't'})},
      {"topic longer than the packet", Bytes({0x30, 3, 0, 5, 't'})},
      {"empty topic", Bytes({0x30, 2, 0, 0})},
      {"QoS 1 without packet id", Bytes({0x32, 3, 0, 1, 't'})},
      {"packet id 0", Bytes({0x32, 5, 0, 1, 't', 0, 0})},
      {"SUBACK without codes", Bytes({0x90, 2, 0, 1})},
      {"SUBACK unknown code", Bytes({0x90, 3, 0, 1, 7})},
      {"a client's CONNECT", Bytes({0x10, 0})},
      {"a client's SUBSCRIBE", Bytes({0x82, 0})},
      {"type 0", Bytes({0x00, 0})},
      {"type 15", Bytes({0xF0, 0})},
      {"huge SUBACK", Bytes({0x90, 0xFF, 0xFF, 0xFF, 0x7F})},
  };
  for (const auto& [name, bytes] : cases) {
    Packet packet;
    EXPECT_EQ(DecodePacket(bytes, packet).status, Status::Malformed) << name;
  }
}

TEST(MqttPackets, APublishTooLargeToTakeIsSkippedWhole) {
  Packet packet;
  // Announced at the largest length, with none of the body there yet.
  Decoded decoded = DecodePacket(Bytes({0x30, 0xFF, 0xFF, 0xFF, 0x7F}), packet);
  EXPECT_EQ(decoded.status, Status::TooLarge);
  EXPECT_EQ(decoded.consumed, 5u + kMaxRemainingLength);
  // Under the packet bound thanks to a short topic, but the payload is not ours.
  const std::string body = Bytes({0, 1, 't'}) + std::string(kMaxPayload + 1, 'x');
  decoded = DecodePacket(Bytes({0x30}) + EncodeRemainingLength(static_cast<uint32_t>(body.size())) + body, packet);
  EXPECT_EQ(decoded.status, Status::TooLarge);
}

}  // namespace
}  // namespace wf::friends::mqtt
