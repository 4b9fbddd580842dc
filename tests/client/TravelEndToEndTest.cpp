// wayfarer.exe itself on a small world, with the stand-in client running:
// presses on the panes and the Go button, as the user makes them, reach the
// client as the exact characters of their commands.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "MapContents.h"
#include "ProgramRun.h"
#include "RecordingClient.h"
#include "TempDir.h"
#include "config/Config.h"
#include "mapdata/Map.h"
#include "mapdata/MapTable.h"

namespace wf {
namespace {

using testing::ProgramRun;
using testing::RecordingClient;
using testing::TempDir;

constexpr DWORD kPatience = 30000;

// Map 0 (and map 2 when asked for) holding only its first block columns (a
// short file still loads), with the cells the test presses on given altitudes
// of their own.
void WriteWorld(const TempDir& dir, std::vector<std::pair<std::string, std::string>> settings = {{"commandchar", "."}},
                bool withMap2 = false) {
  TConfig config;
  for (int map : {0, 2}) {
    if (map == 2 && !withMap2) break;
    worldgen::TMapContents contents(16, MapSizeOf(map).BlocksHigh);  // cells 0 to 127 across
    contents.SetAltitude(48, 32, -7);
    contents.SetAltitude(64, 80, static_cast<int8_t>(12 + map));
    const std::string n = std::to_string(map), suffix = map ? n : "";
    worldgen::WriteMapFiles(contents, dir.File("map" + n + ".mul"), dir.File("staidx" + n + ".mul"),
                            dir.File("statics" + n + ".mul"));
    config.AddPair("map" + suffix, dir.File("map" + n + ".mul"));
    config.AddPair("staidx" + suffix, dir.File("staidx" + n + ".mul"));
    config.AddPair("statics" + suffix, dir.File("statics" + n + ".mul"));
  }
  worldgen::WriteFileBytes(dir.File("radarcol.mul"),
                           worldgen::RadarColorFile(std::vector<uint16_t>(RadarColorCount, 0x1234)));
  config.AddPair("radarcol", dir.File("radarcol.mul"));
  for (const auto& [key, value] : settings) config.AddPair(key, value);
  config.AddPair("CurrentMap", "0");
  config.SaveToFile(dir.File("configtravel.xml"));
}

std::string TextOf(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

HWND ChildAt(HWND window, int x, int y) {
  HWND child = ChildWindowFromPointEx(window, POINT{x, y}, CWP_SKIPINVISIBLE);
  return child == window ? nullptr : child;
}

// Asks the program to close; true when it ended.
bool Close(const ProgramRun& program, HWND window) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  return program.WaitForExit(kPatience / 1000) >= 0;
}

// The characters the client received, as text; one carrying anything but 0 as
// its second parameter shows as "?".
std::string Typed(const RecordingClient& client) {
  std::string text;
  for (int64_t code : client.Characters()) text += code < 0 ? '?' : static_cast<char>(code);
  return text;
}

// A message handled to its end, however long the program's handler takes.
bool Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kPatience, &ignored) != 0;
}

bool Press(HWND pane, bool right, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  return right ? Deliver(pane, WM_RBUTTONDOWN, MK_RBUTTON, at) && Deliver(pane, WM_RBUTTONUP, 0, at)
               : Deliver(pane, WM_LBUTTONDOWN, MK_LBUTTON, at) && Deliver(pane, WM_LBUTTONUP, 0, at);
}

std::string ControlText(HWND control) {
  char text[256] = "";
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      kPatience, &ignored);
  return text;
}

// Waits until `done` holds, looking every 100 ms; false after `milliseconds`.
template <typename Condition>
bool WaitUntil(Condition done, DWORD milliseconds = kPatience) {
  for (DWORD waited = 0; waited < milliseconds; waited += 100) {
    if (done()) return true;
    Sleep(100);
  }
  return done();
}

