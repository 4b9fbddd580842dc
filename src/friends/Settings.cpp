#include "friends/Settings.h"

#include <cctype>
#include <charconv>

namespace wf::friends {

namespace {

bool TopicLevelCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
}

bool HostNameCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
}

bool AddressCharacter(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string BrokerAddress::HostPort() const {
  const bool v6 = host.find(':') != std::string::npos;
  return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::optional<BrokerAddress> ParseBroker(std::string_view text, std::string& error) {
  struct Scheme {
    std::string_view prefix;
    Transport transport;
    uint16_t port;
  };
  static constexpr Scheme schemes[] = {
      {"mqtt://", Transport::Mqtt, 1883}, {"mqtts://", Transport::Mqtts, 8883},
      {"ws://", Transport::Ws, 80},       {"wss://", Transport::Wss, 443},
  };
  BrokerAddress address;
  const Scheme* scheme = nullptr;
  for (const Scheme& s : schemes)
    if (text.substr(0, s.prefix.size()) == s.prefix) scheme = &s;
  if (!scheme) {
    error = "The broker address must begin with mqtt://, mqtts://, ws:// or wss://";
    return std::nullopt;
  }
  address.transport = scheme->transport;
  address.port = scheme->port;
  std::string_view rest = text.substr(scheme->prefix.size());

  std::string_view authority = rest.substr(0, rest.find('/'));
  std::string_view path = rest.substr(authority.size());
  if (!path.empty() && !address.WebSocket()) {
    error = "An mqtt:// or mqtts:// broker address has no path";
    return std::nullopt;
  }
  if (path.size() > 256) {
    error = "The broker address's path is too long";
    return std::nullopt;
  }
  for (char c : path) {
    if (c <= ' ' || c >= 0x7F) {
      error = "The broker address's path may not hold spaces or other special characters";
      return std::nullopt;
    }
  }
  address.path = path.empty() ? "/" : std::string(path);

  std::string_view host = authority;
  std::string_view port;
  if (authority.substr(0, 1) == "[") {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) {
      error = "The broker address has '[' without ']'";
      return std::nullopt;
    }
    host = authority.substr(1, close - 1);
    std::string_view after = authority.substr(close + 1);
    if (!after.empty() && after[0] != ':') {
      error = "The broker address has something after ']' that is not a port";
      return std::nullopt;
    }
    if (!after.empty()) port = after.substr(1);
    if (host.empty() || host.find(':') == std::string_view::npos) {
      error = "The broker address has no IPv6 address between '[' and ']'";
      return std::nullopt;
    }
    for (char c : host) {
      if (!AddressCharacter(c)) {
        error = "The broker address has an IPv6 address that is not one";
        return std::nullopt;
      }
    }
  } else {
    const std::size_t colon = authority.find(':');
    if (colon != std::string_view::npos) {
      host = authority.substr(0, colon);
      port = authority.substr(colon + 1);
      if (port.empty()) {
        error = "The broker address has ':' without a port";
        return std::nullopt;
      }
    }
    if (host.empty()) {
      error = "The broker address has no host";
      return std::nullopt;
    }
    for (char c : host) {
      if (!HostNameCharacter(c)) {
        error = "The broker address's host may only hold letters, digits, '-', '_' and '.'";
        return std::nullopt;
      }
    }
  }
  if (host.size() > 253) {
    error = "The broker address's host is too long";
    return std::nullopt;
  }
  if (!port.empty() || authority.ends_with(':')) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (ec != std::errc{} || end != port.data() + port.size() || value == 0 || value > 65535) {
      error = "The broker address's port must be a number from 1 to 65535";
      return std::nullopt;
    }
    address.port = static_cast<uint16_t>(value);
  }
  address.host = std::string(host);
  return address;
}

bool ValidGroup(std::string_view group) {
  if (group.empty() || group.size() > 64) return false;
  for (char c : group)
    if (!TopicLevelCharacter(c)) return false;
  return true;
}

bool ValidId(std::string_view id) {
  if (id.empty() || id.size() > 32) return false;
  for (char c : id)
    if (!TopicLevelCharacter(c)) return false;
  return true;
}

std::optional<std::array<uint8_t, 32>> ParseFingerprint(std::string_view text) {
  std::array<uint8_t, 32> sha{};
  std::size_t digits = 0;
  for (char c : text) {
    if (c == ':' || c == ' ') continue;
    const int value = HexValue(c);
    if (value < 0 || digits >= 64) return std::nullopt;
    sha[digits / 2] = static_cast<uint8_t>((sha[digits / 2] << 4) | value);
    ++digits;
  }
  if (digits != 64) return std::nullopt;
  return sha;
}

std::string FingerprintText(const std::array<uint8_t, 32>& sha256) {
  static constexpr char hex[] = "0123456789abcdef";
  std::string text;
  for (uint8_t byte : sha256) {
    if (!text.empty()) text += ':';
    text += hex[byte >> 4];
    text += hex[byte & 15];
  }
  return text;
}

}  // namespace wf::friends
