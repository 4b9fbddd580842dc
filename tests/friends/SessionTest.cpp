#include <gtest/gtest.h>

#include "friends/Payload.h"
#include "friends/Session.h"

namespace wf::friends {
namespace {

using namespace std::chrono_literals;
using mqtt::PacketType;
using Time = Session::Time;

struct Sent {
  PacketType type;
  mqtt::Packet publish;  // for PUBLISH
};

// The client's packets in `bytes`, taken apart by their fixed header.
std::vector<Sent> Parse(const std::string& bytes) {
  std::vector<Sent> out;
  std::string_view rest = bytes;
  while (!rest.empty()) {
    std::size_t length = 0, header = 1;
    for (int shift = 0;; shift += 7) {
      const uint8_t digit = static_cast<uint8_t>(rest[header++]);
      length |= std::size_t{digit & 0x7Fu} << shift;
      if (!(digit & 0x80)) break;
    }
    Sent sent{static_cast<PacketType>(static_cast<uint8_t>(rest[0]) >> 4), {}};
    if (sent.type == PacketType::Publish) mqtt::DecodePacket(rest, sent.publish);
    out.push_back(sent);
    rest.remove_prefix(header + length);
  }
  return out;
}

std::string Connack(uint8_t code) { return std::string{0x20, 2, 0, static_cast<char>(code)}; }
std::string Publish(const std::string& topic, const std::string& payload) {
  return *mqtt::EncodePublish(topic, payload, true);
}

class SessionTest : public ::testing::Test {
 protected:
  SessionConfig Config(bool share = true) {
    SessionConfig config;
    config.group = "g";
    config.id = "me";
    config.name = "Aria";
    config.share = share;
    config.keepAlive = 30s;
    return config;
  }
  // A session past CONNACK, its output so far taken.
  std::unique_ptr<Session> Live(bool share = true) {
    auto session = std::make_unique<Session>(Config(share), table, t0);
    session->Received(Connack(0), t0);
    session->TakeOutput();
    return session;
  }
  FriendsTable table{"me"};
  const Time t0 = Time{} + 1000s;
};

TEST_F(SessionTest, ConnectsSubscribesAndPublishesTheKnownPosition) {
  Session session(Config(), table, t0);
  session.SetPosition(SharedPosition{1600, 800, {}, 0});
  auto sent = Parse(session.TakeOutput());
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].type, PacketType::Connect);
  session.Tick(t0 + 1s);
  EXPECT_TRUE(session.TakeOutput().empty()) << "nothing before CONNACK";
  session.Received(Connack(0), t0 + 1s);
  EXPECT_EQ(session.GetPhase(), Session::Phase::Live);
  sent = Parse(session.TakeOutput());
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].type, PacketType::Subscribe);
  EXPECT_EQ(sent[1].publish.topic, "wayfarer/g/me/position");
  EXPECT_TRUE(sent[1].publish.retain);
  EXPECT_EQ(sent[1].publish.payload, R"({"v":1,"name":"Aria","x":1600,"y":800,"map":0})");
}

TEST_F(SessionTest, EveryRefusalEndsTheSessionWithItsWords) {
  Session session(Config(), table, t0);
  session.Received(Connack(4), t0);
  EXPECT_EQ(session.GetPhase(), Session::Phase::Closed);
  EXPECT_EQ(session.GetEnding(), Session::Ending::Refused);
  EXPECT_EQ(session.EndingText(), "bad user name or password");
  Session silent(Config(), table, t0);
  silent.Tick(t0 + 10s);
  EXPECT_EQ(silent.GetEnding(), Session::Ending::Lost) << "no CONNACK in time";
}

TEST_F(SessionTest, PublishesAtMostFourTimesASecondTheNewestPosition) {
  auto session = Live();
  int published = 0;
  std::string last;
  for (int ms = 0; ms <= 1000; ms += 10) {
    session->SetPosition(SharedPosition{ms, 1, {}, 0});
    session->Tick(t0 + std::chrono::milliseconds(ms));
    for (const Sent& s : Parse(session->TakeOutput()))
      if (s.type == PacketType::Publish) ++published, last = s.publish.payload;
  }
  EXPECT_EQ(published, 5);  // at 0, 250, 500, 750 and 1000 ms
  EXPECT_EQ(ReadPayload(last)->position.x, 1000);
  session->Tick(t0 + 2s);
  EXPECT_TRUE(Parse(session->TakeOutput()).empty()) << "an unchanged position is not sent again";
  // A player no longer known is gone for the friends.
  session->SetPosition(std::nullopt);
  session->Tick(t0 + 3s);
  const auto sent = Parse(session->TakeOutput());
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].publish.payload, "");
}

TEST_F(SessionTest, PingsWhenIdleAndGivesUpOnASilentBroker) {
  auto session = Live();
  session->Tick(t0 + 14s);
  EXPECT_TRUE(Parse(session->TakeOutput()).empty());
  session->Tick(t0 + 15s);
  auto sent = Parse(session->TakeOutput());
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].type, PacketType::Pingreq);
  session->Received(std::string{char(0xD0), 0}, t0 + 16s);
  session->Tick(t0 + 30s);
  EXPECT_EQ(session->GetPhase(), Session::Phase::Live);
  sent = Parse(session->TakeOutput());
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(session->NextDeadline(), t0 + 45s);
  session->Tick(t0 + 45s);
  EXPECT_EQ(session->GetEnding(), Session::Ending::Lost);
}

