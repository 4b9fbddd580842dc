// wayfarer.exe's atlas as a player opens it from the map window's system menu
// and finds it again at the next start, and uses it as a map: going to places
// and sextant readings, travelling, adding places.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "AppWorld.h"
#include "AtlasScreen.h"
#include "ProgramRun.h"
#include "RecordingClient.h"
#include "atlas/AtlasView.h"
#include "config/Config.h"
#include "mapdata/Map.h"
#include "places/Sextant.h"
#include "ui/MenuCommands.h"
#include "ui/win32/AtlasWindow.h"
#include "ui/win32/ListDialog.h"
#include "ui/win32/SystemMenu.h"

namespace wf::testing {
namespace {

std::string Setting(const AppWorld& world, const std::string& key) {
  const std::string text = world.Dir().Read("configtravel.xml");
  const std::string start = "key=\"" + key + "\" value=\"";
  size_t at = text.find(start);
  if (at == std::string::npos) return "absent";
  at += start.size();
  return text.substr(at, text.find('"', at) - at);
}

RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

// The status text the atlas shows with the pointer elsewhere: the middle cell
// of map 4 fitted into the picture above the status bar.
std::string MiddleStatus(HWND atlasWindow, HWND statusBar) {
  const atlas::TAtlasFrame frame = FittedFrame(atlasWindow, statusBar);
  const atlas::TCellPoint cell = atlas::CentreCell(frame);
  const int32_t x = static_cast<int32_t>(cell.X), y = static_cast<int32_t>(cell.Y);
  return "X: " + std::to_string(x) + "  Y: " + std::to_string(y) + "  Z: " + std::to_string((x + 2 * y) % 60 - 20) +
         "  " + places::SextantText(4, x, y).value() + "  " + atlas::Scales[frame.Scale].Text + "  Tokuno";
}

TEST(AtlasProgramTest, TheSystemMenuOpensTheAtlasWhichNamesTheMiddleCellAndComesBackAtTheNextStart) {
  AppWorld world;
  const std::string four = "4";
  world.WriteConfig(world.Dir().Path().string(), &four);
  // The pointer out of the way of the windows, so the status names the middle cell.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  RECT placed{};
  {
    ProgramRun program(world.Dir().Path().string(), world.Dir().Path().string());
    HWND map = program.MapWindow();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(Setting(world, "atlas"), "absent");
    PostMessageA(map, WM_SYSCOMMAND, ui::win32::TSystemMenu::ItemOf(ui::cmAtlas), 0);
    HWND atlas = program.WaitForWindow("WayfarerAtlasWindow", "Atlas", 60);
    ASSERT_NE(atlas, nullptr);
    EXPECT_EQ(GetWindow(atlas, GW_OWNER), nullptr) << "a window of its own, with its own taskbar button";
    EXPECT_EQ(Setting(world, "atlas"), "1") << "written when it opens";
    HWND status = FindWindowExA(atlas, nullptr, "msctls_statusbar32", nullptr);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(TextOf(status), MiddleStatus(atlas, status));
    // The middle of the picture, once its tiles are there, exactly.
    const atlas::TAtlasFrame frame = FittedFrame(atlas, status);
    ASSERT_EQ(atlas::Scales[frame.Scale].PixelsPerCell, 1);
    const int left = frame.Width / 2 - 8, top = frame.Height / 2 - 8;
    std::vector<uint32_t> expected;
    for (int y = top; y < top + 16; ++y)
      for (int x = left; x < left + 16; ++x) expected.push_back(BoxColour(frame, x, y));
    std::vector<uint32_t> shown;
    for (int i = 0; i < 100 && shown != expected; ++i, Sleep(100)) shown = ScreenPatch(atlas, left, top, 16, 16);
    EXPECT_EQ(shown, expected);

    // Never smaller than its least picture.
    SetWindowPos(atlas, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(atlas, &client);
    EXPECT_GE(client.right, 320);
    EXPECT_GE(client.bottom, 200);
    SetWindowPos(atlas, nullptr, 40, 30, 700, 500, SWP_NOZORDER);
    EXPECT_EQ(TextOf(status), MiddleStatus(atlas, status)) << "the view keeps its middle";
    placed = WindowRect(atlas);

    // Closing the map window ends the program, the atlas with it.
    PostMessageA(map, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(60), 0);
  }
  EXPECT_EQ(Setting(world, "atlas"), "1");
  EXPECT_NE(Setting(world, "atlasplacement"), "absent");

  ProgramRun again(world.Dir().Path().string(), world.Dir().Path().string());
  HWND atlas = again.WaitForWindow("WayfarerAtlasWindow", "Atlas", 60);
  ASSERT_NE(atlas, nullptr) << "open at the end, open at the start";
  const RECT now = WindowRect(atlas);
  EXPECT_EQ(now.left, placed.left);
  EXPECT_EQ(now.top, placed.top);
  EXPECT_EQ(now.right, placed.right);
  EXPECT_EQ(now.bottom, placed.bottom);
  const std::string view = Setting(world, "atlascenter");

  // Closing the atlas keeps the program.
  PostMessageA(atlas, WM_CLOSE, 0, 0);
  for (int i = 0; i < 100 && IsWindow(atlas); ++i) Sleep(50);
  EXPECT_FALSE(IsWindow(atlas));
  EXPECT_EQ(again.WaitForExit(0), -1);
  EXPECT_EQ(Setting(world, "atlas"), "0");
  EXPECT_EQ(Setting(world, "atlascenter"), view);
  HWND map = again.MapWindow();
  ASSERT_NE(map, nullptr);
  PostMessageA(map, WM_CLOSE, 0, 0);
  EXPECT_EQ(again.WaitForExit(60), 0);
}

TEST(AtlasProgramTest, GoesToReadingsAndNamesTravelsOnARightClickAndShowsANewPlaceWhereItIs) {
  ASSERT_EQ(FindWindowA("Ultima Online", nullptr), nullptr) << "a client left over would take the command";
  AppWorld world;
  TConfig config;
  const std::string four = "4";
  world.FillConfig(config, &four);
  for (const auto& [key, value] : {std::pair{"commandchar", "."}, {"atlas", "1"}, {"atlasplacement", "0,0,640,480"}})
    config.AddPair(key, value);
  config.SaveToFile(world.File("configtravel.xml"));
  const std::string header = "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n";
  const std::string places = "Turm=100,120,0 4\r\nTurmfalke=900,900,0 4\r\n";
  world.Dir().Write("locations.txt", header + places);
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  RecordingClient client("Ultima Online", world.File("client.log"), "--hidden");
  ASSERT_NE(client.Window(), nullptr);

  ProgramRun program(world.Dir().Path().string(), world.Dir().Path().string());
  HWND atlas = program.WaitForWindow("WayfarerAtlasWindow", "Atlas", 60);
  ASSERT_NE(atlas, nullptr);
  HWND status = FindWindowExA(atlas, nullptr, "msctls_statusbar32", nullptr);
  using W = ui::win32::TAtlasWindow;
  const auto command = [atlas](UINT id) { PostMessageA(atlas, WM_COMMAND, id, 0); };

  // Above every other window, and see-through as chosen, kept in the settings.
  command(W::kIdOpacity70);
  command(W::kIdOnTop);
  EXPECT_TRUE(WaitUntil([&] { return Setting(world, "atlasontop") == "1"; }));
  EXPECT_EQ(Setting(world, "atlasopacity"), "70");
  EXPECT_TRUE(GetWindowLongA(atlas, GWL_EXSTYLE) & WS_EX_TOPMOST);
  BYTE alpha = 0;
  DWORD flags = 0;
  EXPECT_TRUE(GetLayeredWindowAttributes(atlas, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 179) << "70 % of 255, rounded";
  command(W::kIdOpacity100);
  EXPECT_TRUE(WaitUntil([&] { return !(GetWindowLongA(atlas, GWL_EXSTYLE) & WS_EX_LAYERED); }));

  // A reading the pointer's tip gives, typed back, is the same cell; the
  // whole map shown, the atlas goes to 1:1.
  command(W::kIdGoTo);
  Answer(program, "Go to", places::SextantText(4, 700, 600).value());
  EXPECT_TRUE(WaitUntil([&] { return TextOf(status).starts_with("X: 700  Y: 600  "); })) << TextOf(status);
  EXPECT_NE(TextOf(status).find("  1:1  Tokuno"), std::string::npos);
  // Two names hold "tur": the list offers both, the first chosen.
  command(W::kIdGoTo);
  Answer(program, "Go to", "tur");
  HWND list = program.Box("Go to");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessageA(GetDlgItem(list, ui::win32::kListId), LB_GETCOUNT, 0, 0), 2);
  PostMessageA(list, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(status).starts_with("X: 100  Y: 120  Z: 20  "); })) << TextOf(status);

