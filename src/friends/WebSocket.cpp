#include "friends/WebSocket.h"

#include <algorithm>
#include <cctype>
#include <random>

#include "friends/Sha1.h"

namespace wf::friends {

namespace {

using Clock = std::chrono::steady_clock;
using platform::ByteStream;

constexpr uint8_t kContinuation = 0x0, kText = 0x1, kBinary = 0x2, kClose = 0x8, kPing = 0x9, kPong = 0xA;
constexpr std::size_t kMaxPings = 4;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// Whether the comma-separated `list` holds `token` (compared without case).
bool HasToken(std::string_view list, std::string_view token) {
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    if (Lower(Trimmed(list.substr(0, comma))) == token) return true;
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return false;
}

class WebSocketStream : public ByteStream {
 public:
  WebSocketStream(std::unique_ptr<ByteStream> inner, std::string leftover)
      : inner_(std::move(inner)), raw_(std::move(leftover)), random_(std::random_device{}()) {}

  bool Write(std::string_view bytes) override {
    if (closed_) return false;
    return inner_->Write(EncodeClientFrame(kBinary, bytes, Mask()));
  }

  ReadResult Read(std::string& out, std::size_t maxBytes, std::chrono::milliseconds timeout) override {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
      if (!data_.empty()) {
        const std::size_t n = std::min(maxBytes, data_.size());
        out.append(data_, 0, n);
        data_.erase(0, n);
        return ReadResult::Data;
      }
      if (closed_) return ReadResult::Closed;
      if (raw_.empty()) {
        const auto left = std::max(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()),
                                   std::chrono::milliseconds(0));
        const ReadResult got = inner_->Read(raw_, 16384, left);
        if (got == ReadResult::Closed) closed_ = true;
        if (got != ReadResult::Data) return got;
      }
      std::vector<std::string> pings;
      const FrameReader::Status status = reader_.Feed(raw_, data_, pings);
      raw_.clear();
      for (const std::string& ping : pings) inner_->Write(EncodeClientFrame(kPong, ping, Mask()));
      if (status == FrameReader::Status::Closed) {
        // Answer the close as the protocol asks, then the stream is over.
        inner_->Write(EncodeClientFrame(kClose, {}, Mask()));
        closed_ = true;
      } else if (status == FrameReader::Status::Error) {
        closed_ = true;
      }
      if (data_.empty() && Clock::now() >= deadline) return closed_ ? ReadResult::Closed : ReadResult::Timeout;
    }
  }

  void Shutdown() override { inner_->Shutdown(); }

 private:
  std::array<uint8_t, 4> Mask() {
    const uint32_t value = static_cast<uint32_t>(random_());
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
  }

  std::unique_ptr<ByteStream> inner_;
  std::string raw_;
  std::string data_;
  FrameReader reader_;
  bool closed_ = false;
  std::mt19937_64 random_;
};

}  // namespace

std::string WebSocketRequest(std::string_view host, uint16_t port, std::string_view path, std::string_view key) {
  const bool v6 = host.find(':') != std::string_view::npos;
  std::string request = "GET " + std::string(path) + " HTTP/1.1\r\n";
  request += "Host: ";
  if (v6) request += '[';
  request += host;
  if (v6) request += ']';
  request += ':';
  request += std::to_string(port);
  request += "\r\n";
  request += "Upgrade: websocket\r\nConnection: Upgrade\r\n";
  request += "Sec-WebSocket-Key: " + std::string(key) + "\r\n";
  request += "Sec-WebSocket-Version: 13\r\nSec-WebSocket-Protocol: mqtt\r\n\r\n";
  return request;
}

