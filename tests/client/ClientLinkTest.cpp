#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "FakeClientWindows.h"
#include "client/ClientLink.h"
#include "config/Config.h"

namespace wf {
namespace {

using testing::CodesOf;
using testing::FakeClientWindows;
using testing::RecordingMessageBoxes;
using Handle = platform::IClientWindows::Handle;

constexpr Handle kClient = 0x1234;
constexpr Handle kThirdDawn = 0x5678;

struct SequenceCase {
  const char* name;
  std::optional<std::string> prefix;  // nothing: no "commandchar" pair at all
  std::string command;
  std::vector<int> expected;
};

TEST(ClientLink, TypesEnterPrefixCommandEnterIntoTheClientWindow) {
  const SequenceCase cases[] = {
      {"full stop prefix", ".", "GoSelf 10 20 0 0",
       {13, 46, 71, 111, 83, 101, 108, 102, 32, 49, 48, 32, 50, 48, 32, 48, 32, 48, 13}},
      {"empty prefix", "", "GoSelf 10 20 0 0",
       {13, 71, 111, 83, 101, 108, 102, 32, 49, 48, 32, 50, 48, 32, 48, 32, 48, 13}},
      {"no prefix pair", std::nullopt, "GoSelf 1 2 3 0", CodesOf("\rGoSelf 1 2 3 0\r")},
      {"bytes above 127 unsigned", "\xE4\xFF", "GoSelf -5 0 -128 4",
       CodesOf("\r\xE4\xFFGoSelf -5 0 -128 4\r")},
      {"longer prefix in order", "[go] ", "GoSelf 65535 4095 127 2",
       CodesOf("\r[go] GoSelf 65535 4095 127 2\r")},
      {"empty command", ".", "", {13, 46, 13}},
  };
  for (const SequenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    TConfig config;
    config.AddPair("CurrentMap", "0");
    if (c.prefix) config.AddPair("commandchar", *c.prefix);
    FakeClientWindows windows;
    windows.Windows["Ultima Online"] = kClient;
    RecordingMessageBoxes boxes;

    const TSendResult result = SendClientCommand(c.command, config, windows, boxes);
    EXPECT_EQ(result.Window, kClient);
    EXPECT_EQ(result.Delivery, TDelivery::Delivered);
    EXPECT_EQ(DeliveryProblem(c.command, result), "");
    EXPECT_EQ(windows.Codes(), c.expected);
    for (const auto& sent : windows.Sends) {
      EXPECT_EQ(sent.Window, kClient);
      EXPECT_EQ(sent.Message, 0x0102u);
      EXPECT_EQ(sent.LParam, 0);
    }
    EXPECT_TRUE(boxes.Shown.empty());
  }
}

TEST(ClientLink, PrefixIsLookedUpAgainForEveryCommand) {
  TConfig config;
  config.AddPair("commandchar", ".");
  FakeClientWindows windows;
  windows.Windows["Ultima Online"] = kClient;
  RecordingMessageBoxes boxes;

  SendClientCommand("GoSelf 1 1 0 0", config, windows, boxes);
  config.ClearPairs();
  config.AddPair("commandchar", "[");
  SendClientCommand("GoSelf 2 2 0 0", config, windows, boxes);
  config.ClearPairs();
  SendClientCommand("GoSelf 3 3 0 0", config, windows, boxes);

  EXPECT_EQ(windows.Codes(), CodesOf("\r.GoSelf 1 1 0 0\r"
                                     "\r[GoSelf 2 2 0 0\r"
                                     "\rGoSelf 3 3 0 0\r"));
}

TEST(ClientLink, TheFirstClassWinsAndTheSecondIsTheFallback) {
  TConfig config;
  RecordingMessageBoxes boxes;
  {
    FakeClientWindows windows;
    windows.Windows["Ultima Online"] = kClient;
    windows.Windows["Ultima Online Third Dawn"] = kThirdDawn;
    EXPECT_EQ(SendClientCommand("GoSelf 1 2 3 0", config, windows, boxes).Window, kClient);
    EXPECT_EQ(windows.Lookups, std::vector<std::string>{"Ultima Online"});
    ASSERT_EQ(windows.Sends.size(), 16u);
    for (const auto& sent : windows.Sends) EXPECT_EQ(sent.Window, kClient);
  }
  {
    FakeClientWindows windows;
    windows.Windows["Ultima Online Third Dawn"] = kThirdDawn;
    EXPECT_EQ(SendClientCommand("GoSelf 1 2 3 0", config, windows, boxes).Window, kThirdDawn);
    EXPECT_EQ(windows.Lookups, (std::vector<std::string>{"Ultima Online", "Ultima Online Third Dawn"}));
    ASSERT_EQ(windows.Sends.size(), 16u);
    for (const auto& sent : windows.Sends) EXPECT_EQ(sent.Window, kThirdDawn);
  }
  EXPECT_TRUE(boxes.Shown.empty());
}

TEST(ClientLink, WithoutAClientTheUserIsToldAndNothingIsSent) {
  TConfig config;
  config.AddPair("commandchar", ".");
  FakeClientWindows windows;
  windows.Windows["Notepad"] = kClient;
  windows.Windows["Ultima Online 2"] = kThirdDawn;
  RecordingMessageBoxes boxes;

  const TSendResult result = SendClientCommand("GoSelf 1 2 3 0", config, windows, boxes);
  EXPECT_EQ(result.Window, 0u);
  EXPECT_EQ(result.Delivery, TDelivery::NoClient);
  EXPECT_EQ(DeliveryProblem("GoSelf 1 2 3 0", result), "") << "the box has said it all";
  EXPECT_EQ(windows.Lookups, (std::vector<std::string>{"Ultima Online", "Ultima Online Third Dawn"}));
  EXPECT_TRUE(windows.Sends.empty());
  ASSERT_EQ(boxes.Shown.size(), 1u);
  EXPECT_EQ(boxes.Shown[0].Caption, "UO Client not started");
  EXPECT_EQ(boxes.Shown[0].Text,
            "The Command 'GoSelf 1 2 3 0' couldn't be sent, please start your UO Client.");
}

TEST(ClientLink, AFailedSendEndsTheCommandAndSaysWhy) {
  const std::vector<int> all = CodesOf("\r.GoSelf 7 8 9 0\r");
  struct Case {
    const char* name;
    size_t failing;
    platform::TSendOutcome outcome;
    TDelivery delivery;
    const char* reason;
  };
  const Case cases[] = {
      {"first refused", 0, platform::TSendOutcome::Refused, TDelivery::Refused,
       "the client runs with higher rights than Wayfarer (as administrator), and Windows does not "
       "let a program with normal rights send to it"},
      {"second timed out", 1, platform::TSendOutcome::TimedOut, TDelivery::TimedOut,
       "the client did not take it in time, and part of it may be left in the client's chat line"},
      {"gone in the middle", 5, platform::TSendOutcome::Gone, TDelivery::Gone,
       "the client's window closed"},
      {"last Enter timed out", all.size() - 1, platform::TSendOutcome::TimedOut, TDelivery::TimedOut,
       "the client did not take it in time, and part of it may be left in the client's chat line"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TConfig config;
    config.AddPair("commandchar", ".");
    FakeClientWindows windows;
    windows.Windows["Ultima Online"] = kClient;
    windows.FailAtSend = c.failing;
    windows.FailWith = c.outcome;
    RecordingMessageBoxes boxes;

    const TSendResult result = SendClientCommand("GoSelf 7 8 9 0", config, windows, boxes);
    // The failing character is the last one tried.
    EXPECT_EQ(windows.Codes(), std::vector<int>(all.begin(), all.begin() + c.failing + 1));
    EXPECT_EQ(result.Delivery, c.delivery);
    EXPECT_EQ(result.MessagesHandled, c.failing);
    EXPECT_EQ(DeliveryProblem("GoSelf 7 8 9 0", result),
              std::string("The command 'GoSelf 7 8 9 0' was not completely delivered to the game "
                          "client: ") + c.reason);
    EXPECT_TRUE(boxes.Shown.empty()) << "reported by the caller, after its own work";
  }
}

// 19 messages: Enter, ".", "GoSelf 10 20 0 0", Enter.
TEST(ClientLink, TheWholeCommandWaitsForTheClientTwoSecondsAtMost) {
  struct Case {
    const char* name;
    uint64_t msPerMessage;
    size_t handled;  // messages the client took
    size_t tried;    // messages sent
    TDelivery delivery;
    uint64_t waited;  // on the fake clock
  };
  const Case cases[] = {
      {"quick client", 0, 19, 19, TDelivery::Delivered, 0},
      {"slow but in time", 100, 19, 19, TDelivery::Delivered, 1900},
      {"slow client cut off", 150, 13, 14, TDelivery::TimedOut, 2000},
      // Before, each of the 19 characters could wait 5 s of its own.
      {"frozen client", 4900, 0, 1, TDelivery::TimedOut, 2000},
      {"exactly the bound", 2000, 1, 1, TDelivery::TimedOut, 2000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TConfig config;
    config.AddPair("commandchar", ".");
    FakeClientWindows windows;
    windows.Windows["Ultima Online"] = kClient;
    windows.MsPerMessage = c.msPerMessage;
    RecordingMessageBoxes boxes;
    const uint64_t start = windows.Clock;

    const TSendResult result = SendClientCommand("GoSelf 10 20 0 0", config, windows, boxes);
    EXPECT_EQ(result.Delivery, c.delivery);
    EXPECT_EQ(result.MessagesHandled, c.handled);
    EXPECT_EQ(windows.Sends.size(), c.tried);
    EXPECT_EQ(windows.Clock - start, c.waited);
    // Each send may wait only for what is left of the command's bound.
    uint64_t spent = 0;
    for (const auto& sent : windows.Sends) {
      EXPECT_EQ(sent.TimeoutMs, kCommandBoundMs - spent);
      spent += std::min<uint64_t>(c.msPerMessage, sent.TimeoutMs);
    }
  }
}

}  // namespace
}  // namespace wf
