// wayfarer.exe as the user starts it: its start-up, its end and its file.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "AppWorld.h"
#include "ChildProcess.h"
#include "ProgramRun.h"
#include "platform/SingleInstance.h"
#include "ui/win32/ModalWatcher.h"

namespace wf::testing {
namespace {

const std::string kHeader = "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n";

TEST(ProgramTest, ClosingTheWindowEndsTheProgramWithoutRewritingTheConfigurationButWritingThePlaces) {
  AppWorld world;
  TempDir elsewhere;  // the working directory plays no part
  const std::string four = "4";
  world.WriteConfig(world.Dir().Path().string(), &four);
  world.Dir().Write("locations.txt", "Good=100,200,5 4\r\nAlpha=1,2,3 0\r\n");

  ProgramRun program(world.Dir().Path().string(), elsewhere.Path().string());
  HWND window = program.MapWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_NE(world.Dir().Read("configtravel.xml").find("key=\"CurrentMap\" value=\"4\""), std::string::npos)
      << "written when the window was shown";

  // What the program writes at its end shows in these two files.
  TConfig changed;
  world.FillConfig(changed, &four);
  changed.AddPair("note", "written while the program ran");
  changed.SaveToFile(world.File("configtravel.xml"));
  const std::string configBefore = world.Dir().Read("configtravel.xml");
  std::remove(world.File("locations.txt").c_str());

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(60), 0);
  EXPECT_EQ(world.Dir().Read("configtravel.xml"), configBefore) << "not rewritten at the end";
  EXPECT_EQ(world.Dir().Read("locations.txt"), kHeader + "Alpha=1,2,3 0\r\nGood=100,200,5 4\r\n");
  EXPECT_FALSE(std::filesystem::exists(elsewhere.Path() / "configtravel.xml"));
  EXPECT_FALSE(std::filesystem::exists(elsewhere.Path() / "locations.txt"));
}

TEST(ProgramTest, ASecondCopyFromTheSameFolderBringsTheFirstToTheFrontAndEnds) {
  AppWorld world;
  const std::string zero = "0";
  world.WriteConfig(world.Dir().Path().string(), &zero);
  world.Dir().Write("locations.txt", kHeader + "Alpha=1,2,3 0\r\n");
  ProgramRun first(world.Dir().Path().string(), world.Dir().Path().string());
  HWND window = first.MapWindow();
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_MINIMIZE);

  // Started as the user starts it again: the same file, not a fresh copy.
  const std::string exe = (world.Dir().Path() / "wayfarer.exe").string();
  ChildProcess second(L"\"" + Widened(exe) + L"\"", Widened(world.Dir().Path().string()));
  ASSERT_TRUE(second.Started());
  ASSERT_TRUE(second.WaitForExit(60000));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_FALSE(IsIconic(window)) << "the running window is restored";
  EXPECT_EQ(first.WaitForExit(0), -1) << "the first copy still runs";

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(60), 0);
  EXPECT_EQ(world.Dir().Read("locations.txt"), kHeader + "Alpha=1,2,3 0\r\n");
}

// A copy that is closing holds the folder after its window has gone; this
// process plays it, holding the name a copy claims.
TEST(ProgramTest, ACopyStartedWhileAnotherHoldsTheFolderWithoutAWindowWaitsForIt) {
  AppWorld world;
  const std::string zero = "0";
  world.WriteConfig(world.Dir().Path().string(), &zero);
  const std::string name = platform::SingleInstanceName(world.Dir().Path().string());
  HANDLE closing = CreateMutexA(nullptr, FALSE, name.c_str());
  ASSERT_NE(closing, nullptr);
  {
    ProgramRun program(world.Dir().Path().string(), world.Dir().Path().string());
    Sleep(3000);
    EXPECT_EQ(program.WaitForWindow("WayfarerMapWindow", "Map", 0), nullptr) << "started beside the other copy";
    CloseHandle(closing);  // the other copy has ended
    HWND window = program.MapWindow();
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(60), 0);
  }
  closing = CreateMutexA(nullptr, FALSE, name.c_str());  // and now one that does not end
  ProgramRun program(world.Dir().Path().string(), world.Dir().Path().string());
  HWND box = program.Box("Wayfarer is still running");
  ASSERT_NE(box, nullptr);
  EXPECT_NE(ReadMessageBox(box).text.find("is still running, but shows no window"), std::string::npos);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(program.WaitForExit(60), 0);
  CloseHandle(closing);
}

