// The link against a real mosquitto on this machine, with mosquitto_pub and
// mosquitto_sub as the other friends.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TestBroker.h"
#include "friends/Payload.h"
#include "friends/FriendsLink.h"

namespace wf::friends {
namespace {

using namespace std::chrono_literals;
using testing::Eventually;
using testing::Subscriber;
using testing::TestBroker;

const std::string kTopic = "wayfarer/guild/+/position";
const std::string kFriendTopic = "wayfarer/guild/00000000000000f1/position";

FriendsLink::Connector Tcp() {
  return [](const platform::StreamTarget& target, platform::ConnectFailure& failure) {
    return platform::OpenStream(target, failure, 3s);
  };
}

FriendsSettings Settings(const TestBroker& broker, const char* scheme = "mqtt") {
  FriendsSettings settings;
  settings.broker = broker.Url(scheme);
  settings.group = "guild";
  settings.name = "Aria";
  settings.user = "aria";
  settings.password = "secret";
  settings.id = "00000000000000aa";
  return settings;
}

bool Sees(const FriendsLink& link, const std::string& name, std::size_t count = 1) {
  const FriendsSnapshot snapshot = link.Snapshot();
  if (snapshot.friends.size() != count) return false;
  for (const Friend& f : snapshot.friends)
    if (f.name == name) return true;
  return false;
}

std::string StateText(const FriendsLink& link) { return link.Snapshot().stateText; }

TEST(FriendsLink, SeesAFriendAndIsSeenAndClearsItselfOnStopOverTcpAndWebSocket) {
  TestBroker broker;
  ASSERT_TRUE(broker.Started());
  Subscriber other(broker, kTopic);
  ASSERT_TRUE(broker.Publish(kFriendTopic, WritePayload("Bob", {100, 200, 5, 1})));
  const std::string own = "wayfarer/guild/00000000000000aa/position|";
  for (const char* scheme : {"mqtt", "ws"}) {
    SCOPED_TRACE(scheme);
    const std::size_t from = other.Lines().size();  // what this round's link says
    std::atomic<int> changes{0};
    FriendsLink link(Tcp(), [&] { ++changes; });
    link.SetPosition(SharedPosition{1600, 800, std::nullopt, 0});
    link.Start(Settings(broker, scheme));
    ASSERT_TRUE(Eventually([&] { return Sees(link, "Bob"); }, 5s)) << StateText(link);
    EXPECT_EQ(StateText(link), "Connected, 1 friend");
    EXPECT_EQ(link.Snapshot().friends[0].position, (SharedPosition{100, 200, 5, 1}));
    EXPECT_GT(changes.load(), 0);
    EXPECT_TRUE(other.WaitFor([&](const std::string& l) { return l == own + R"({"v":1,"name":"Aria","x":1600,"y":800,"map":0})"; }, 5s, from));
    const int x = std::string(scheme) == "ws" ? 1602 : 1601;
    link.SetPosition(SharedPosition{x, 800, std::nullopt, 0});
    EXPECT_TRUE(other.WaitFor([&](const std::string& l) { return l.find(std::to_string(x)) != std::string::npos; }, 5s));
    link.Stop();
    EXPECT_TRUE(other.WaitFor([&](const std::string& l) { return l == own; }, 5s, from)) << "the empty retained message";
    EXPECT_EQ(link.Snapshot().state, LinkState::Off);
  }
}

TEST(FriendsLink, TellsAWrongPasswordAndAPasswordInClearToAnotherMachine) {
  TestBroker broker;
  ASSERT_TRUE(broker.Started());
  FriendsLink link(Tcp(), {});
  FriendsSettings settings = Settings(broker);
  settings.password = "wrong";
  link.Start(settings);
  // mosquitto answers a wrong password of an MQTT 3.1.1 client with code 5.
  EXPECT_TRUE(Eventually([&] { return StateText(link) == "Refused: not authorized"; }, 5s)) << StateText(link);
  EXPECT_EQ(link.Snapshot().state, LinkState::Refused);
  // TEST-NET-1: never reached, the rule refuses before any connection.
  settings.broker = "mqtt://192.0.2.1:1883";
  link.Start(settings);
  EXPECT_TRUE(Eventually([&] { return link.Snapshot().state == LinkState::BadSettings; }, 5s));
  EXPECT_NE(StateText(link).find("mqtts://"), std::string::npos) << StateText(link);
  EXPECT_EQ(StateText(link).find("wrong"), std::string::npos);
}

TEST(FriendsLink, ComesBackAfterTheBrokerWasKilledAndPublishesAgain) {
  TestBroker broker;
  ASSERT_TRUE(broker.Started());
  FriendsLink link(Tcp(), {});
  link.SetPosition(SharedPosition{10, 20, std::nullopt, 0});
  ASSERT_TRUE(broker.Publish(kFriendTopic, WritePayload("Bob", {1, 2, std::nullopt, 0})));
  link.Start(Settings(broker));
  ASSERT_TRUE(Eventually([&] { return Sees(link, "Bob"); }, 5s)) << StateText(link);
  broker.Kill();
  EXPECT_TRUE(Eventually([&] { return link.Snapshot().state != LinkState::Connected; }, 5s));
  ASSERT_TRUE(broker.Restart());
  // The broker kept nothing; the friend says where he is again.
  ASSERT_TRUE(broker.Publish(kFriendTopic, WritePayload("Bob", {3, 4, std::nullopt, 0})));
  Subscriber other(broker, kTopic);
  EXPECT_TRUE(other.WaitFor([](const std::string& l) { return l.find(R"("x":10)") != std::string::npos; }, 10s))
      << "the link republished its retained position";
  EXPECT_TRUE(Eventually([&] { return Sees(link, "Bob") && link.Snapshot().friends[0].position.x == 3; }, 10s));
  EXPECT_EQ(link.Snapshot().friends.size(), 1u);
}

// A stream that goes silent on request, as a program killed with its socket
// left open by a hung machine would: nothing more goes out, nothing comes in.
class Freezable : public platform::ByteStream {
 public:
  Freezable(std::unique_ptr<platform::ByteStream> inner, std::atomic<bool>& frozen) : inner_(std::move(inner)), frozen_(frozen) {}
  bool Write(std::string_view bytes) override { return frozen_ || inner_->Write(bytes); }
  ReadResult Read(std::string& out, std::size_t maxBytes, std::chrono::milliseconds timeout) override {
    if (frozen_) {
      std::this_thread::sleep_for(timeout);
      return ReadResult::Timeout;
    }
    return inner_->Read(out, maxBytes, timeout);
  }
  void Shutdown() override { inner_->Shutdown(); }

