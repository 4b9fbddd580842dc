// wayfarer.exe sharing the player's position with a real mosquitto on this
// machine (started by the friends_broker fixture, which also runs
// mosquitto_sub as the other friend): over mqtt://, over wss:// with the
// certificate's fingerprint, and refusing a certificate nobody vouches for.

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "AppWorld.h"
#include "ProgramRun.h"
#include "RecordingClient.h"
#include "ui/MenuCommands.h"
#include "ui/win32/FriendsDialog.h"
#include "ui/win32/SystemMenu.h"

namespace wf::testing {
namespace {

// The broker's ports, certificate fingerprint and user, as the fixture wrote them.
class FriendsProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream in(std::string(FRIENDS_BROKER_DIR) + "/broker.env");
    for (std::string line; std::getline(in, line);)
      if (const size_t eq = line.find('='); eq != std::string::npos) env[line.substr(0, eq)] = line.substr(eq + 1);
    ASSERT_TRUE(env.contains("WSS_PORT")) << "no broker: run with the friends_broker fixture";
  }
  std::map<std::string, std::string> env;
};

// 64 hex digits as "ab:cd:...".
std::string WithColons(const std::string& hex) {
  std::string text;
  for (size_t i = 0; i < hex.size(); i += 2) {
    if (i) text += ':';
    text += hex.substr(i, 2);
  }
  return text;
}

// What mosquitto_sub heard, as "topic payload" lines.
std::string Heard() {
  std::ifstream in(std::string(FRIENDS_BROKER_DIR) + "/heard.txt", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WaitUntil(const std::function<bool()>& done, int seconds = 30) {
  for (int i = 0; i < seconds * 10; ++i, Sleep(100))
    if (done()) return true;
  return done();
}

std::string TextOf(HWND window) {
  char text[512] = "";
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      &ignored);
  return text;
}

// The program on the small world with the friends' keys given, and a stand-in
// assistants' window that puts the player at 1600, 800 on map 0.
struct FriendsRun {
  explicit FriendsRun(const std::map<std::string, std::string>& keys) {
    const std::string zero = "0";
    TConfig config;
    world.FillConfig(config, &zero);
    for (const auto& [key, value] : keys) config.AddPair(key, value);
    config.SaveToFile(world.File("configtravel.xml"));
    world.Dir().Write("position.txt", "1600 800 0");
    client = std::make_unique<RecordingClient>("Ultima Online", world.File("client.log"),
                                               "--hidden --assistant \"" + world.File("position.txt") + "\"");
    program = std::make_unique<ProgramRun>(world.Dir().Path().string(), world.Dir().Path().string());
    map = program->MapWindow();
  }
  ~FriendsRun() {
    program.reset();
    if (client) client->Close();
  }

  AppWorld world;
  std::unique_ptr<RecordingClient> client;
  std::unique_ptr<ProgramRun> program;
  HWND map = nullptr;
};

// Over each transport the position goes out, and the clean stop at the end
// leaves the empty retained message (mosquitto_sub writes "(null)" for it).
TEST_F(FriendsProgramTest, PositionGoesOutAndIsClearedWhenTheProgramEnds) {
  const struct {
    const char* name;
    std::string broker, cert, id;
  } cases[] = {
      {"mqtt://", "mqtt://127.0.0.1:" + env.at("MQTT_PORT"), "", "00000000000000a1"},
      {"wss:// with the fingerprint", "wss://127.0.0.1:" + env.at("WSS_PORT") + "/mqtt",
       WithColons(env.at("CERT_SHA256")), "00000000000000a2"},
  };
  for (const auto& c : cases) {
    const std::string topic = "wayfarer/friends/" + c.id + "/position";
    {
      FriendsRun run({{"friendsbroker", c.broker},
                      {"friendsgroup", "friends"},
                      {"friendsname", "Bj\xF6rn"},
                      {"friendsuser", env.at("USER")},
                      {"friendspassword", env.at("PASSWORD")},  // typed in by hand, in clear
                      {"friendscert", c.cert},
                      {"friendsid", c.id}});
      ASSERT_NE(run.map, nullptr) << c.name;
      const std::string shared = topic + " {\"v\":1,\"name\":\"Bj\xC3\xB6rn\",\"x\":1600,\"y\":800,\"map\":0}\n";
      EXPECT_TRUE(WaitUntil([&] { return Heard().find(shared) != std::string::npos; })) << c.name << "\n" << Heard();
      EXPECT_NE(run.world.Dir().Read("configtravel.xml").find("friendspassword\" value=\"dpapi:"), std::string::npos)
          << c.name << ": protected at start";
      PostMessageA(run.map, WM_CLOSE, 0, 0);
      EXPECT_EQ(run.program->WaitForExit(30), 0) << c.name;
    }
    EXPECT_TRUE(WaitUntil([&] { return Heard().find(topic + " (null)\n") != std::string::npos; }, 10)) << c.name;
  }
}

TEST_F(FriendsProgramTest, ACertificateNobodyVouchesForIsRefusedAndNamedInTheDialog) {
  FriendsRun run({{"friendsbroker", "mqtts://127.0.0.1:" + env.at("MQTTS_PORT")},
                  {"friendsgroup", "tls-test"},
                  {"friendsname", "Aria"},
                  {"friendsid", "00000000000000a3"}});
  ASSERT_NE(run.map, nullptr);
  PostMessageA(run.map, WM_SYSCOMMAND, ui::win32::TSystemMenu::ItemOf(ui::cmFriends), 0);
  HWND dialog = run.program->Box("Friends");
  ASSERT_NE(dialog, nullptr);
  HWND state = GetDlgItem(dialog, ui::win32::TFriendsDialog::kStateId);
  const std::string refused = "Certificate not trusted (SHA-256 " + WithColons(env.at("CERT_SHA256")) + ")";
  EXPECT_TRUE(WaitUntil([&] { return TextOf(state) == refused; })) << TextOf(state);
  EXPECT_EQ(Heard().find("tls-test"), std::string::npos) << "nothing went out";
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace
}  // namespace wf::testing
