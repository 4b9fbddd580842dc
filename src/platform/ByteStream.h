#pragma once
// A connection to another machine as a two-way stream of bytes: TCP, or TLS
// over TCP. The friends' link speaks MQTT (and WebSocket) over it and never
// knows which. POSIX gives plain TCP (enough for the native tests); Win32 gives
// TCP through Winsock and TLS through the system's own TLS.

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace wf::platform {

class ByteStream {
 public:
  virtual ~ByteStream() = default;
  // Sends all of `bytes`; false once the stream is broken or shut down.
  virtual bool Write(std::string_view bytes) = 0;

  enum class ReadResult { Data, Timeout, Closed };
  // Waits at most `timeout` for bytes and appends what arrived (at most
  // `maxBytes`) to `out`. Closed once the peer closed, the stream broke or
  // Shutdown was called.
  virtual ReadResult Read(std::string& out, std::size_t maxBytes,
                          std::chrono::milliseconds timeout) = 0;
  // Safe from any thread: makes a waiting Read return Closed soon and every
  // later call fail.
  virtual void Shutdown() = 0;
};

struct StreamTarget {
  std::string host;        // a name or a literal address ([::1] without brackets)
  uint16_t port = 0;
  bool tls = false;
  // With TLS: when set, the server's certificate is accepted exactly when the
  // SHA-256 of its DER encoding is this; otherwise the system's trusted roots
  // and the host name decide.
  std::optional<std::array<uint8_t, 32>> pinnedSha256;
  // Refuse (kind NotLoopback) unless every address the host resolves to is a
  // loopback one: a password may travel in clear only to this machine.
  bool loopbackOnly = false;
};

struct ConnectFailure {
  enum class Kind { Unreachable, NotLoopback, CertificateNotTrusted, TlsFailed };
  Kind kind = Kind::Unreachable;
  std::string text;                          // the system's words, for a log line
  std::optional<std::array<uint8_t, 32>> certificateSha256;  // CertificateNotTrusted
};

// Resolves and connects within `timeout`. On failure returns null and says why.
std::unique_ptr<ByteStream> OpenStream(const StreamTarget& target, ConnectFailure& failure,
                                       std::chrono::milliseconds timeout);

}  // namespace wf::platform
