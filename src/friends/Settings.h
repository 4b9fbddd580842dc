#pragma once
// The friends' settings as the player typed them, checked before anything
// goes on the wire: the broker's address, the group, the certificate's
// fingerprint and the ids in topics.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wf::friends {

enum class Transport { Mqtt, Mqtts, Ws, Wss };

struct BrokerAddress {
  Transport transport = Transport::Mqtt;
  std::string host;   // without the brackets of an IPv6 address
  uint16_t port = 0;
  std::string path;   // WebSocket only; "/" when none was given
  bool Tls() const { return transport == Transport::Mqtts || transport == Transport::Wss; }
  bool WebSocket() const { return transport == Transport::Ws || transport == Transport::Wss; }
  // host:port as the player would write it ([::1]:1883 for IPv6).
  std::string HostPort() const;
};

// Nothing, with `error` saying what is wrong, for an address that is not one.
std::optional<BrokerAddress> ParseBroker(std::string_view text, std::string& error);

// 1-64 of letters, digits, '-' and '_': it is a topic level, so no '/', '+' or '#'.
bool ValidGroup(std::string_view group);
// An installation's id in a topic: 1-32 of letters, digits, '-' and '_'
// (Wayfarer makes 16 hex digits; bots may name themselves).
bool ValidId(std::string_view id);

// 64 hex digits, colons (and spaces) between them allowed.
std::optional<std::array<uint8_t, 32>> ParseFingerprint(std::string_view text);
// "ab:cd:..." as the state line shows it.
std::string FingerprintText(const std::array<uint8_t, 32>& sha256);

}  // namespace wf::friends