std::string WebSocketAcceptKey(std::string_view key) {
  const auto digest = Sha1(std::string(key) + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11");
  return Base64(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

bool CheckWebSocketAnswer(std::string_view head, std::string_view key, std::string& error) {
  const std::size_t lineEnd = head.find("\r\n");
  const std::string_view status = head.substr(0, lineEnd);
  if (!status.starts_with("HTTP/1.1 ") || status.size() < 12) {
    error = "the server does not speak HTTP/1.1";
    return false;
  }
  if (status.substr(9, 3) != "101") {
    error = "the server did not switch to WebSocket (HTTP " + std::string(status.substr(9, 3)) + ")";
    return false;
  }
  bool upgrade = false, connection = false, accept = false, protocol = false;
  std::string_view rest = lineEnd == std::string_view::npos ? std::string_view() : head.substr(lineEnd + 2);
  while (!rest.empty()) {
    const std::size_t end = rest.find("\r\n");
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string name = Lower(Trimmed(line.substr(0, colon)));
    const std::string_view value = Trimmed(line.substr(colon + 1));
    if (name == "upgrade") upgrade = Lower(value) == "websocket";
    if (name == "connection") connection = HasToken(value, "upgrade");
    if (name == "sec-websocket-accept") accept = value == WebSocketAcceptKey(key);
    if (name == "sec-websocket-protocol") protocol = Lower(value) == "mqtt";
  }
  if (!upgrade || !connection) error = "the server's answer is not a WebSocket upgrade";
  else if (!accept) error = "the server's WebSocket accept key is wrong";
  else if (!protocol) error = "the server does not offer MQTT over WebSocket";
  return upgrade && connection && accept && protocol;
}

std::string EncodeClientFrame(uint8_t opcode, std::string_view payload, const std::array<uint8_t, 4>& mask) {
  std::string frame;
  frame.push_back(static_cast<char>(0x80 | opcode));
  const uint64_t length = payload.size();
  if (length < 126) {
    frame.push_back(static_cast<char>(0x80 | length));
  } else if (length <= 0xFFFF) {
    frame.push_back(static_cast<char>(0x80 | 126));
    frame.push_back(static_cast<char>(length >> 8));
    frame.push_back(static_cast<char>(length & 0xFF));
  } else {
    frame.push_back(static_cast<char>(0x80 | 127));
    for (int i = 7; i >= 0; --i) frame.push_back(static_cast<char>(length >> (8 * i)));
  }
  frame.append(reinterpret_cast<const char*>(mask.data()), 4);
  for (std::size_t i = 0; i < payload.size(); ++i)
    frame.push_back(static_cast<char>(static_cast<uint8_t>(payload[i]) ^ mask[i % 4]));
  return frame;
}

FrameReader::Status FrameReader::Feed(std::string_view bytes, std::string& data, std::vector<std::string>& pings) {
  if (!error_.empty()) return Status::Error;
  while (!bytes.empty()) {
    if (!inFrame_) {
      // The header is 2 to 10 bytes (never masked from a server).
      const std::size_t want = header_.size() < 2 ? 2 : 2 + ((header_[1] & 0x7F) == 126 ? 2 : (header_[1] & 0x7F) == 127 ? 8 : 0);
      const std::size_t take = std::min(bytes.size(), want - header_.size());
      header_.append(bytes.substr(0, take));
      bytes.remove_prefix(take);
      if (header_.size() < 2) continue;
      const std::size_t need = 2 + ((header_[1] & 0x7F) == 126 ? 2 : (header_[1] & 0x7F) == 127 ? 8 : 0);
      if (header_.size() < need) continue;
      const uint8_t first = static_cast<uint8_t>(header_[0]);
      const uint8_t second = static_cast<uint8_t>(header_[1]);
      if (first & 0x70) return Fail("a WebSocket frame with reserved bits");
      if (second & 0x80) return Fail("a masked WebSocket frame from the server");
      fin_ = first & 0x80;
      opcode_ = first & 0x0F;
      uint64_t length = second & 0x7F;
      if (length >= 126) {
        length = 0;
        for (std::size_t i = 2; i < need; ++i) length = (length << 8) | static_cast<uint8_t>(header_[i]);
        if (length >> 63) return Fail("a WebSocket frame longer than any can be");
      }
      header_.clear();
      if (opcode_ >= 0x8) {
        if (opcode_ > kPong) return Fail("an unknown WebSocket control frame");
        if (!fin_ || length > 125) return Fail("a fragmented or long WebSocket control frame");
        control_.clear();
      } else if (opcode_ == kText) {
        return Fail("a WebSocket text frame where MQTT sends binary ones");
      } else if (opcode_ == kBinary) {
        if (inMessage_) return Fail("a new WebSocket message inside a fragmented one");
        inMessage_ = !fin_;
      } else if (opcode_ == kContinuation) {
        if (!inMessage_) return Fail("a WebSocket continuation of nothing");
        inMessage_ = !fin_;
      } else {
        return Fail("an unknown WebSocket frame");
      }
      left_ = length;
      inFrame_ = true;
    }
    const std::size_t take = static_cast<std::size_t>(std::min<uint64_t>(left_, bytes.size()));
    if (opcode_ >= 0x8) control_.append(bytes.substr(0, take));
    else data.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    left_ -= take;
    if (left_ > 0) continue;
    inFrame_ = false;
    if (opcode_ == kClose) return Status::Closed;
    if (opcode_ == kPing && pings.size() < kMaxPings) pings.push_back(control_);
  }
  return Status::Ok;
}

std::unique_ptr<ByteStream> OpenWebSocket(std::unique_ptr<ByteStream>& inner, std::string_view host, uint16_t port,
                                          std::string_view path, std::chrono::milliseconds timeout,
                                          std::string& error) {
  const auto deadline = Clock::now() + timeout;
  std::random_device random;
  std::string nonce;
  for (int i = 0; i < 16; ++i) nonce.push_back(static_cast<char>(random() & 0xFF));
  const std::string key = Base64(nonce);
  if (!inner->Write(WebSocketRequest(host, port, path, key))) {
    error = "the connection closed";
    return nullptr;
  }
  std::string answer;
  std::size_t headEnd = std::string::npos;
  while ((headEnd = answer.find("\r\n\r\n")) == std::string::npos) {
    if (answer.size() > kMaxHandshakeAnswer) {
      error = "the server's answer is too long";
      return nullptr;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      error = "the server did not answer the WebSocket upgrade";
      return nullptr;
    }
    const auto got = inner->Read(answer, kMaxHandshakeAnswer, left);
    if (got == ByteStream::ReadResult::Closed) {
      error = "the connection closed during the WebSocket upgrade";
      return nullptr;
    }
  }
  if (!CheckWebSocketAnswer(std::string_view(answer).substr(0, headEnd + 2), key, error)) return nullptr;
  return std::make_unique<WebSocketStream>(std::move(inner), answer.substr(headEnd + 4));
}

}  // namespace wf::friends
