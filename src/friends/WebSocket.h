#pragma once
// MQTT over WebSocket (RFC 6455, subprotocol "mqtt") on top of any byte
// stream, so ws:// runs over TCP and wss:// over TLS with the same code.
// What the server sends is bounded: the handshake's head, control frames,
// and data frames, which are passed on as they arrive and never gathered.

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ByteStream.h"

namespace wf::friends {

inline constexpr std::size_t kMaxHandshakeAnswer = 8192;

// The upgrade request for `path` on host:port with the client's key.
std::string WebSocketRequest(std::string_view host, uint16_t port, std::string_view path, std::string_view key);
// What the server must answer for `key`: base64(SHA-1(key + the RFC's GUID)).
std::string WebSocketAcceptKey(std::string_view key);
// Whether `head` (status line and headers, up to the empty line) accepts the
// upgrade for `key` with subprotocol mqtt; otherwise `error` says why.
bool CheckWebSocketAnswer(std::string_view head, std::string_view key, std::string& error);

// One client frame: FIN set, masked with `mask`.
std::string EncodeClientFrame(uint8_t opcode, std::string_view payload, const std::array<uint8_t, 4>& mask);

// Takes a server's frames apart.
class FrameReader {
 public:
  enum class Status { Ok, Closed, Error };
  // Appends the payload of data frames to `data`, the payloads of pings to
  // `pings` (at most a few are kept); Closed once a close frame came.
  Status Feed(std::string_view bytes, std::string& data, std::vector<std::string>& pings);
  const std::string& Error() const { return error_; }

 private:
  Status Fail(std::string error) {
    error_ = std::move(error);
    return Status::Error;
  }
  std::string header_;
  bool inFrame_ = false;
  bool inMessage_ = false;  // a fragmented data message goes on
  uint8_t opcode_ = 0;
  bool fin_ = false;
  uint64_t left_ = 0;
  std::string control_;
  std::string error_;
};

// Speaks the handshake over `inner` within `timeout` and takes it over; null,
// with `inner` left as it was and `error` set, when the server is not a
// WebSocket server offering mqtt.
std::unique_ptr<platform::ByteStream> OpenWebSocket(std::unique_ptr<platform::ByteStream>& inner,
                                                    std::string_view host, uint16_t port, std::string_view path,
                                                    std::chrono::milliseconds timeout, std::string& error);

}  // namespace wf::friends
