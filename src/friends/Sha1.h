#pragma once
// SHA-1 and base64, only for the WebSocket handshake's accept key (RFC 6455
// fixes both). Not for anything that must resist an attacker: the handshake
// only proves the server speaks WebSocket.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace wf::friends {

std::array<uint8_t, 20> Sha1(std::string_view bytes);
std::string Base64(std::string_view bytes);

}  // namespace wf::friends
