// The map window bound to its logic, on a small world: what the user sees and
// what presses, keys and the name dialog do, through the real controls.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "AppRig.h"
#include "atlas/AtlasEngine.h"
#include "ui/AtlasForm.h"
#include "ui/win32/AtlasWindow.h"
#include "ui/win32/ModalWatcher.h"
#include "ui/win32/PaneReader.h"

namespace wf::testing {
namespace {

LPARAM KeyData(UINT key) { return 1 | static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16); }

void Type(AppRig& rig, HWND target, UINT key) {
  PostMessageW(target, WM_KEYDOWN, key, KeyData(key));
  rig.Pump();
}

HWND ComboEdit(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(combo, &info);
  return info.hwndItem;
}

bool IsMarker(int x, int y) {
  return (y == 49 && x >= 29 && x <= 69 && x != 49) || (x == 49 && y >= 29 && y <= 69 && y != 49);
}

TEST(WindowWithLogicTest, TheOverviewPaneShowsTheOverviewOfTheMapInUse) {
  AppRig rig;
  ASSERT_TRUE(rig.maps->Find(4)->IsLoaded());
  EXPECT_EQ(rig.form->FMapIndex, 4);
  const TBitmap32* overview = rig.maps->Find(4)->GetOverview();
  ASSERT_NE(overview, nullptr);
  std::vector<uint32_t> shown = ReadClientPixels(rig.window.MapImage.Handle(), 384, 256);
  int wrong = 0;
  std::set<uint32_t> colours;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 384; ++x) {
      if (shown[y * 384 + x] != (overview->Pixel(x, y) & 0xFFFFFF)) ++wrong;
      colours.insert(shown[y * 384 + x]);
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(colours.size(), 100u) << "the bands of the world, not one flat colour";
}

TEST(WindowWithLogicTest, ALeftPressOnTheOverviewCentresTheDetailPaneAndRedrawsIt) {
  AppRig rig;
  HWND zoom = rig.window.ZoomMap.Handle();
  ValidateRect(zoom, nullptr);
  SendMessageW(rig.window.MapImage.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(zoom, &update, FALSE)) << "the detail pane is to be repainted";
  // Map 4: 1448 / 384 cells per pixel across, 1448 / 256 down, truncated.
  EXPECT_EQ(rig.window.eX.Text(), "377");
  EXPECT_EQ(rig.window.eY.Text(), "282");
  EXPECT_EQ(rig.window.eZ.Text(), std::to_string(rig.maps->Find(4)->GetAltitude(377, 282)));

  std::unique_ptr<TBitmap32> detail = rig.maps->Find(4)->RenderDetail(377, 282, 1);
  ASSERT_NE(detail, nullptr);
  std::vector<uint32_t> shown = ReadClientPixels(zoom, 100, 100);
  int wrong = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      uint32_t expected = IsMarker(x, y) ? 0 : (detail->Pixel(x, y) & 0xFFFFFF);
      if (shown[y * 100 + x] != expected) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
}

TEST(WindowWithLogicTest, AKeyTypedIntoAnEditFieldZoomsTheDetailViewAndIsTyped) {
  AppRig rig;
  HWND edit = rig.window.eX.Handle();
  SendMessageW(edit, EM_SETSEL, 1, 1);
  Type(rig, edit, VK_SUBTRACT);
  EXPECT_EQ(rig.form->FZoom, 2) << "the keypad's minus zooms out";
  EXPECT_EQ(rig.window.eX.Text(), "0-") << "and still types its character";
  EXPECT_EQ(rig.window.ZoomMap.Bitmap().Width(), 100) << "the detail view is drawn";
  Type(rig, rig.window.btnGo.Handle(), VK_ADD);
  EXPECT_EQ(rig.form->FZoom, 1);
}

TEST(WindowWithLogicTest, AnErrorInAHandlerIsShownAndTheProgramGoesOn) {
  const std::string places = "Bad=abc,1,2 4\r\nGood=100,200,5 4\r\n";
  AppRig rig(&places);
  ASSERT_EQ(rig.window.cbTravel.ItemCount(), 2);
  std::vector<MessageBoxSeen> boxes;
  ModalWatcher watcher([&](HWND box) {
    boxes.push_back(ReadMessageBox(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  HWND list = ComboEdit(rig.window.cbTravel.Handle());
  Type(rig, list, VK_DOWN);  // chooses "Bad"
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "app_tests");
  EXPECT_EQ(boxes[0].text, "'abc' is not a valid integer value.");
  EXPECT_TRUE(boxes[0].errorIcon);

  Type(rig, list, VK_DOWN);  // chooses "Good"
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(rig.form->FCenterX, 100);
  EXPECT_EQ(rig.form->FCenterY, 200);
  EXPECT_EQ(rig.form->FCenterZ, 5);
  EXPECT_EQ(rig.window.eY.Text(), "200");
}

struct DialogSeen {
  std::string caption, prompt, text;
  DWORD selStart = 99, selEnd = 99;
  LRESULT limit = 0;
};

TEST(WindowWithLogicTest, TheNameDialogAddsThePlaceOnOkAndNothingOnCancel) {
  AppRig rig;
  DialogSeen seen;
  std::string answer = "Haus";
  bool ok = true;
  ModalWatcher watcher([&](HWND dialog) {
    HWND edit = GetDlgItem(dialog, ui::win32::TInputDialog::kEditId);
    seen.caption = TextOf(dialog);
    seen.prompt = TextOf(GetDlgItem(dialog, ui::win32::TInputDialog::kPromptId));
    seen.text = TextOf(edit);
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&seen.selStart), reinterpret_cast<LPARAM>(&seen.selEnd));
    seen.limit = SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
    for (char c : answer) SendMessageW(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    PostMessageW(dialog, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
  });
  rig.window.eX.SetText("1400");
  rig.window.eY.SetText("1200");
  rig.window.eZ.SetText("7");
  SendMessageW(rig.window.btnNeu.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(watcher.Count(), 1);
  EXPECT_EQ(seen.caption, "Neuer Ort");
  EXPECT_EQ(seen.prompt, "Wie soll der Ort heissen?");
  EXPECT_EQ(seen.text, "Neuer Eintrag");
  EXPECT_EQ(seen.selStart, 0u);
  EXPECT_EQ(seen.selEnd, 13u);
  EXPECT_EQ(seen.limit, 255);
  ASSERT_EQ(rig.window.cbTravel.ItemCount(), 1);
  EXPECT_EQ(rig.window.cbTravel.Item(0), "Haus");
  EXPECT_EQ(rig.window.cbTravel.ItemIndex(), 0);
  const std::string written = rig.world.Dir().Read("locations.txt");
  EXPECT_NE(written.find("\r\nHaus=1400,1200,7 4\r\n"), std::string::npos) << written;

  ok = false;
  answer = "Mine";
  SendMessageW(rig.window.btnNeu.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(watcher.Count(), 2);
  EXPECT_EQ(rig.window.cbTravel.ItemCount(), 1) << "Cancel adds nothing";
  EXPECT_EQ(rig.world.Dir().Read("locations.txt"), written);
}

TEST(WindowWithLogicTest, TheEndOfTheSessionWritesThePlacesAndEndsTheLoop) {
  const std::string places = "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\nGood=100,200,5 4\r\n";
  AppRig rig(&places);
  std::remove(rig.world.File("locations.txt").c_str());
  PostMessageW(rig.window.Handle(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(ui::win32::RunMessageLoop(rig.window), 0);
  EXPECT_EQ(rig.world.Dir().Read("locations.txt"), places);
}

// A "tile ready" queued when the atlas closes goes with its window; the atlas
// opened again still completes its picture by itself, with no input.
TEST(WindowWithLogicTest, TheAtlasOpenedAgainAfterClosingWhileTilesWereComingCompletesItsPicture) {
  // The pointer out of the way: a move over the atlas would paint it anew.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  AppRig rig;
  // The engine, telling whether the last frame it composed was complete.
  struct Watched : atlas::IAtlasPicture {
    atlas::TAtlasEngine engine{2};
    bool complete = false;
    void SetMap(const TMap* map) override { engine.SetMap(map); }
    bool Compose(const atlas::TAtlasFrame& frame, TColor32* pixels, const atlas::TBandDone& bandDone) override {
      return complete = engine.Compose(frame, pixels, bandDone);
    }
  } picture;
  ui::win32::TAtlasWindow window;
  picture.engine.OnTileReady = [&window] { window.TileReady(); };
  ui::TAtlasForm atlas(window, *rig.form, rig.config, picture);
  window.Bind(&atlas);

  atlas.OpenAtlas();
  ASSERT_FALSE(picture.complete) << "the tiles are still coming";
  window.TileReady();  // as a worker does, the message not yet handled
  SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
  ASSERT_FALSE(window.IsOpen());
  atlas.OpenAtlas();
  for (int i = 0; i < 400 && !picture.complete; ++i) {
    rig.Pump();
    Sleep(25);
  }
  EXPECT_TRUE(picture.complete);
  SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace wf::testing
