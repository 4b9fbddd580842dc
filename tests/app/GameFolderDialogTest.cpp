// The game folder command in the real window: the standard folder dialog
// opens, a folder typed into it and OK make the maps anew, and the overview
// pane shows map 0 at once.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "MapContents.h"
#include "PackedFile.h"
#include "TempDir.h"
#include "app/MapFormBinding.h"
#include "config/Config.h"
#include "mapdata/Map.h"
#include "mapdata/MapTable.h"
#include "platform/win32/ClientWindows.h"
#include "platform/win32/GameFolderServices.h"
#include "ui/MapForm.h"
#include "ui/MenuCommands.h"
#include "ui/win32/InputDialog.h"
#include "ui/win32/MapWindow.h"
#include "ui/win32/MessageLoop.h"
#include "ui/win32/ModalWatcher.h"
#include "ui/win32/PaneReader.h"

namespace wf::testing {
namespace {

class RecordedBoxes : public platform::IMessageBoxes {
 public:
  void ShowError(const std::string& caption, const std::string& text) override { boxes.push_back(caption + ": " + text); }
  std::vector<std::string> boxes;
};

// A game folder as current installations have it: map 0 packed, every cell
// of its first block columns in one of a few tiles.
std::string WriteGameFolder(const TempDir& dir) {
  const std::string folder = dir.File("game");
  CreateDirectoryA(folder.c_str(), nullptr);
  worldgen::TMapContents map0(48, 512);
  for (int x = 0; x < map0.CellsWide(); ++x)
    for (int y = 0; y < map0.CellsHigh(); ++y) map0.SetTile(x, y, static_cast<uint16_t>(1 + (x / 16 + y / 64) % 5));
  std::vector<unsigned char> index, statics;
  map0.BuildStatics(index, statics);
  std::vector<uint16_t> radar(81884);
  for (size_t i = 0; i < radar.size(); ++i) radar[i] = static_cast<uint16_t>(i * 977);
  worldgen::WriteFileBytes(folder + "\\map0LegacyMUL.uop", worldgen::PackedMapFile(0, map0.MapFile(), {.SpareBlock = true}));
  worldgen::WriteFileBytes(folder + "\\staidx0.mul", index);
  worldgen::WriteFileBytes(folder + "\\statics0.mul", statics);
  worldgen::WriteFileBytes(folder + "\\radarcol.mul", worldgen::RadarColorFile(radar));
  return folder;
}

// The first edit field among the dialog's descendants: its file name field.
HWND FileNameField(HWND dialog) {
  HWND found = nullptr;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM param) -> BOOL {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        if (std::wstring(cls) != L"Edit" || !IsWindowVisible(child)) return TRUE;
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST(GameFolderDialog, AFolderTypedIntoTheDialogBecomesTheMapShownAtOnce) {
  TempDir dir;
  const std::string folder = WriteGameFolder(dir);
  TConfig config;
  config.SaveToFile(dir.File("configtravel.xml"));
  RecordedBoxes boxes;
  TMapSet maps(config, boxes);
  ASSERT_EQ(boxes.boxes.size(), 1u);  // map 0 is missing at start, as ever
  ui::win32::TInputDialog input;
  platform::Win32ClientWindows client;
  platform::Win32Registry registry;
  platform::Win32FolderDialog folders;
  ui::win32::TMapWindow window;
  ui::TMapFormServices services;
  services.Config = &config;
  services.Maps = &maps;
  services.Messages = &boxes;
  services.Input = &input;
  services.Client = &client;
  services.LocationsFile = dir.File("locations.txt");
  services.Registry = &registry;
  services.Folders = &folders;
  services.ProgramFolder = dir.File("program\\");
  ui::TMapForm form(window.FormControls(), std::move(services));
  app::TMapFormBinding binding(window, form);
  window.Create();
  window.Show();
  ui::win32::ProcessPendingMessages(window);

  std::wstring caption;
  bool typed = false;
  ModalWatcher watcher([&](HWND dialog) {
    wchar_t text[64] = {};
    GetWindowTextW(dialog, text, 64);
    caption = text;
    HWND field = FileNameField(dialog);
    if (field) {
      const std::wstring path(folder.begin(), folder.end());
      SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
      typed = true;
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    } else {
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
  });
  SendMessageW(window.Handle(), WM_SYSCOMMAND, ui::win32::TSystemMenu::ItemOf(ui::cmGameFolder), 0);
  ui::win32::ProcessPendingMessages(window);

  EXPECT_EQ(watcher.Count(), 1);
  EXPECT_EQ(caption, L"Game folder");
  ASSERT_TRUE(typed) << "no file name field in the dialog";
  EXPECT_EQ(boxes.boxes.size(), 1u);
  ASSERT_TRUE(maps.Find(0)->IsLoaded());
  const TBitmap32* overview = maps.Find(0)->GetOverview();
  std::vector<uint32_t> shown = ReadClientPixels(window.MapImage.Handle(), OverviewWidth, OverviewHeight);
  int wrong = 0;
  for (int y = 0; y < OverviewHeight; ++y)
    for (int x = 0; x < OverviewWidth; ++x)
      if (shown[static_cast<size_t>(y) * OverviewWidth + x] != (overview->Pixel(x, y) & 0xFFFFFF)) ++wrong;
  EXPECT_EQ(wrong, 0);
  TConfig saved;
  saved.LoadFromFile(dir.File("configtravel.xml"));
  EXPECT_EQ(saved.GetValue("map"), folder + "\\map0LegacyMUL.uop");
  EXPECT_EQ(saved.GetValue("radarcol"), folder + "\\radarcol.mul");
  window.Destroy();
}

}  // namespace
}  // namespace wf::testing
