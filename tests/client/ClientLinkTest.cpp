#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "DesktopFakes.h"
#include "client/ClientLink.h"
#include "config/Config.h"

namespace wf {
namespace {

using testing::CodesOf;
using testing::FakeClientWindows;
using testing::FakeMessageBoxes;
using Handle = platform::IClientWindows::Handle;

constexpr Handle kClient = 0x1234;
constexpr Handle kThirdDawn = 0x5678;

// The classic client's window, and a configuration with `prefix` as its
// "commandchar" (none: no such pair), as most cases send to.
struct ClassicClient {
  explicit ClassicClient(std::optional<std::string> prefix = ".") {
    if (prefix) config.AddPair("commandchar", *prefix);
    windows.Windows["Ultima Online"] = kClient;
  }
  TSendResult Send(const std::string& command) { return SendClientCommand(command, config, windows, boxes); }

  TConfig config;
  FakeClientWindows windows;
  FakeMessageBoxes boxes;
};

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
    ClassicClient client(c.prefix);
    client.config.AddPair("CurrentMap", "0");

    const TSendResult result = client.Send(c.command);
    EXPECT_EQ(result.Window, kClient);
    EXPECT_EQ(result.Delivery, TDelivery::Delivered);
    EXPECT_EQ(DeliveryProblem(c.command, result), "");
    EXPECT_EQ(client.windows.Codes(), c.expected);
    for (const auto& sent : client.windows.Sends) {
      EXPECT_EQ(sent.Window, kClient);
      EXPECT_EQ(sent.Message, 0x0102u);
      EXPECT_EQ(sent.LParam, 0);
    }
    EXPECT_TRUE(client.boxes.boxes.empty());
  }
}

TEST(ClientLink, PrefixIsLookedUpAgainForEveryCommand) {
  ClassicClient client;
  client.Send("GoSelf 1 1 0 0");
  client.config.ClearPairs();
  client.config.AddPair("commandchar", "[");
  client.Send("GoSelf 2 2 0 0");
  client.config.ClearPairs();
  client.Send("GoSelf 3 3 0 0");

  EXPECT_EQ(client.windows.Codes(), CodesOf("\r.GoSelf 1 1 0 0\r"
                                     "\r[GoSelf 2 2 0 0\r"
                                     "\rGoSelf 3 3 0 0\r"));
}

TEST(ClientLink, TheFirstClassWinsAndTheSecondIsTheFallback) {
  TConfig config;
  FakeMessageBoxes boxes;
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
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(ClientLink, WithoutAClientTheUserIsToldAndNothingIsSent) {
  TConfig config;
  config.AddPair("commandchar", ".");
  FakeClientWindows windows;
  windows.Windows["Notepad"] = kClient;
  windows.Windows["Ultima Online 2"] = kThirdDawn;
  FakeMessageBoxes boxes;

  const TSendResult result = SendClientCommand("GoSelf 1 2 3 0", config, windows, boxes);
  EXPECT_EQ(result.Window, 0u);
  EXPECT_EQ(result.Delivery, TDelivery::NoClient);
  EXPECT_EQ(DeliveryProblem("GoSelf 1 2 3 0", result), "") << "the box has said it all";
  EXPECT_EQ(windows.Lookups,
            (std::vector<std::string>{"Ultima Online", "Ultima Online Third Dawn", "SDL_app *"}));
  EXPECT_TRUE(windows.Sends.empty());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "UO Client not started");
  EXPECT_EQ(boxes.boxes[0].text,
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
    ClassicClient client;
    client.windows.FailAtSend = c.failing;
    client.windows.FailWith = c.outcome;

    const TSendResult result = client.Send("GoSelf 7 8 9 0");
    // The failing character is the last one tried.
    EXPECT_EQ(client.windows.Codes(), std::vector<int>(all.begin(), all.begin() + c.failing + 1));
    EXPECT_EQ(result.Delivery, c.delivery);
    EXPECT_EQ(result.MessagesHandled, c.failing);
    EXPECT_EQ(DeliveryProblem("GoSelf 7 8 9 0", result),
              std::string("The command 'GoSelf 7 8 9 0' was not completely delivered to the game "
                          "client: ") + c.reason);
    EXPECT_TRUE(client.boxes.boxes.empty()) << "reported by the caller, after its own work";
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
    ClassicClient client;
    client.windows.MsPerMessage = c.msPerMessage;
    const uint64_t start = client.windows.Clock;

    const TSendResult result = client.Send("GoSelf 10 20 0 0");
    EXPECT_EQ(result.Delivery, c.delivery);
    EXPECT_EQ(result.MessagesHandled, c.handled);
    EXPECT_EQ(client.windows.Sends.size(), c.tried);
    EXPECT_EQ(client.windows.Clock - start, c.waited);
    // Each send may wait only for what is left of the command's bound.
    uint64_t spent = 0;
    for (const auto& sent : client.windows.Sends) {
      EXPECT_EQ(sent.TimeoutMs, kCommandBoundMs - spent);
      spent += std::min<uint64_t>(c.msPerMessage, sent.TimeoutMs);
    }
  }
}

