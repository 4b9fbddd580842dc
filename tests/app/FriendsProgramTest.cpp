// wayfarer.exe sharing the player's position with a real mosquitto on this
// machine (started by the friends_broker fixture, which also runs
// mosquitto_sub as the other friend): over mqtt://, over wss:// with the
// certificate's fingerprint, and refusing a certificate nobody vouches for;
// and a friend the fixture publishes with mosquitto_pub, shown and reached.

#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AppWorld.h"
#include "AtlasScreen.h"
#include "ProgramRun.h"
#include "RecordingClient.h"
#include "atlas/AtlasView.h"
#include "atlas/OverlayDrawing.h"
#include "atlas/OverlayGeometry.h"
#include "config/TextEncoding.h"
#include "places/Sextant.h"
#include "ui/FriendsShown.h"
#include "ui/MenuCommands.h"
#include "ui/win32/AtlasWindow.h"
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

// Publishes a retained message as another friend's program would, by the
// fixture's mosquitto_pub; an empty payload clears the topic. True once it
// went out.
bool Publish(const std::string& topic, const std::string& payload) {
  static int count = 0;
  char name[32];
  snprintf(name, sizeof name, "/publish/%06d", ++count);
  const std::string base = std::string(FRIENDS_BROKER_DIR) + name;
  {
    std::ofstream out(base + ".tmp", std::ios::binary);
    out << topic << '\n' << payload;
  }
  if (!MoveFileA((base + ".tmp").c_str(), (base + ".msg").c_str())) return false;
  return WaitUntil([&] { return GetFileAttributesA((base + ".msg").c_str()) == INVALID_FILE_ATTRIBUTES; }, 30);
}

// Memory in the process of another program's window, lent to its controls
// for messages that carry a pointer (a list view writes its texts there).
class LentMemory {
 public:
  LentMemory(HWND window, size_t size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) at_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  }
  ~LentMemory() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  char* At() const { return at_; }
  void Write(const void* from, size_t size) const { WriteProcessMemory(process_, at_, from, size, nullptr); }
  void Read(size_t offset, void* to, size_t size) const { ReadProcessMemory(process_, at_ + offset, to, size, nullptr); }

 private:
  HANDLE process_ = nullptr;
  char* at_ = nullptr;
};

// The rows of a report list in another process, in UTF-8.
std::vector<std::vector<std::string>> ListRows(HWND list, int columns) {
  constexpr int kChars = 256;
  const LentMemory lent(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  std::vector<std::vector<std::string>> rows(lent.At() ? SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) : 0);
  for (size_t row = 0; row < rows.size(); ++row)
    for (int column = 0; column < columns; ++column) {
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = reinterpret_cast<wchar_t*>(lent.At() + sizeof item);
      item.cchTextMax = kChars;
      lent.Write(&item, sizeof item);
      SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(lent.At()));
      wchar_t text[kChars] = L"";
      lent.Read(sizeof item, text, sizeof text - sizeof text[0]);  // the last one stays the end
      char utf8[4 * kChars] = "";
      WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
      rows[row].push_back(utf8);
    }
  return rows;
}

// Chooses a row of a report list in another process, as a click would.
void ChooseRow(HWND list, int row) {
  const LentMemory lent(list, sizeof(LVITEMW));
  LVITEMW item{};
  item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
  lent.Write(&item, sizeof item);
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(lent.At()));
}