TEST(ProgramTest, APlaceChosenAndOneAddedThroughTheWindowAreInTheFileWrittenAtTheEnd) {
  AppWorld world;
  const std::string zero = "0";
  world.WriteConfig(world.Dir().Path().string(), &zero);
  world.Dir().Write("locations.txt", kHeader + "Zeta=100,200,5 4\r\nAlpha=1,2,3 0\r\n");

  ProgramRun program(world.Dir().Path().string(), world.Dir().Path().string());
  HWND window = program.MapWindow();
  ASSERT_NE(window, nullptr);
  // The controls where the user finds them: the places list, the X field, "Neu".
  auto childAt = [&](int x, int y) { return ChildWindowFromPointEx(window, POINT{x, y}, CWP_SKIPINVISIBLE); };
  HWND places = childAt(405, 125);
  HWND fieldX = childAt(405, 175);
  HWND neu = childAt(410, 210);
  ASSERT_NE(places, window);
  ASSERT_EQ(TextOf(neu), "Neu");

  // Choosing "Zeta" (second after sorting) as a selection from the list does.
  SendMessageA(places, CB_SETCURSEL, 1, 0);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(places), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(places));
  EXPECT_EQ(TextOf(fieldX), "100");
  EXPECT_NE(world.Dir().Read("configtravel.xml").find("key=\"CurrentMap\" value=\"4\""), std::string::npos)
      << "the place lies on map 4";

  PostMessageA(neu, BM_CLICK, 0, 0);  // the name dialog is modal: do not wait for the click
  HWND dialog = program.Box("Neuer Ort");
  ASSERT_NE(dialog, nullptr);
  HWND name = FindWindowExA(dialog, nullptr, "Edit", nullptr);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(TextOf(name), "Neuer Eintrag");
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Turm"));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 100 && IsWindow(dialog); ++i) Sleep(50);

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(60), 0);
  EXPECT_EQ(world.Dir().Read("locations.txt"),
            kHeader + "Alpha=1,2,3 0\r\nTurm=100,200,5 4\r\nZeta=100,200,5 4\r\n");
}

TEST(ProgramTest, WithoutAConfigurationMapZeroSaysFileNotFoundBeforeTheWindowOpens) {
  TempDir dir;
  ProgramRun program(dir.Path().string(), dir.Path().string());
  HWND box = program.Box("File not found");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(program.WaitForWindow("WayfarerMapWindow", "Map", 0), nullptr) << "no window yet";
  EXPECT_EQ(ReadMessageBox(box).text, "Map0.mul or Radarcol.mul couldn't be found, please check your config.xml");
  PostMessageA(box, WM_COMMAND, IDOK, 0);

  HWND window = program.MapWindow();
  ASSERT_NE(window, nullptr);
  TConfig expected;
  expected.AddPair("CurrentMap", "0");
  EXPECT_EQ(dir.Read("configtravel.xml"), expected.FileText());
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(60), 0);
  EXPECT_EQ(dir.Read("locations.txt"), kHeader);
}

TEST(ProgramTest, AConfigurationItCannotFullyReadIsLeftAsItIsAndSaidOnce) {
  AppWorld world;
  const std::string four = "4";
  const std::string file = world.WriteConfig(world.Dir().Path().string(), &four);
  // One more setting, written with a start and an end tag: it gives no pair.
  std::string text = world.Dir().Read("configtravel.xml");
  text.insert(text.rfind("</configuration>"), "<config key=\"note\" value=\"mine\"></config>\r\n");
  world.Dir().Write("configtravel.xml", text);

  ProgramRun program(world.Dir().Path().string(), world.Dir().Path().string());
  HWND box = program.Box("wayfarer");
  ASSERT_NE(box, nullptr);
  const std::string told = ReadMessageBox(box).text;
  EXPECT_NE(told.find("configtravel.xml is not changed"), std::string::npos) << told;
  EXPECT_NE(told.find("line "), std::string::npos) << told;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  HWND window = program.MapWindow();
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(60), 0);
  EXPECT_EQ(world.Dir().Read("configtravel.xml"), text);
}

TEST(ProgramTest, AnErrorThatEscapesStartUpIsShownAsApplicationErrorAndEndsWithCodeOne) {
  AppWorld world;
  const std::string four = "4";
  world.WriteConfig(world.Dir().Path().string(), &four);
  // The file exists but cannot be opened while this handle shares nothing.
  const std::string locked = world.File("map4.mul");
  HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(hold, INVALID_HANDLE_VALUE);

  ProgramRun program(world.Dir().Path().string(), world.Dir().Path().string());
  HWND box = program.Box("Application Error");
  ASSERT_NE(box, nullptr);
  const std::string text = ReadMessageBox(box).text;
  const std::string start = "Exception EFOpenError in module wayfarer.exe at ";
  const std::string end = ".\nCannot open file " + locked + ".";
  ASSERT_EQ(text.size(), start.size() + 16 + end.size()) << text;
  EXPECT_EQ(text.substr(0, start.size()), start);
  EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF", start.size()), start.size() + 16) << text;
  EXPECT_EQ(text.substr(start.size() + 16), end);
  EXPECT_EQ(program.WaitForWindow("WayfarerMapWindow", "Map", 0), nullptr);

  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(program.WaitForExit(60), 1);
  CloseHandle(hold);
}

TEST(ProgramTest, TheExecutableCarriesItsIconOfThreeImagesAndItsVersion) {
  const std::string exe = WayfarerExe();
  HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(1), reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
  ASSERT_NE(group, nullptr);
  const auto* dir = static_cast<const unsigned char*>(LockResource(LoadResource(module, group)));
  const int count = dir[4] | (dir[5] << 8);
  ASSERT_EQ(count, 3);
  std::vector<int> depths;
  for (int i = 0; i < count; ++i) {
    const unsigned char* entry = dir + 6 + i * 14;
    EXPECT_EQ(entry[0], 64);
    EXPECT_EQ(entry[1], 64);
    depths.push_back(entry[6] | (entry[7] << 8));
  }
  EXPECT_EQ(depths, (std::vector<int>{32, 8, 4}));
  FreeLibrary(module);

  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  char* product = nullptr;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040704E4\\ProductName",
                             reinterpret_cast<void**>(&product), &length));
  EXPECT_STREQ(product, "Wayfarer");
}

}  // namespace
}  // namespace wf::testing