  // The place's marker is at the middle of the picture, once Esc took the pin away.
  PostMessageA(atlas, WM_KEYDOWN, VK_ESCAPE, 0);
  const SIZE picture = AtlasPictureSize(atlas, status);
  const int middleX = picture.cx / 2, middleY = picture.cy / 2;
  std::vector<uint32_t> marker;
  for (int y = -2; y <= 2; ++y)
    for (int x = -2; x <= 2; ++x) marker.push_back(std::max(std::abs(x), std::abs(y)) == 2 ? 0 : 0xFFFF00);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPatch(atlas, middleX - 2, middleY - 2, 5, 5) == marker; }));

  // A right click beside it travels there, at the cell's land altitude.
  PostMessageA(atlas, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(middleX + 10, middleY));
  PostMessageA(atlas, WM_RBUTTONUP, 0, MAKELPARAM(middleX + 10, middleY));

  // A new place where the atlas went, in the places file and on the picture.
  command(W::kIdGoTo);
  Answer(program, "Go to", "300, 200");
  command(W::kIdNewPlace);
  Answer(program, "Neuer Ort", "Lager");
  EXPECT_TRUE(WaitUntil([&] { return world.Dir().Read("locations.txt").find("Lager") != std::string::npos; }));
  EXPECT_EQ(world.Dir().Read("locations.txt"), header + "Lager=300,200,20 4\r\n" + places);
  PostMessageA(atlas, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPatch(atlas, middleX - 2, middleY - 2, 5, 5) == marker; }));

  PostMessageA(program.MapWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(60), 0);
  ASSERT_TRUE(client.Close());
  std::string typed;
  for (const int64_t code : client.Characters()) typed += code < 0 ? '?' : static_cast<char>(code);
  EXPECT_EQ(typed, "\r.GoSelf 110 120 30 4\r");
}

}  // namespace
}  // namespace wf::testing
