// The client link against a real window in another process.

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstring>
#include <fstream>

#include "DesktopFakes.h"
#include "RecordingClient.h"
#include "TempDir.h"
#include "client/ClientLink.h"
#include "client/PlayerLink.h"
#include "config/Config.h"
#include "platform/win32/ClientWindows.h"

namespace wf {
namespace {

using testing::CodesOf;
using testing::RecordingClient;
using testing::FakeMessageBoxes;
using testing::TempDir;

std::vector<int64_t> Wide(const std::vector<int>& codes) { return {codes.begin(), codes.end()}; }

bool AnyKeyMessage(const RecordingClient& client) {
  for (const auto& m : client.Messages())
    if (m.Message == WM_KEYDOWN || m.Message == WM_KEYUP || m.Message == WM_SYSKEYDOWN ||
        m.Message == WM_SYSKEYUP)
      return true;
  return false;
}

class ClientWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    // A client left over from elsewhere would take the characters meant for ours.
    ASSERT_EQ(FindWindowA("Ultima Online", nullptr), nullptr);
    ASSERT_EQ(FindWindowA("Ultima Online Third Dawn", nullptr), nullptr);
  }

  // "GoSelf 1 2 3 0" behind ".", and how long sending it kept the sender.
  std::pair<TSendResult, std::chrono::steady_clock::duration> TimedSend() {
    config.AddPair("commandchar", ".");
    const auto start = std::chrono::steady_clock::now();
    const TSendResult result = SendClientCommand("GoSelf 1 2 3 0", config, windows, boxes);
    return {result, std::chrono::steady_clock::now() - start};
  }

  TempDir dir;
  TConfig config;
  platform::Win32ClientWindows windows;
  FakeMessageBoxes boxes;
};

TEST_F(ClientWindows, TheClientReceivesEnterPrefixCommandEnterAsCharacters) {
  struct Case {
    const char* prefix;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {".", {13, 46, 71, 111, 83, 101, 108, 102, 32, 49, 48, 32, 50, 48, 32, 48, 32, 48, 13}},
      {"", {13, 71, 111, 83, 101, 108, 102, 32, 49, 48, 32, 50, 48, 32, 48, 32, 48, 13}},
      {"\xE4", CodesOf("\r\xE4GoSelf 10 20 0 0\r")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "prefix of " << std::strlen(c.prefix) << " bytes");
    config.ClearPairs();
    config.AddPair("commandchar", c.prefix);
    RecordingClient client("Ultima Online", dir.File("client.log"));
    ASSERT_NE(client.Window(), nullptr);

    const TSendResult result = SendClientCommand("GoSelf 10 20 0 0", config, windows, boxes);
    EXPECT_EQ(result.Window, reinterpret_cast<platform::IClientWindows::Handle>(client.Window()));
    EXPECT_EQ(result.Delivery, TDelivery::Delivered);
    ASSERT_TRUE(client.Close());
    EXPECT_EQ(client.Characters(), Wide(c.expected));
    EXPECT_FALSE(AnyKeyMessage(client));
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ClientWindows, TheFirstClassWinsOverTheSecond) {
  config.AddPair("commandchar", ".");
  RecordingClient first("Ultima Online", dir.File("first.log"));
  RecordingClient second("Ultima Online Third Dawn", dir.File("second.log"));
  ASSERT_NE(first.Window(), nullptr);
  ASSERT_NE(second.Window(), nullptr);

  SendClientCommand("GoSelf 1 2 3 0", config, windows, boxes);
  ASSERT_TRUE(first.Close());
  ASSERT_TRUE(second.Close());
  EXPECT_EQ(first.Characters(), Wide(CodesOf("\r.GoSelf 1 2 3 0\r")));
  EXPECT_TRUE(second.Characters().empty());
}

TEST_F(ClientWindows, TheSecondClassIsFoundWhenTheFirstIsMissing) {
  RecordingClient client("Ultima Online Third Dawn", dir.File("client.log"));
  ASSERT_NE(client.Window(), nullptr);

  SendClientCommand("GoSelf 4 5 6 2", config, windows, boxes);
  ASSERT_TRUE(client.Close());
  EXPECT_EQ(client.Characters(), Wide(CodesOf("\rGoSelf 4 5 6 2\r")));
}

TEST_F(ClientWindows, AWindowTitledLikeTheClientIsNotTheClient) {
  config.AddPair("commandchar", ".");
  RecordingClient impostor("Wayfarer Test Window", dir.File("client.log"), "--title \"Ultima Online\"");
  ASSERT_NE(impostor.Window(), nullptr);
  ASSERT_EQ(FindWindowA(nullptr, "Ultima Online"), impostor.Window());

  EXPECT_EQ(SendClientCommand("GoSelf 1 2 3 0", config, windows, boxes).Window, 0u);
  ASSERT_TRUE(impostor.Close());
  EXPECT_TRUE(impostor.Characters().empty());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "UO Client not started");
  EXPECT_EQ(boxes.boxes[0].text,
            "The Command 'GoSelf 1 2 3 0' couldn't be sent, please start your UO Client.");
}