// The program on the small world with the friends' keys given, and a stand-in
// game client with the assistants' window, which puts the player at
// `position` ("X Y MAP").
struct FriendsRun {
  explicit FriendsRun(const std::map<std::string, std::string>& keys, const std::string& currentMap = "0",
                      const std::string& position = "1600 800 0") {
    TConfig config;
    world.FillConfig(config, &currentMap);
    for (const auto& [key, value] : keys) config.AddPair(key, value);
    config.SaveToFile(world.File("configtravel.xml"));
    world.Dir().Write("position.txt", position);
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
      EXPECT_TRUE(WaitUntil([&] { return Heard().find(shared) != std::string::npos; }, 30)) << c.name << "\n" << Heard();
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
  EXPECT_TRUE(WaitUntil([&] { return TextOf(state) == refused; }, 30)) << TextOf(state);
  EXPECT_EQ(Heard().find("tls-test"), std::string::npos) << "nothing went out";
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

// A friend heard through the broker: on the atlas at its cell, in the list
// with its distance, moving, travelled to from the list, gone to by name, and
// gone again with the empty retained message.
TEST_F(FriendsProgramTest, AFriendHeardIsShownListedAndReached) {
  ASSERT_EQ(FindWindowA("Ultima Online", nullptr), nullptr) << "a client left over would take the command";
  const std::string id = "00000000000000b1", topic = "wayfarer/atlas-test/" + id + "/position";
  const std::string name = "Zo\xC3\xAB \xD0\x97\xD0\xBE\xD1\x8F";  // Latin and Cyrillic letters
  const auto at = [&](int x, int y) {
    return "{\"v\":1,\"name\":\"" + name + "\",\"x\":" + std::to_string(x) + ",\"y\":" + std::to_string(y) +
           ",\"map\":4}";
  };
  ASSERT_TRUE(Publish(topic, at(1000, 300)));
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  FriendsRun run({{"friendsbroker", "mqtt://127.0.0.1:" + env.at("MQTT_PORT")},
                  {"friendsgroup", "atlas-test"},
                  {"friendsname", "Aria"},
                  {"friendsuser", env.at("USER")},
                  {"friendspassword", env.at("PASSWORD")},
                  {"friendsid", "00000000000000a4"},
                  {"commandchar", "."},
                  {"atlas", "1"},
                  {"atlasplacement", "0,0,640,480"}},
                 "4", "700 600 4");
  HWND atlas = run.program->WaitForWindow("WayfarerAtlasWindow", "Atlas", 60);
  ASSERT_NE(atlas, nullptr);
  HWND status = FindWindowExA(atlas, nullptr, "msctls_statusbar32", nullptr);
  using W = ui::win32::TAtlasWindow;

  // The marker, exactly, on the pixel of the friend's cell of the whole map.
  std::vector<uint32_t> marker;
  for (int dy = -3; dy <= 3; ++dy)
    for (int dx = -3; dx <= 3; ++dx) marker.push_back(atlas::FriendMarkerPixel(dx, dy, ui::FriendColour(id)) & 0xFFFFFF);
  const atlas::TAtlasFrame whole = FittedFrame(atlas, status);
  const auto shownAt = [&](atlas::TFramePoint p) {
    return ScreenPatch(atlas, static_cast<int>(p.X) - 3, static_cast<int>(p.Y) - 3, 7, 7);
  };
  const auto mapAt = [&](const atlas::TAtlasFrame& frame, atlas::TFramePoint p) {
    std::vector<uint32_t> pixels;
    for (int64_t y = p.Y - 3; y <= p.Y + 3; ++y)
      for (int64_t x = p.X - 3; x <= p.X + 3; ++x) pixels.push_back(BoxColour(frame, x, y));
    return pixels;
  };
  const atlas::TFramePoint first = atlas::CellOnFrame(whole, 1000, 300);
  EXPECT_TRUE(WaitUntil([&] { return shownAt(first) == marker; }, 30));

  // The list: distance from the player at 700, 600 as the game counts it.
  PostMessageA(atlas, WM_COMMAND, W::kIdFriendsList, 0);
  HWND listWindow = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (listWindow = FindWindowA("WayfarerFriendsList", "Friends")) != nullptr; }));
  HWND list = FindWindowExA(listWindow, nullptr, WC_LISTVIEWA, nullptr);
  SetWindowPos(listWindow, nullptr, 0, 490, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);  // below the atlas
  const auto row = [&](int x, int y, const std::string& distance) {
    return std::vector<std::vector<std::string>>{{name, "Tokuno", std::to_string(x) + " " + std::to_string(y),
                                                  CodePageToUtf8(places::SextantText(4, x, y).value()), distance, "now"}};
  };
  WaitUntil([&] { return ListRows(list, 6) == row(1000, 300, "300 tiles NE"); });
  EXPECT_EQ(ListRows(list, 6), row(1000, 300, "300 tiles NE"));

  // A new position moves the marker and the row.
  ASSERT_TRUE(Publish(topic, at(1100, 200)));
  const atlas::TFramePoint second = atlas::CellOnFrame(whole, 1100, 200);
  WaitUntil([&] { return shownAt(second) == marker && shownAt(first) == mapAt(whole, first); });
  EXPECT_EQ(shownAt(second), marker);
  EXPECT_EQ(shownAt(first), mapAt(whole, first));
  WaitUntil([&] { return ListRows(list, 6) == row(1100, 200, "400 tiles NE"); });
  EXPECT_EQ(ListRows(list, 6), row(1100, 200, "400 tiles NE"));

  // Travel from the list: the friend's cell at its land altitude, the friend's map.
  ChooseRow(list, 0);
  HWND travel = FindWindowExA(listWindow, nullptr, "Button", "&Travel");
  ASSERT_NE(travel, nullptr);
  PostMessageA(listWindow, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(travel), BN_CLICKED), reinterpret_cast<LPARAM>(travel));
  const auto typed = [&] {
    std::string text;
    for (const int64_t code : run.client->Characters()) text += code < 0 ? '?' : static_cast<char>(code);
    return text;
  };
  EXPECT_TRUE(WaitUntil([&] { return typed() == "\r.GoSelf 1100 200 -20 4\r"; })) << typed();

  // Go to by a part of the friend's name: centred at 1:1, the marker in the middle once Esc took the pin.
  PostMessageA(atlas, WM_COMMAND, W::kIdGoTo, 0);
  Answer(*run.program, "Go to", "zo");
  EXPECT_TRUE(WaitUntil([&] { return TextOf(status).starts_with("X: 1100  Y: 200  Z: -20  "); })) << TextOf(status);
  PostMessageA(atlas, WM_KEYDOWN, VK_ESCAPE, 0);
  const SIZE picture = AtlasPictureSize(atlas, status);
  const atlas::TAtlasFrame closeUp = atlas::CentredOn(atlas::OneToOne, {1100, 200}, picture.cx, picture.cy);
  const atlas::TFramePoint middle{picture.cx / 2, picture.cy / 2};
  EXPECT_TRUE(WaitUntil([&] { return shownAt(middle) == marker; }));

  // The empty retained message: gone from the picture and the list.
  ASSERT_TRUE(Publish(topic, ""));
  EXPECT_TRUE(WaitUntil([&] { return shownAt(middle) == mapAt(closeUp, middle); }));
  EXPECT_TRUE(WaitUntil([&] { return ListRows(list, 6).empty(); }));

  PostMessageA(run.map, WM_CLOSE, 0, 0);
  EXPECT_EQ(run.program->WaitForExit(30), 0);
}

}  // namespace
}  // namespace wf::testing
