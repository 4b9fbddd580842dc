// wayfarer.exe itself on a small world, with the stand-in client running:
// presses on the panes and the Go button, as the user makes them, reach the
// client as the exact characters of their commands.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
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

// Map 0 holding only its first block columns (a short file still loads), with
// the two cells the test presses on given altitudes of their own.
void WriteWorld(const TempDir& dir) {
  worldgen::TMapContents map0(16, MapSizeOf(0).BlocksHigh);  // cells 0 to 127 across
  map0.SetAltitude(48, 32, -7);
  map0.SetAltitude(64, 80, 12);
  worldgen::WriteMapFiles(map0, dir.File("map0.mul"), dir.File("staidx0.mul"), dir.File("statics0.mul"));
  worldgen::WriteFileBytes(dir.File("radarcol.mul"),
                           worldgen::RadarColorFile(std::vector<uint16_t>(RadarColorCount, 0x1234)));
  TConfig config;
  config.AddPair("map", dir.File("map0.mul"));
  config.AddPair("staidx", dir.File("staidx0.mul"));
  config.AddPair("statics", dir.File("statics0.mul"));
  config.AddPair("radarcol", dir.File("radarcol.mul"));
  config.AddPair("commandchar", ".");
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

TEST(TravelEndToEnd, PanePressesAndGoTypeTheirCommandsIntoTheClient) {
  ASSERT_EQ(FindWindowA("Ultima Online", nullptr), nullptr);
  ASSERT_EQ(FindWindowA("Ultima Online Third Dawn", nullptr), nullptr);
  TempDir dir;
  WriteWorld(dir);
  RecordingClient client("Ultima Online", dir.File("client.log"));
  ASSERT_NE(client.Window(), nullptr);

  ProgramRun wayfarer(dir.Path().string(), dir.Path().string());
  HWND window = wayfarer.MapWindow(kPatience / 1000);
  ASSERT_NE(window, nullptr);
  HWND overview = ChildAt(window, 8 + 1, 8 + 1);
  HWND detail = ChildAt(window, 408 + 1, 8 + 1);
  HWND go = FindWindowExA(window, nullptr, "Button", "Go");
  ASSERT_NE(overview, nullptr);
  ASSERT_NE(detail, nullptr);
  ASSERT_NE(overview, detail);
  ASSERT_NE(go, nullptr);

  // Map 0 is 16 cells per overview pixel both ways.
  ASSERT_TRUE(Press(overview, true, 3, 2));    // cell (48, 32), altitude -7
  ASSERT_TRUE(Press(overview, false, 4, 5));   // centre on (64, 80), altitude 12; sends nothing
  ASSERT_TRUE(Press(detail, true, 0, 99));     // (0-50)+64, (99-50)+80 at zoom 1, the centre's Z
  ASSERT_TRUE(Deliver(go, BM_CLICK, 0, 0));    // the centre itself

  EXPECT_TRUE(Close(wayfarer, window));
  ASSERT_TRUE(client.Close());
  EXPECT_EQ(Typed(client),
            "\r.GoSelf 48 32 -7 0\r"
            "\r.GoSelf 14 129 12 0\r"
            "\r.GoSelf 64 80 12 0\r");
}

TEST(TravelEndToEnd, WithoutAClientTheProgramSaysSoAndGoesOn) {
  ASSERT_EQ(FindWindowA("Ultima Online", nullptr), nullptr);
  ASSERT_EQ(FindWindowA("Ultima Online Third Dawn", nullptr), nullptr);
  TempDir dir;
  WriteWorld(dir);
  ProgramRun wayfarer(dir.Path().string(), dir.Path().string());
  HWND window = wayfarer.MapWindow(kPatience / 1000);
  ASSERT_NE(window, nullptr);
  HWND detail = ChildAt(window, 408 + 1, 8 + 1);
  ASSERT_NE(detail, nullptr);

  // Posted: the handler waits in the box until it is closed.
  PostMessageA(detail, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 50));
  PostMessageA(detail, WM_RBUTTONUP, 0, MAKELPARAM(50, 50));
  HWND box = wayfarer.Box("UO Client not started", kPatience / 1000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)),
            "The Command 'GoSelf 0 0 0 0' couldn't be sent, please start your UO Client.");
  PostMessageA(box, WM_COMMAND, IDOK, 0);

  // The program goes on: it answers again and closes as usual.
  EXPECT_TRUE(Deliver(window, WM_NULL, 0, 0));
  EXPECT_TRUE(Close(wayfarer, window));
}

}  // namespace
}  // namespace wf
