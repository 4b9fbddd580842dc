#include <gtest/gtest.h>

#include "friends/Sha1.h"
#include "friends/WebSocket.h"

namespace wf::friends {
namespace {

TEST(WebSocket, AcceptKeyIsTheOneOfTheStandard) {
  // The example of RFC 6455 (two SHA-1 blocks), and base64's padding.
  EXPECT_EQ(WebSocketAcceptKey("dGhlIHNhbXBsZSBub25jZQ=="), "s3pPLMBiTxaQ9kYGzzhZRbK+xOo=");
  EXPECT_EQ(Base64("ab"), "YWI=");
}

TEST(WebSocket, ChecksTheServersAnswer) {
  const std::string key = "dGhlIHNhbXBsZSBub25jZQ==";
  const std::string good = "HTTP/1.1 101 Switching Protocols\r\nUpgrade: WebSocket\r\nConnection: keep-alive, Upgrade\r\n"
                           "Sec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo=\r\nSec-WebSocket-Protocol: mqtt\r\n";
  std::string error;
  EXPECT_TRUE(CheckWebSocketAnswer(good, key, error)) << error;
  const std::pair<const char*, std::string> bad[] = {
      {"not found", "HTTP/1.1 404 Not Found\r\n"},
      {"not HTTP", "SSH-2.0\r\n"},
      {"wrong key", std::string(good).replace(good.find("s3p"), 3, "x3p")},
      {"no subprotocol", good.substr(0, good.find("Sec-WebSocket-Protocol"))},
      {"no upgrade", std::string(good).replace(good.find("Upgrade: WebSocket"), 18, "Upgrade: h2c")},
  };
  for (const auto& [name, head] : bad) {
    error.clear();
    EXPECT_FALSE(CheckWebSocketAnswer(head, key, error)) << name;
    EXPECT_FALSE(error.empty()) << name;
  }
}

std::string Frame(uint8_t first, std::string_view payload) {
  std::string f{static_cast<char>(first)};
  if (payload.size() < 126) f.push_back(static_cast<char>(payload.size()));
  else f += std::string{126, static_cast<char>(payload.size() >> 8), static_cast<char>(payload.size() & 255)};
  return f + std::string(payload);
}

TEST(WebSocket, ClientFramesAreMaskedAndServerFramesPassInAnyPieces) {
  const std::string frame = EncodeClientFrame(0x2, std::string(200, 'a'), {1, 2, 3, 4});
  EXPECT_EQ(frame.substr(0, 4), (std::string{char(0x82), char(0xFE), 0, char(200)}));
  EXPECT_EQ(frame[8], char('a' ^ 1));
  EXPECT_EQ(frame[9], char('a' ^ 2));

  const std::string stream = Frame(0x02, "he") + Frame(0x89, "pi") + Frame(0x80, std::string(300, 'l')) +
                             Frame(0x82, "o") + Frame(0x88, "");
  for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, stream.size()}) {
    FrameReader reader;
    std::string data;
    std::vector<std::string> pings;
    FrameReader::Status status = FrameReader::Status::Ok;
    for (std::size_t at = 0; at < stream.size() && status == FrameReader::Status::Ok; at += chunk)
      status = reader.Feed(std::string_view(stream).substr(at, chunk), data, pings);
    EXPECT_EQ(status, FrameReader::Status::Closed) << chunk;
    EXPECT_EQ(data, "he" + std::string(300, 'l') + "o") << chunk;
    EXPECT_EQ(pings, std::vector<std::string>{"pi"}) << chunk;
  }
}

TEST(WebSocket, RejectsFramesNoServerMaySend) {
  const std::pair<const char*, std::string> cases[] = {
      {"masked", std::string{char(0x82), char(0x81), 1, 2, 3, 4, 'x'}},
      {"text", Frame(0x81, "x")},
      {"reserved bits", Frame(0xC2, "x")},
      {"continuation of nothing", Frame(0x80, "x")},
      {"new message inside a fragmented one", Frame(0x02, "x") + Frame(0x82, "y")},
      {"fragmented ping", Frame(0x09, "")},
      {"long ping", Frame(0x89, std::string(126, 'p'))},
      {"unknown opcode", Frame(0x83, "")},
      {"length beyond 2^63", std::string{char(0x82), 127, char(0x80), 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& [name, bytes] : cases) {
    FrameReader reader;
    std::string data;
    std::vector<std::string> pings;
    EXPECT_EQ(reader.Feed(bytes, data, pings), FrameReader::Status::Error) << name;
  }
}

}  // namespace
}  // namespace wf::friends