TEST_F(SessionTest, StopClearsWhatWasSharedAndSharingOffPublishesNothingOfThePlayer) {
  auto sharing = Live();
  sharing->SetPosition(SharedPosition{1, 2, {}, 0});
  sharing->Tick(t0);
  sharing->TakeOutput();
  sharing->Stop();
  auto sent = Parse(sharing->TakeOutput());
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].publish.payload, "");
  EXPECT_TRUE(sent[0].publish.retain);
  EXPECT_EQ(sent[1].type, PacketType::Disconnect);

  auto hidden = std::make_unique<Session>(Config(false), table, t0);
  hidden->TakeOutput();
  hidden->Received(Connack(0), t0);
  std::vector<Sent> all;
  for (int s = 0; s < 3; ++s) {
    hidden->SetPosition(SharedPosition{s, 2, {}, 0});
    hidden->Tick(t0 + std::chrono::seconds(s));
    for (const Sent& x : Parse(hidden->TakeOutput())) all.push_back(x);
  }
  hidden->Stop();
  for (const Sent& x : Parse(hidden->TakeOutput())) all.push_back(x);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].type, PacketType::Subscribe);
  EXPECT_EQ(all[1].publish.payload, "") << "what an earlier run shared is cleared";
  EXPECT_EQ(all[2].type, PacketType::Disconnect);
}

TEST_F(SessionTest, HearsFriendsOfItsGroupOnly) {
  auto session = Live();
  const std::string aria = WritePayload("Aria", {1, 2, {}, 0});
  struct Case {
    const char* name;
    std::string bytes;
    std::size_t friends;
  };
  const Case cases[] = {
      {"a friend", Publish("wayfarer/g/a1/position", aria), 1},
      {"the same friend again", Publish("wayfarer/g/a1/position", aria), 1},
      {"the player's own id", Publish("wayfarer/g/me/position", aria), 1},
      {"another group", Publish("wayfarer/g2/b/position", aria), 1},
      {"a group that starts alike", Publish("wayfarer/gg/b/position", aria), 1},
      {"an id too long", Publish("wayfarer/g/" + std::string(33, 'b') + "/position", aria), 1},
      {"another topic", Publish("wayfarer/g/b/other", aria), 1},
      {"a bad payload", Publish("wayfarer/g/b/position", "{}"), 1},
      {"a second friend", Publish("wayfarer/g/b2/position", aria), 2},
      {"an empty message", Publish("wayfarer/g/a1/position", ""), 1},
  };
  for (const Case& c : cases) {
    session->Received(c.bytes, t0);
    EXPECT_EQ(table.Friends().size(), c.friends) << c.name;
  }
  EXPECT_EQ(table.Friends()[0].id, "b2");
  EXPECT_EQ(session->GetPhase(), Session::Phase::Live);
}

TEST_F(SessionTest, AcknowledgesWhatABrokerSendsWithQoS1And2) {
  auto session = Live();
  session->Received(std::string{0x32, 5, 0, 1, 't', 0, 7}, t0);
  session->Received(std::string{0x34, 5, 0, 1, 't', 0, 8}, t0);
  session->Received(std::string{0x62, 2, 0, 8}, t0);
  const auto sent = Parse(session->TakeOutput());
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].type, PacketType::Puback);
  EXPECT_EQ(sent[1].type, PacketType::Pubrec);
  EXPECT_EQ(sent[2].type, PacketType::Pubcomp);
}

TEST_F(SessionTest, SkipsOversizedMessagesInAnyChunksAndEndsOnGarbage) {
  auto session = Live();
  const std::string big = std::string{0x30, char(0x80), char(0x80), 1, 0, 1, 't'} + std::string(16384 - 3, 'x');
  const std::string stream = big + Publish("wayfarer/g/a/position", WritePayload("A", {1, 1, {}, 0}));
  // Byte by byte and in one piece alike.
  for (std::size_t chunk : {std::size_t{1}, std::size_t{1000}, stream.size()}) {
    table.Clear();
    for (std::size_t at = 0; at < stream.size(); at += chunk) session->Received(stream.substr(at, chunk), t0);
    EXPECT_EQ(table.Friends().size(), 1u) << chunk;
  }
  session->Received(std::string{0x10, 0}, t0);
  EXPECT_EQ(session->GetEnding(), Session::Ending::Lost);
}

TEST(Backoff, DoublesFromOneSecondToAMinuteWithJitterAndStartsOver) {
  Backoff backoff(42);
  const int64_t ceilings[] = {1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000, 60000};
  for (int round = 0; round < 2; ++round) {
    for (int64_t ceiling : ceilings) {
      const auto delay = backoff.Next().count();
      EXPECT_GE(delay, ceiling / 2);
      EXPECT_LE(delay, ceiling);
    }
    backoff.Reset();
  }
}

}  // namespace
}  // namespace wf::friends
