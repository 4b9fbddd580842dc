// The places' pop-ups, markers and the wheel through the real window, bound to
// its logic in this process.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "AppRig.h"
#include "ui/MenuCommands.h"
#include "ui/win32/ModalWatcher.h"
#include "ui/win32/PaneReader.h"
#include "ui/win32/SystemMenu.h"

namespace wf::testing {
namespace {

const std::string kPlaces =
    "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n"
    "Britain Bank=100,120,5 4\r\nMinoc=600,200,0 4\r\nbank of vesper=1000,1000,3 4\r\n";
constexpr uint32_t kFill = 0x00FFFF00;  // as the pane paints it, without alpha

HWND ComboEdit(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(combo, &info);
  return info.hwndItem;
}

void Command(AppRig& rig, int command) {
  SendMessageW(rig.window.Handle(), WM_SYSCOMMAND, ui::win32::TSystemMenu::ItemOf(command), 0);
  rig.Pump();
}

int Count(const std::vector<uint32_t>& pixels, uint32_t colour) {
  int n = 0;
  for (uint32_t p : pixels) n += (p & 0x00FFFFFF) == colour;
  return n;
}

TEST(PlacesWindowTest, TypingOffersTheMatchingPlacesAndAClickGoesToOne) {
  AppRig rig(&kPlaces);
  HWND combo = rig.window.cbTravel.Handle();
  SetWindowTextA(ComboEdit(combo), "BANK");
  SendMessageW(rig.window.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_EDITCHANGE),
               reinterpret_cast<LPARAM>(combo));
  rig.Pump();
  ASSERT_TRUE(rig.window.FindList.Shown());
  EXPECT_EQ(rig.window.FindList.Items(), (std::vector<std::string>{"Britain Bank", "bank of vesper"}));
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR) << "typing selects nothing";
  RECT under{}, field{};
  GetWindowRect(rig.window.FindList.Handle(), &under);
  GetWindowRect(combo, &field);
  EXPECT_EQ(under.top, field.bottom);
  EXPECT_EQ(under.left, field.left);

  // The second row: "bank of vesper".
  SendMessageW(rig.window.FindList.Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM(5, ui::win32::TFindList::kRowHeight + 3));
  rig.Pump();
  EXPECT_FALSE(rig.window.FindList.Shown());
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(TextOf(rig.window.eX.Handle()), "1000");
  EXPECT_EQ(rig.form->FCenterY, 1000);
}

TEST(PlacesWindowTest, TheKeysPickAFoundPlaceAndEscapeClosesTheList) {
  AppRig rig(&kPlaces);
  HWND combo = rig.window.cbTravel.Handle();
  HWND edit = ComboEdit(combo);
  auto typed = [&](const char* text) {
    SetWindowTextA(edit, text);
    SendMessageW(rig.window.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    rig.Pump();
  };
  typed("o");
  ASSERT_EQ(rig.window.FindList.Items().size(), 2u);  // Minoc, bank of vesper
  PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
  rig.Pump();
  EXPECT_FALSE(rig.window.FindList.Shown());
  typed("o");
  PostMessageW(edit, WM_KEYDOWN, VK_DOWN, 1);
  PostMessageW(edit, WM_KEYDOWN, VK_DOWN, 1);
  PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
  rig.Pump();
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(TextOf(rig.window.eX.Handle()), "1000");
}

TEST(PlacesWindowTest, TheTipShowsTheCellInItsOwnWindowAndThePaneIsUnchanged) {
  AppRig rig(&kPlaces);
  HWND pane = rig.window.MapImage.Handle();
  const std::vector<uint32_t> before = ReadClientPixels(pane, 384, 256);
  // Map 4 is 1448 cells square: 1448 / 384 cells a pixel across, 1448 / 256 down.
  // The pointer itself is put there too: the pane hears that the pointer left
  // it (and the tip goes) as soon as the system sees it elsewhere, which a
  // busy machine gives it time to do.
  POINT at{26, 21};
  ClientToScreen(pane, &at);
  SetCursorPos(at.x, at.y);
  SendMessageW(pane, WM_MOUSEMOVE, 0, MAKELPARAM(26, 21));
  rig.Pump();
  HWND tip = rig.window.HoverTip.Handle();
  ASSERT_TRUE(IsWindowVisible(tip));
  const std::string text = TextOf(tip);
  EXPECT_EQ(text.substr(0, 16), "X: 98  Y: 118  Z") << text;
  EXPECT_NE(text.find("\nBritain Bank"), std::string::npos) << text;
  EXPECT_NE(text.find("\xB0"), std::string::npos) << text;
  EXPECT_EQ(ReadClientPixels(pane, 384, 256), before);
  EXPECT_NE(GetForegroundWindow(), tip);
  SendMessageW(pane, WM_MOUSELEAVE, 0, 0);
  rig.Pump();
  EXPECT_FALSE(IsWindowVisible(tip));
}

TEST(PlacesWindowTest, MarkersAppearWhenSwitchedOnAndThePicturesAreAsBeforeWhenOff) {
  AppRig rig(&kPlaces);
  rig.form->FCenterX = 100;
  rig.form->FCenterY = 120;
  rig.form->DrawDetail();
  rig.Pump();
  HWND overview = rig.window.MapImage.Handle();
  HWND detail = rig.window.ZoomMap.Handle();
  const std::vector<uint32_t> overviewBefore = ReadClientPixels(overview, 384, 256);
  const std::vector<uint32_t> detailBefore = ReadClientPixels(detail, 100, 100);

  Command(rig, ui::cmShowPlaces);
  const std::vector<uint32_t> overviewOn = ReadClientPixels(overview, 384, 256);
  const std::vector<uint32_t> detailOn = ReadClientPixels(detail, 100, 100);
  EXPECT_EQ(Count(overviewOn, kFill), 3 * 9);
  EXPECT_EQ(Count(detailOn, kFill), 9);
  EXPECT_EQ(detailOn[50 * 100 + 50] & 0x00FFFFFF, kFill);
  EXPECT_NE(rig.config.FileText().find("key=\"showplaces\" value=\"1\""), std::string::npos);

  Command(rig, ui::cmShowPlaces);
  EXPECT_EQ(ReadClientPixels(overview, 384, 256), overviewBefore);
  EXPECT_EQ(ReadClientPixels(detail, 100, 100), detailBefore);
}

TEST(PlacesWindowTest, TheWheelOverTheDetailPaneZoomsAsTheButtons) {
  AppRig rig(&kPlaces);
  rig.form->FZoom = 5;
  HWND detail = rig.window.ZoomMap.Handle();
  SendMessageW(detail, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(rig.form->FZoom, 4);
  // Sent to the window with the focus, it still reaches the pane under the pointer.
  RECT r{};
  GetWindowRect(detail, &r);
  const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  if (WindowFromPoint(centre) == detail) {
    PostMessageW(rig.window.eX.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)),
                 MAKELPARAM(centre.x, centre.y));
    rig.Pump();
    EXPECT_EQ(rig.form->FZoom, 6);
  }
}

}  // namespace
}  // namespace wf::testing