// The colour the screen shows at a point of a window's client area.
COLORREF ScreenPixel(HWND window, int x, int y) {
  POINT at{x, y};
  ClientToScreen(window, &at);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

void WritePosition(const std::string& file, const std::string& text) { std::ofstream(file) << text << "\n"; }

// One run of the program on a small world written with `settings`, beside a
// stand-in client of `clientClass` (none when null) started with
// `clientArguments`. Use through ASSERT_NO_FATAL_FAILURE(Start(...)).
class Session {
 public:
  void Start(std::vector<std::pair<std::string, std::string>> settings = {{"commandchar", "."}},
             const char* clientClass = "Ultima Online", const std::string& clientArguments = "",
             bool withMap2 = false) {
    if (clientClass == nullptr || std::string(clientClass) == "Ultima Online") {
      // A client left over from elsewhere would take the characters meant for ours.
      ASSERT_EQ(FindWindowA("Ultima Online", nullptr), nullptr);
      ASSERT_EQ(FindWindowA("Ultima Online Third Dawn", nullptr), nullptr);
    }
    WriteWorld(dir, std::move(settings), withMap2);
    if (clientClass) {
      client.emplace(clientClass, dir.File("client.log"), clientArguments);
      ASSERT_NE(client->Window(), nullptr);
    }
    wayfarer.emplace(dir.Path().string(), dir.Path().string());
    window = wayfarer->MapWindow(kPatience / 1000);
    ASSERT_NE(window, nullptr);
  }

  // The panes by where the window lays them out, and the Go button.
  HWND Overview() const { return ChildAt(window, 8 + 1, 8 + 1); }
  HWND Detail() const { return ChildAt(window, 408 + 1, 8 + 1); }
  HWND Go() const { return FindWindowExA(window, nullptr, "Button", "Go"); }

  // Closes the program, then the client, so that all it received is logged.
  void Finish() {
    EXPECT_TRUE(Close(*wayfarer, window));
    if (client) ASSERT_TRUE(client->Close());
  }

  TempDir dir;
  std::optional<RecordingClient> client;
  std::optional<ProgramRun> wayfarer;
  HWND window = nullptr;
};

TEST(TravelEndToEnd, PanePressesAndGoTypeTheirCommandsIntoTheClient) {
  Session s;
  ASSERT_NO_FATAL_FAILURE(s.Start());
  ASSERT_TRUE(s.Overview() && s.Detail() && s.Go());
  ASSERT_NE(s.Overview(), s.Detail());

  // Map 0 is 16 cells per overview pixel both ways.
  ASSERT_TRUE(Press(s.Overview(), true, 3, 2));    // cell (48, 32), altitude -7
  ASSERT_TRUE(Press(s.Overview(), false, 4, 5));   // centre on (64, 80), altitude 12; sends nothing
  ASSERT_TRUE(Press(s.Detail(), true, 0, 99));     // (0-50)+64, (99-50)+80 at zoom 1, the centre's Z
  ASSERT_TRUE(Deliver(s.Go(), BM_CLICK, 0, 0));    // the centre itself

  s.Finish();
  EXPECT_EQ(Typed(*s.client),
            "\r.GoSelf 48 32 -7 0\r"
            "\r.GoSelf 14 129 12 0\r"
            "\r.GoSelf 64 80 12 0\r");
}

TEST(TravelEndToEnd, WithoutAClientTheProgramSaysSoAndGoesOn) {
  Session s;
  ASSERT_NO_FATAL_FAILURE(s.Start({{"commandchar", "."}}, nullptr));
  ASSERT_NE(s.Detail(), nullptr);

  // Posted: the handler waits in the box until it is closed.
  PostMessageA(s.Detail(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 50));
  PostMessageA(s.Detail(), WM_RBUTTONUP, 0, MAKELPARAM(50, 50));
  HWND box = s.wayfarer->Box("UO Client not started", kPatience / 1000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)),
            "The Command 'GoSelf 0 0 0 0' couldn't be sent, please start your UO Client.");
  PostMessageA(box, WM_COMMAND, IDOK, 0);

  // The program goes on: it answers again and closes as usual.
  EXPECT_TRUE(Deliver(s.window, WM_NULL, 0, 0));
  s.Finish();
}

TEST(TravelEndToEnd, TheOpenClientGetsTheTextAndEnterAsKeyPairsInFront) {
  Session s;
  ASSERT_NO_FATAL_FAILURE(s.Start({{"commandchar", "["}, {"commandformat", "go {x} {y} {z}"}}, "SDL_app",
                                  "--sdl --title \"Hero - ClassicUO - 4.1\""));
  ASSERT_TRUE(s.Overview() && s.Detail() && s.Go());

  ASSERT_TRUE(Press(s.Overview(), false, 4, 5));  // centre on (64, 80), altitude 12
  ASSERT_TRUE(Press(s.Detail(), true, 0, 99));
  EXPECT_EQ(GetForegroundWindow(), s.client->Window());
  ASSERT_TRUE(Deliver(s.Go(), BM_CLICK, 0, 0));

  s.Finish();
  std::vector<std::string> taken;
  for (const auto& m : s.client->Messages())
    taken.push_back(std::to_string(m.Message) + " " + std::to_string(m.WParam) + " " + std::to_string(m.LParam));
  std::vector<std::string> expected;
  for (const char* text : {"[go 14 129 12", "[go 64 80 12"}) {
    expected.push_back("256 13 1835009");      // WM_KEYDOWN VK_RETURN 0x001C0001
    expected.push_back("257 13 3223060481");   // WM_KEYUP VK_RETURN 0xC01C0001
    for (const char* c = text; *c; ++c) expected.push_back("258 " + std::to_string(int(*c)) + " 0");
    expected.push_back("256 13 1835009");
    expected.push_back("257 13 3223060481");
  }
  EXPECT_EQ(taken, expected);
}

