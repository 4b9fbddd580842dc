// wayfarer.exe importing and exporting places through the standard dialogs,
// as a player does from the window's system menu.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "AppWorld.h"
#include "ProgramRun.h"
#include "ui/MenuCommands.h"
#include "ui/win32/ModalWatcher.h"
#include "ui/win32/SystemMenu.h"

namespace wf::testing {
namespace {

const std::string kHeader = "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n";

// Types `path` into the file dialog's name field and presses OK.
void AnswerFileDialog(HWND dialog, const std::string& path) {
  HWND name = GetDlgItem(dialog, 0x47C);  // the name field's combo box
  if (!name) name = GetDlgItem(dialog, 0x480);  // or its plain edit field
  ASSERT_NE(name, nullptr);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 200 && IsWindow(dialog); ++i) Sleep(50);
  ASSERT_FALSE(IsWindow(dialog));
}

TEST(PlacesProgramTest, ImportThroughTheOpenDialogAddsSavesAndReportsThenExportWritesTheCsv) {
  AppWorld world;
  const std::string four = "4";
  world.WriteConfig(world.Dir().Path().string(), &four);
  world.Dir().Write("locations.txt", kHeader + "Alt=1,2,3 4\r\n");
  const std::string markers =
      world.Dir().Write("mine.map", "3\r\n+a: 100 120 5 Turm\r\n+b: 7 8 1 Null\r\nkaputt\r\n");

  ProgramRun program(world.Dir().Path().string(), world.Dir().Path().string());
  HWND window = program.MapWindow();
  ASSERT_NE(window, nullptr);

  PostMessageA(window, WM_SYSCOMMAND, ui::win32::TSystemMenu::ItemOf(ui::cmImportPlaces), 0);
  HWND open = program.Box("Import places");
  ASSERT_NE(open, nullptr);
  AnswerFileDialog(open, markers);
  HWND report = program.Box("Import places");
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(ReadMessageBox(report).text,
            "2 places added, 0 already there, 1 line not understood (the first is line 4).");
  PostMessageA(report, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 100 && IsWindow(report); ++i) Sleep(50);
  // Saved at once; Z is the land altitude of the cell on map 4 ((x + 2y) mod 60 - 20).
  EXPECT_EQ(world.Dir().Read("locations.txt"),
            kHeader + "Alt=1,2,3 4\r\nNull=7,8,0 0\r\nTurm=100,120,20 4\r\n");

  PostMessageA(window, WM_SYSCOMMAND, ui::win32::TSystemMenu::ItemOf(ui::cmExportPlaces), 0);
  HWND save = program.Box("Export places");
  ASSERT_NE(save, nullptr);
  AnswerFileDialog(save, world.File("out"));
  for (int i = 0; i < 100 && world.Dir().Read("out.csv").empty(); ++i) Sleep(50);
  EXPECT_EQ(world.Dir().Read("out.csv"), "1,2,4,Alt,,white\r\n7,8,0,Null,,white\r\n100,120,4,Turm,,white\r\n");

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(60), 0);
}

}  // namespace
}  // namespace wf::testing