using Top = platform::IClientWindows::TTopWindow;

TEST(ClientLink, TheOpenClientIsFoundByClassAndTitleAfterTheClassicClasses) {
  constexpr Handle kA = 0x100, kB = 0x200, kOther = 0x300;
  constexpr Handle kHigh = 0x80001234;
  struct Case {
    const char* name;
    std::vector<Top> sdlWindows;  // in the window order
    Handle classic;               // a classic client too, or 0
    Handle assistant;
    std::optional<intptr_t> named;  // the assistant's answer
    Handle expected;
  };
  const Case cases[] = {
      {"the only one", {{kA, "ClassicUO - 1.0.0.0"}}, 0, 0, std::nullopt, kA},
      {"logged in", {{kOther, "Some Game"}, {kB, "Hero - ClassicUO - 4.1"}}, 0, 0, std::nullopt, kB},
      {"other SDL programs are no client", {{kOther, "Some Game"}}, 0, 0, std::nullopt, 0},
      {"highest in the order without an assistant",
       {{kA, "A - ClassicUO - 4"}, {kB, "B - ClassicUO - 4"}}, 0, 0, std::nullopt, kA},
      {"the one the assistant names",
       {{kA, "A - ClassicUO - 4"}, {kB, "B - ClassicUO - 4"}}, 0, 0x77, 0x200, kB},
      {"named by its low 32 bits, sign-extended",
       {{kA, "A - ClassicUO - 4"}, {kHigh, "B - ClassicUO - 4"}}, 0, 0x77,
       static_cast<intptr_t>(static_cast<int32_t>(0x80001234u)), kHigh},
      {"an assistant naming another window",
       {{kA, "A - ClassicUO - 4"}, {kB, "B - ClassicUO - 4"}}, 0, 0x77, 0x999, kA},
      {"an assistant naming no window", {{kA, "A - ClassicUO - 4"}, {kB, "B - ClassicUO - 4"}}, 0,
       0x77, 0, kA},
      {"the classic client first", {{kA, "ClassicUO - 1.0.0.0"}}, kClient, 0, std::nullopt, kClient},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TConfig config;
    FakeClientWindows windows;
    windows.Ordered["SDL_app"] = c.sdlWindows;
    if (c.classic) windows.Windows["Ultima Online"] = c.classic;
    windows.Assistant = c.assistant;
    if (c.named) windows.Answers[kAssistantClientWindow] = *c.named;
    FakeMessageBoxes boxes;

    const TSendResult result = SendClientCommand("go 1 2 3", config, windows, boxes);
    EXPECT_EQ(result.Window, c.expected);
    EXPECT_EQ(boxes.boxes.size(), c.expected ? 0u : 1u);
    for (const auto& sent : windows.Sends) {
      if (sent.Window == c.assistant) {
        EXPECT_EQ(sent.Message, kAssistantClientWindow);
        EXPECT_EQ(sent.TimeoutMs, kAssistantBoundMs);
      } else {
        EXPECT_EQ(sent.Window, c.expected);
      }
    }
  }
}