TEST(TravelEndToEnd, ThePresetTemplatesTypeTheirShardsCommands) {
  struct Case {
    const char* prefix;
    const char* format;
    const char* typed;
  };
  const Case cases[] = {
      {"[", "go {x} {y} {z}", "\r[go 64 80 12\r"},
      {".", "goxyz {x} {y} {z} {realm}", "\r.goxyz 64 80 12 britannia\r"},
      {".", "go {x},{y},{z},{map}", "\r.go 64,80,12,0\r"},
      {"'", "go {x} {y} {z} {map}", "\r'go 64 80 12 0\r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    Session s;
    ASSERT_NO_FATAL_FAILURE(s.Start({{"commandchar", c.prefix}, {"commandformat", c.format}}));
    ASSERT_TRUE(Press(s.Overview(), false, 4, 5));
    ASSERT_TRUE(Deliver(s.Go(), BM_CLICK, 0, 0));
    s.Finish();
    EXPECT_EQ(Typed(*s.client), c.typed);
  }
}

TEST(TravelEndToEnd, TheMarkerShowsWhereThePlayerIsAndMovesWithIt) {
  Session s;
  const std::string position = s.dir.File("position.txt");
  WritePosition(position, "64 80");
  ASSERT_NO_FATAL_FAILURE(s.Start({{"commandchar", "."}}, "Ultima Online", "--hidden --assistant \"" + position + "\""));
  HWND window = s.window;
  // The screen is read: no other test's window may cover this one.
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const COLORREF red = RGB(255, 0, 0);
  // Map 0 is 16 cells per overview pixel; the pane starts at (8, 8).
  // Every cell of the world has the same radar colour.
  const TColor32 land = RadarColorToColor32(0x1234);
  const COLORREF ground = RGB((land >> 16) & 0xFF, (land >> 8) & 0xFF, land & 0xFF);
  EXPECT_TRUE(WaitUntil([&] {
    return ScreenPixel(window, 8 + 4, 8 + 5) == red && ScreenPixel(window, 8 + 40, 8 + 40) == ground;
  }));

  // The screen may show part of a frame for a moment: the new place and the
  // old one are waited for together.
  WritePosition(position, "160 80");
  EXPECT_TRUE(WaitUntil([&] {
    return ScreenPixel(window, 8 + 10, 8 + 5) == red && ScreenPixel(window, 8 + 4, 8 + 5) == ground;
  })) << "the new place marked, the old place as it was";

  WritePosition(position, "");  // logged out
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(window, 8 + 10, 8 + 5) == ground; }));

  s.Finish();
  int registrations = 0;
  for (const auto& m : s.client->Messages()) registrations += m.Message == WM_USER + 200;
  EXPECT_EQ(registrations, 1);
}

TEST(TravelEndToEnd, FollowSwitchesToThePlayersMapAndCentresOnThePlayer) {
  Session s;
  const std::string position = s.dir.File("position.txt");
  WritePosition(position, "64 80 2");
  ASSERT_NO_FATAL_FAILURE(
      s.Start({{"followplayer", "1"}}, "Ultima Online", "--hidden --assistant \"" + position + "\"", true));
  HWND eX = ChildAt(s.window, 400 + 1, 168 + 1);
  HWND eZ = ChildAt(s.window, 512 + 1, 168 + 1);
  ASSERT_TRUE(eX && eZ);
  const std::string config = s.dir.File("configtravel.xml");
  const auto stored = [&] {
    std::ifstream in(config);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_TRUE(WaitUntil([&] { return stored().find("key=\"CurrentMap\" value=\"2\"") != std::string::npos; }));
  EXPECT_TRUE(WaitUntil([&] { return ControlText(eX) == "64"; }));
  EXPECT_EQ(ControlText(eZ), "14") << "the altitude on map 2";

  s.Finish();
}

// Started under a resting pointer, the program shows the pointer's tip at
// once, below and right of it, where a quick move down and right lands. The
// tip takes no input: a right press there travels to the cell beneath.
TEST(TravelEndToEnd, APressWhereThePointersTipLiesReachesThePaneBeneath) {
  TempDir dir;
  WriteWorld(dir);
  RecordingClient client("Ultima Online", dir.File("client.log"));
  ASSERT_NE(client.Window(), nullptr);
  SetCursorPos(300, 220);  // where the overview will appear
  ProgramRun wayfarer(dir.Path().string(), dir.Path().string());
  HWND window = wayfarer.MapWindow(kPatience / 1000);
  ASSERT_NE(window, nullptr);
  HWND tip = nullptr;
  for (int i = 0; i < 100 && !(tip && IsWindowVisible(tip)); ++i, Sleep(100))
    tip = FindWindowA("WayfarerHoverTip", nullptr);
  ASSERT_TRUE(tip && IsWindowVisible(tip)) << "no tip under the resting pointer";
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    RECT onTip{};
    GetWindowRect(tip, &onTip);
    SetCursorPos(onTip.left + 3, onTip.top + 3);
    Sleep(300);
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    ASSERT_EQ(SendInput(2, press, sizeof(INPUT)), 2u);
    const auto commands = [&] {
      const std::string typed = Typed(client);
      return std::count(typed.begin(), typed.end(), '\r') / 2;
    };
    for (int i = 0; i < 50 && commands() <= round; ++i) Sleep(100);
    EXPECT_EQ(commands(), round + 1) << Typed(client);
  }
  EXPECT_TRUE(Close(wayfarer, window));
  ASSERT_TRUE(client.Close());
}

}  // namespace
}  // namespace wf