 private:
  std::unique_ptr<platform::ByteStream> inner_;
  std::atomic<bool>& frozen_;
};

TEST(FriendsLink, ALinkGoneSilentIsSeenGoneByItsWillWithinOneAndAHalfKeepAlives) {
  TestBroker broker;
  ASSERT_TRUE(broker.Started());
  Subscriber other(broker, kTopic);
  std::atomic<bool> frozen{false};
  FriendsLink link([&](const platform::StreamTarget& target, platform::ConnectFailure& failure)
                       -> std::unique_ptr<platform::ByteStream> {
    auto stream = platform::OpenStream(target, failure, 3s);
    if (!stream) return nullptr;
    return std::make_unique<Freezable>(std::move(stream), frozen);
  }, {});
  FriendsSettings settings = Settings(broker);
  settings.keepAlive = 2s;
  link.SetPosition(SharedPosition{10, 20, std::nullopt, 0});
  link.Start(settings);
  const std::string own = "wayfarer/guild/00000000000000aa/position|";
  ASSERT_TRUE(other.WaitFor([&](const std::string& l) { return l.starts_with(own + "{"); }, 5s));
  frozen = true;
  const auto frozenAt = std::chrono::steady_clock::now();
  ASSERT_TRUE(other.WaitFor([&](const std::string& l) { return l == own; }, 6s));
  // mosquitto allows one and a half keep-alives; its timer ticks each second.
  EXPECT_LE(std::chrono::steady_clock::now() - frozenAt, 3s + 1500ms);
  link.Stop();
}

TEST(FriendsLink, TwoBridgedBrokersCarryFriendsBothWays) {
  TestBroker first;
  ASSERT_TRUE(first.Started());
  TestBroker second(first.MqttPort());
  ASSERT_TRUE(second.Started());
  FriendsLink aria(Tcp(), {});
  FriendsLink bob(Tcp(), {});
  aria.SetPosition(SharedPosition{1, 1, std::nullopt, 0});
  bob.SetPosition(SharedPosition{2, 2, std::nullopt, 0});
  aria.Start(Settings(first));
  FriendsSettings bobs = Settings(second);
  bobs.name = "Bob";
  bobs.id = "00000000000000bb";
  bob.Start(bobs);
  EXPECT_TRUE(Eventually([&] { return Sees(aria, "Bob"); }, 10s)) << StateText(aria);
  EXPECT_TRUE(Eventually([&] { return Sees(bob, "Aria"); }, 10s)) << StateText(bob);
  bob.Stop();
  EXPECT_TRUE(Eventually([&] { return aria.Snapshot().friends.empty(); }, 10s)) << "the goodbye crossed the bridge";
}

// A server that takes the connection and never says a word.
class Silent : public platform::ByteStream {
 public:
  bool Write(std::string_view) override { return !shut_; }
  ReadResult Read(std::string&, std::size_t, std::chrono::milliseconds timeout) override {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!shut_ && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(1ms);
    return shut_ ? ReadResult::Closed : ReadResult::Timeout;
  }
  void Shutdown() override { shut_ = true; }

 private:
  std::atomic<bool> shut_{false};
};

TEST(FriendsLink, StopsPromptlyWhileTheBrokerSaysNothingOrTheConnectHangs) {
  const FriendsLink::Connector silent = [](const platform::StreamTarget&, platform::ConnectFailure&) {
    return std::make_unique<Silent>();
  };
  const FriendsLink::Connector hanging = [](const platform::StreamTarget&, platform::ConnectFailure&) {
    std::this_thread::sleep_for(3s);
    return std::unique_ptr<platform::ByteStream>();
  };
  for (const auto& [broker, connector] : {std::pair{"mqtt://127.0.0.1:1", silent}, std::pair{"ws://127.0.0.1:1/", silent},
                                          std::pair{"mqtt://127.0.0.1:1", hanging}}) {
    std::atomic<int> changes{0};
    FriendsLink link(connector, [&] { ++changes; });
    FriendsSettings settings;
    settings.broker = broker;
    settings.group = "g";
    settings.id = "00000000000000aa";
    link.Start(settings);
    ASSERT_TRUE(Eventually([&] { return StateText(link) == "Connecting..."; }, 2s));
    std::this_thread::sleep_for(200ms);
    const auto before = std::chrono::steady_clock::now();
    link.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1500ms) << broker;
    const int afterStop = changes;
    std::this_thread::sleep_for(connector.target_type() == hanging.target_type() ? 3s : 0s);
    EXPECT_EQ(changes, afterStop) << "nothing is said after Stop";
  }
}

}  // namespace
}  // namespace wf::friends
