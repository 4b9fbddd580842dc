#include <gtest/gtest.h>

#include "friends/Settings.h"

namespace wf::friends {
namespace {

TEST(Settings, BrokerAddresses) {
  struct Case {
    const char* text;
    Transport transport;
    const char* host;
    uint16_t port;
    const char* path;
  };
  const Case good[] = {
      {"mqtt://broker.example", Transport::Mqtt, "broker.example", 1883, "/"},
      {"mqtts://b:9000", Transport::Mqtts, "b", 9000, "/"},
      {"ws://127.0.0.1", Transport::Ws, "127.0.0.1", 80, "/"},
      {"wss://h/mqtt/x", Transport::Wss, "h", 443, "/mqtt/x"},
      {"mqtt://[::1]", Transport::Mqtt, "::1", 1883, "/"},
      {"wss://[fe80::1]:8443/p", Transport::Wss, "fe80::1", 8443, "/p"},
  };
  for (const Case& c : good) {
    std::string error;
    const auto address = ParseBroker(c.text, error);
    ASSERT_TRUE(address) << c.text << ": " << error;
    EXPECT_EQ(address->transport, c.transport) << c.text;
    EXPECT_EQ(address->host, c.host) << c.text;
    EXPECT_EQ(address->port, c.port) << c.text;
    EXPECT_EQ(address->path, c.path) << c.text;
  }
  const char* bad[] = {"", "broker:1883", "http://h", "mqtt://", "mqtt://:1883", "mqtt://h:", "mqtt://h:0",
                       "mqtt://h:65536", "mqtt://h:12a", "mqtt://h/path", "mqtt://[::1", "mqtt://[::1]x",
                       "mqtt://[]", "mqtt://[zz::1]", "mqtt://h st", "ws://h/a b", "mqtt://user@h"};
  for (const char* text : bad) {
    std::string error;
    EXPECT_FALSE(ParseBroker(text, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
  std::string error;
  EXPECT_EQ(ParseBroker("mqtt://[::1]:5", error)->HostPort(), "[::1]:5");
}

TEST(Settings, GroupsAndIdsAreSingleTopicLevels) {
  EXPECT_TRUE(ValidGroup("guild_of-64"));
  EXPECT_TRUE(ValidGroup(std::string(64, 'g')));
  for (const std::string& group : std::vector<std::string>{"", "a/b", "a+", "#", "a b", "é", std::string(65, 'g')})
    EXPECT_FALSE(ValidGroup(group)) << group;
  EXPECT_TRUE(ValidId("0123456789abcdef"));
  for (const std::string& id : std::vector<std::string>{"", "+", "a/b", std::string(33, 'a')}) EXPECT_FALSE(ValidId(id)) << id;
}

TEST(Settings, Fingerprints) {
  const std::string hex = "ab" + std::string(62, '0');
  const auto plain = ParseFingerprint(hex);
  ASSERT_TRUE(plain);
  EXPECT_EQ((*plain)[0], 0xAB);
  std::string colons = FingerprintText(*plain);
  EXPECT_EQ(colons.substr(0, 6), "ab:00:");
  EXPECT_EQ(ParseFingerprint(colons), plain);
  EXPECT_EQ(ParseFingerprint("AB" + std::string(62, '0')), plain);
  for (const std::string& text : {std::string(), hex.substr(1), hex + "0", "zz" + hex.substr(2)})
    EXPECT_FALSE(ParseFingerprint(text)) << text;
}

}  // namespace
}  // namespace wf::friends
