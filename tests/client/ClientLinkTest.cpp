#include <gtest/gtest.h>

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
    windows.windows["Ultima Online"] = kClient;
    FakeMessageBoxes boxes;

    EXPECT_EQ(SendClientCommand(c.command, config, windows, boxes), kClient);
    EXPECT_EQ(windows.Codes(), c.expected);
    for (const auto& sent : windows.sends) EXPECT_EQ(sent.window, kClient);
    EXPECT_TRUE(boxes.boxes.empty());
  }
}

TEST(ClientLink, PrefixIsLookedUpAgainForEveryCommand) {
  TConfig config;
  config.AddPair("commandchar", ".");
  FakeClientWindows windows;
  windows.windows["Ultima Online"] = kClient;
  FakeMessageBoxes boxes;

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
  FakeMessageBoxes boxes;
  {
    FakeClientWindows windows;
    windows.windows["Ultima Online"] = kClient;
    windows.windows["Ultima Online Third Dawn"] = kThirdDawn;
    EXPECT_EQ(SendClientCommand("GoSelf 1 2 3 0", config, windows, boxes), kClient);
    EXPECT_EQ(windows.lookups, std::vector<std::string>{"Ultima Online"});
    ASSERT_EQ(windows.sends.size(), 16u);
    for (const auto& sent : windows.sends) EXPECT_EQ(sent.window, kClient);
  }
  {
    FakeClientWindows windows;
    windows.windows["Ultima Online Third Dawn"] = kThirdDawn;
    EXPECT_EQ(SendClientCommand("GoSelf 1 2 3 0", config, windows, boxes), kThirdDawn);
    EXPECT_EQ(windows.lookups, (std::vector<std::string>{"Ultima Online", "Ultima Online Third Dawn"}));
    ASSERT_EQ(windows.sends.size(), 16u);
    for (const auto& sent : windows.sends) EXPECT_EQ(sent.window, kThirdDawn);
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(ClientLink, WithoutAClientTheUserIsToldAndNothingIsSent) {
  TConfig config;
  config.AddPair("commandchar", ".");
  FakeClientWindows windows;
  windows.windows["Notepad"] = kClient;
  windows.windows["Ultima Online 2"] = kThirdDawn;
  FakeMessageBoxes boxes;

  EXPECT_EQ(SendClientCommand("GoSelf 1 2 3 0", config, windows, boxes), 0u);
  EXPECT_EQ(windows.lookups, (std::vector<std::string>{"Ultima Online", "Ultima Online Third Dawn"}));
  EXPECT_TRUE(windows.sends.empty());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "UO Client not started");
  EXPECT_EQ(boxes.boxes[0].text,
            "The Command 'GoSelf 1 2 3 0' couldn't be sent, please start your UO Client.");
}

TEST(ClientLink, AFailedSendEndsTheCommand) {
  const std::vector<int> all = CodesOf("\r.GoSelf 7 8 9 0\r");
  for (size_t failing : {size_t{0}, size_t{1}, size_t{5}, all.size() - 1}) {
    SCOPED_TRACE(failing);
    TConfig config;
    config.AddPair("commandchar", ".");
    FakeClientWindows windows;
    windows.windows["Ultima Online"] = kClient;
    windows.failAtSend = failing;
    FakeMessageBoxes boxes;

    SendClientCommand("GoSelf 7 8 9 0", config, windows, boxes);
    // The failing character is the last one tried.
    EXPECT_EQ(windows.Codes(), std::vector<int>(all.begin(), all.begin() + failing + 1));
    EXPECT_TRUE(boxes.boxes.empty());
  }
}

}  // namespace
}  // namespace wf