// Sent to the open client: Enter as a key pair, the text as characters, Enter.
std::vector<FakeClientWindows::Sent> OpenClientSequence(Handle window, const std::string& text) {
  std::vector<FakeClientWindows::Sent> s;
  s.push_back({window, 0x0100, 0x0D, 0x001C0001, 0, 0x0D});
  s.push_back({window, 0x0101, 0x0D, static_cast<intptr_t>(0xC01C0001u), 0, 0x0D});
  for (char c : text) s.push_back({window, 0x0102, static_cast<uint8_t>(c), 0, 0, static_cast<uint8_t>(c)});
  s.push_back(s[0]);
  s.push_back(s[1]);
  return s;
}

TEST(ClientLink, TheOpenClientIsBroughtToTheFrontAndGetsEnterAsKeys) {
  constexpr Handle kOpen = 0x400;
  struct Case {
    const char* name;
    std::optional<int> frontAfterLooks;  // nothing: never comes to the front
    uint64_t msPerMessage;
    TDelivery delivery;
    int pauses;
    size_t sends;
  };
  const Case cases[] = {
      {"comes at once", 0, 0, TDelivery::Delivered, 0, 11},
      {"comes after three looks", 3, 0, TDelivery::Delivered, 3, 11},
      // The command's own bound starts once the client is in front.
      {"slow to come, slow to take", 99, 150, TDelivery::Delivered, 99, 11},
      {"never comes", std::nullopt, 0, TDelivery::NotInFront, 100, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TConfig config;
    config.AddPair("commandchar", "[");
    FakeClientWindows windows;
    windows.Ordered["SDL_app"] = {{kOpen, "Hero - ClassicUO - 4.1"}};
    windows.Foreground = 0x55;  // the map window, clicked a moment ago
    windows.FrontAfterLooks = c.frontAfterLooks;
    windows.MsPerMessage = c.msPerMessage;
    FakeMessageBoxes boxes;

    const TSendResult result = SendClientCommand("go 1 2", config, windows, boxes);
    EXPECT_EQ(result.Delivery, c.delivery);
    EXPECT_EQ(windows.BroughtToFront, std::vector<Handle>{kOpen});
    EXPECT_EQ(windows.Pauses, c.pauses);
    ASSERT_EQ(windows.Sends.size(), c.sends);
    if (c.sends) {
      const auto expected = OpenClientSequence(kOpen, "[go 1 2");
      for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(windows.Sends[i].Window, expected[i].Window);
        EXPECT_EQ(windows.Sends[i].Message, expected[i].Message);
        EXPECT_EQ(windows.Sends[i].WParam, expected[i].WParam);
        EXPECT_EQ(windows.Sends[i].LParam, expected[i].LParam);
      }
      EXPECT_EQ(windows.Foreground, kOpen) << "the player goes on playing there";
    }
    EXPECT_TRUE(boxes.boxes.empty());
  }
}

TEST(ClientLink, AnOpenClientThatStaysBehindIsReported) {
  FakeClientWindows windows;
  windows.Ordered["SDL_app"] = {{0x400, "ClassicUO - 4.1"}};
  windows.FrontAfterLooks = std::nullopt;
  FakeMessageBoxes boxes;
  TConfig config;
  const TSendResult result = SendClientCommand("GoSelf 1 2 3 0", config, windows, boxes);
  EXPECT_EQ(DeliveryProblem("GoSelf 1 2 3 0", result),
            "The command 'GoSelf 1 2 3 0' was not sent: the game client takes typed text only while "
            "its window is in front, and its window could not be brought to the front");
  // One second of looking, and not much more.
  EXPECT_GE(windows.Clock - 1000, kForegroundBoundMs);
  EXPECT_LT(windows.Clock - 1000, kForegroundBoundMs + 20);
}

}  // namespace
}  // namespace wf