TEST_F(ClientWindows, AHungClientDoesNotFreezeTheSender) {
  RecordingClient client("Ultima Online", dir.File("client.log"), "--hang");
  ASSERT_NE(client.Window(), nullptr);
  const auto [result, waited] = TimedSend();

  // The command's bound and a generous allowance for a slow machine; without
  // the bound this would not return at all.
  EXPECT_LT(waited, std::chrono::milliseconds(kCommandBoundMs) + std::chrono::seconds(5));
  EXPECT_EQ(result.Delivery, TDelivery::TimedOut);
  EXPECT_TRUE(client.Running());                              // still hung, not gone
  EXPECT_EQ(client.Characters(), std::vector<int64_t>{13});  // it took the first and froze
}

TEST_F(ClientWindows, AClientThatGoesAwayMidwayEndsTheCommandAtOnce) {
  // Hidden: Wine takes two seconds to destroy a shown window without a window
  // manager, which would count as the client not answering.
  RecordingClient client("Ultima Online", dir.File("client.log"), "--close-after 5 --hidden");
  ASSERT_NE(client.Window(), nullptr);
  const auto [result, waited] = TimedSend();

  // A window that is gone fails the next send at once: no wait for the bound.
  EXPECT_LT(waited, std::chrono::milliseconds(kCommandBoundMs));
  EXPECT_EQ(result.Delivery, TDelivery::Gone);
  EXPECT_TRUE(client.WaitForExit(10000));
  EXPECT_EQ(client.Characters(), (std::vector<int64_t>{13, 46, 71, 111, 83}));
}

// What the open client took, as (message, wParam, lParam).
struct Taken {
  uint32_t Message;
  uint64_t WParam;
  int64_t LParam;
  bool operator==(const Taken&) const = default;
};

std::vector<Taken> TakenBy(const RecordingClient& client) {
  std::vector<Taken> taken;
  for (const auto& m : client.Messages()) taken.push_back({m.Message, m.WParam, m.LParam});
  return taken;
}

std::vector<Taken> OpenClientTakes(const std::string& text) {
  std::vector<Taken> t = {{WM_KEYDOWN, VK_RETURN, 0x001C0001}, {WM_KEYUP, VK_RETURN, 0xC01C0001}};
  for (char c : text) t.push_back({WM_CHAR, static_cast<unsigned char>(c), 0});
  t.push_back(t[0]);
  t.push_back(t[1]);
  return t;
}

TEST_F(ClientWindows, TheAssistantsWindowTellsWhereThePlayerIs) {
  const std::string position = dir.File("position.txt");
  std::ofstream(position) << "1000 2000\n";
  RecordingClient client("SDL_app", dir.File("client.log"),
                         "--sdl --title \"ClassicUO - 4.1\" --assistant \"" + position + "\"");
  ASSERT_NE(client.Window(), nullptr);
  // A window of ours to be told of map changes.
  HWND own = CreateWindowExA(0, "STATIC", "own", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(own, nullptr);

  TPlayerLink link(windows);
  EXPECT_TRUE(link.Poll(reinterpret_cast<uintptr_t>(own)));
  EXPECT_EQ(link.Position(), (TPlayerPosition{1000, 2000}));
  std::ofstream(position) << "1001 40000 3\n";
  EXPECT_TRUE(link.Poll(reinterpret_cast<uintptr_t>(own)));
  EXPECT_EQ(link.Position(), (TPlayerPosition{1001, 40000}));
  MSG msg{};
  EXPECT_TRUE(PeekMessageA(&msg, own, kAssistantMapChanged, kAssistantMapChanged, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
  std::ofstream(position) << "";
  EXPECT_TRUE(link.Poll(reinterpret_cast<uintptr_t>(own)));
  EXPECT_EQ(link.Position(), std::nullopt);

  ASSERT_TRUE(client.Close());
  EXPECT_TRUE(link.Poll(reinterpret_cast<uintptr_t>(own))) << "the client is gone";
  EXPECT_FALSE(link.HasAssistant());
  DestroyWindow(own);
  int registrations = 0;
  for (const auto& m : client.Messages()) registrations += m.Message == kAssistantRegister;
  EXPECT_EQ(registrations, 1);
}

TEST_F(ClientWindows, OfTwoOpenClientsTheOneTheAssistantNamesGetsTheCommand) {
  const std::string position = dir.File("position.txt");
  std::ofstream(position) << "1 1\n";
  RecordingClient named("SDL_app", dir.File("named.log"),
                        "--sdl --title \"A - ClassicUO - 4.1\" --assistant \"" + position + "\"");
  ASSERT_NE(named.Window(), nullptr);
  RecordingClient other("SDL_app", dir.File("other.log"), "--sdl --title \"B - ClassicUO - 4.1\"");
  ASSERT_NE(other.Window(), nullptr);
  // Without the assistant's word the later one, higher in the window order, would win.
  const auto all = windows.WindowsOfClass("SDL_app");
  ASSERT_EQ(all.size(), 2u);
  ASSERT_EQ(all[0].Window, reinterpret_cast<uintptr_t>(other.Window()));
  EXPECT_EQ(all[0].Title, "B - ClassicUO - 4.1");

  EXPECT_EQ(SendClientCommand("go 5 6 7", config, windows, boxes).Delivery, TDelivery::Delivered);
  ASSERT_TRUE(named.Close());
  ASSERT_TRUE(other.Close());
  std::vector<Taken> taken;
  for (const Taken& t : TakenBy(named))
    if (t.Message < WM_USER) taken.push_back(t);
  EXPECT_EQ(taken, OpenClientTakes("go 5 6 7"));
  EXPECT_TRUE(other.Messages().empty());
}

}  // namespace
}  // namespace wf
