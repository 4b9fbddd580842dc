// The map window against the real Windows controls (under Wine in the test run).

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ModalWatcher.h"
#include "ui/win32/MapWindow.h"
#include "ui/win32/MessageLoop.h"

namespace wf::ui::win32 {
namespace {

RECT ClientRectOf(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring WideText(HWND window) {
  wchar_t buffer[256] = {};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

class MapWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.onCreate = [this] { ++created; };
    window.onShow = [this] { ++shown; };
    window.onDestroy = [this] { ++destroyed; };
    window.onKeyDown = [this](uint16_t key) { keys.push_back(key); };
    // Hidden: under Wine without a window manager a shown window takes two
    // seconds to go away again, so only the tests that need it show it.
    window.Create();
    ProcessPendingMessages(window);
  }
  void Pump() { ProcessPendingMessages(window); }

  TMapWindow window;
  int created = 0;
  int shown = 0;
  int destroyed = 0;
  std::vector<uint16_t> keys;
};

TEST_F(MapWindowTest, OpensAsLaidOutWithCaptionPositionAndSize) {
  EXPECT_EQ(created, 1) << "created once its controls exist";
  EXPECT_EQ(shown, 0);
  window.Show();
  Pump();
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(IsWindowVisible(window.Handle()));
  EXPECT_EQ(WideText(window.Handle()), L"Map");
  RECT outer{};
  GetWindowRect(window.Handle(), &outer);
  EXPECT_EQ(outer.left, 200);
  EXPECT_EQ(outer.top, 109);
  EXPECT_EQ(outer.right - outer.left, 577);
  EXPECT_EQ(outer.bottom - outer.top, 299);
  LONG_PTR style = GetWindowLongPtrW(window.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME) << "resizable frame";
  EXPECT_EQ(GetClassLongPtrW(window.Handle(), GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
  EXPECT_TRUE(GetClassLongPtrW(window.Handle(), GCLP_HICON)) << "an icon";
}

TEST_F(MapWindowTest, EveryControlSitsAtItsClientPositionWithItsText) {
  struct Expected {
    const char* name;
    HWND control;
    const wchar_t* cls;
    RECT rect;  // left, top, right, bottom
    const wchar_t* text;
  };
  const Expected table[] = {
      {"MapImage", window.MapImage.Handle(), TImagePane::kClassName, {8, 8, 392, 264}, L""},
      {"ZoomMap", window.ZoomMap.Handle(), TImagePane::kClassName, {408, 8, 508, 108}, L""},
      {"btnZoomIn", window.btnZoomIn.Handle(), L"Button", {520, 8, 540, 28}, L"+"},
      {"btnZoomOut", window.btnZoomOut.Handle(), L"Button", {520, 32, 540, 52}, L"-"},
      {"cbTravel", window.cbTravel.Handle(), L"ComboBox", {400, 120, 561, 141}, L""},
      {"eX", window.eX.Handle(), L"Edit", {400, 168, 449, 189}, L"0"},
      {"eY", window.eY.Handle(), L"Edit", {456, 168, 505, 189}, L"0"},
      {"eZ", window.eZ.Handle(), L"Edit", {512, 168, 553, 189}, L"0"},
      {"btnNeu", window.btnNeu.Handle(), L"Button", {400, 200, 449, 225}, L"Neu"},
      {"btnChange", window.btnChange.Handle(), L"Button", {456, 200, 505, 225}, L"\u00C4ndern"},
      {"btnDelete", window.btnDelete.Handle(), L"Button", {512, 200, 561, 225}, L"L\u00F6schen"},
      {"cbChooseMap", window.cbChooseMap.Handle(), L"ComboBox", {400, 240, 561, 261}, L""},
      {"btnGo", window.btnGo.Handle(), L"Button", {520, 80, 545, 105}, L"Go"},
  };
  for (const Expected& e : table) {
    SCOPED_TRACE(e.name);
    ASSERT_TRUE(IsWindow(e.control));
    EXPECT_EQ(GetParent(e.control), window.Handle());
    wchar_t cls[64] = {};
    GetClassNameW(e.control, cls, 64);
    EXPECT_EQ(_wcsicmp(cls, e.cls), 0) << "class";
    RECT r = ClientRectOf(e.control);
    EXPECT_EQ(r.left, e.rect.left);
    EXPECT_EQ(r.top, e.rect.top);
    EXPECT_EQ(r.right, e.rect.right);
    EXPECT_EQ(r.bottom, e.rect.bottom);
    EXPECT_EQ(WideText(e.control), e.text);
  }
}

TEST_F(MapWindowTest, LabelsSitThreePixelsAboveTheirEdits) {
  const std::pair<TLabel*, TEditField*> pairs[] = {
      {&window.lblX, &window.eX}, {&window.lblY, &window.eY}, {&window.lblZ, &window.eZ}};
  const wchar_t* texts[] = {L"X:", L"Y:", L"Z:"};
  for (int i = 0; i < 3; ++i) {
    RECT label = ClientRectOf(pairs[i].first->Handle());
    RECT edit = ClientRectOf(pairs[i].second->Handle());
    EXPECT_EQ(WideText(pairs[i].first->Handle()), texts[i]);
    EXPECT_EQ(label.left, edit.left);
    EXPECT_EQ(label.bottom + 3, edit.top);
    EXPECT_EQ(label.bottom - label.top, 13) << "text height of the font";
  }
}

TEST_F(MapWindowTest, TabOrderFollowsTheLayout) {
  auto order = [&] {
    std::vector<HWND> seen;
    HWND first = GetNextDlgTabItem(window.Handle(), nullptr, FALSE);
    for (HWND h = first; h && seen.size() < 20; h = GetNextDlgTabItem(window.Handle(), h, FALSE)) {
      if (!seen.empty() && h == first) break;
      seen.push_back(h);
    }
    return seen;
  };
  std::vector<HWND> expected = {window.btnZoomIn.Handle(), window.btnZoomOut.Handle(),
                                window.cbTravel.Handle(),  window.eX.Handle(),
                                window.eY.Handle(),        window.eZ.Handle(),
                                window.btnNeu.Handle(),    window.btnChange.Handle(),
                                window.btnDelete.Handle(), window.btnGo.Handle()};
  EXPECT_EQ(order(), expected);

  window.cbChooseMap.SetVisible(true);
  expected.insert(expected.end() - 1, window.cbChooseMap.Handle());
  EXPECT_EQ(order(), expected);

  // The panes come first in creation order, although they take no focus.
  EXPECT_EQ(GetWindow(window.Handle(), GW_CHILD), window.MapImage.Handle());
  EXPECT_EQ(GetWindow(window.MapImage.Handle(), GW_HWNDNEXT), window.ZoomMap.Handle());
}

TEST_F(MapWindowTest, EveryControlUsesMsSansSerifEightPoint) {
  HWND controls[] = {window.btnGo.Handle(), window.eX.Handle(), window.cbTravel.Handle(),
                     window.lblX.Handle(), window.btnChange.Handle()};
  for (HWND control : controls) {
    SCOPED_TRACE(::testing::Message() << "control " << &control - controls);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    ASSERT_TRUE(font);
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_FALSE(lf.lfItalic || lf.lfUnderline);
  }
}

TEST_F(MapWindowTest, DropDownsAreEditableAndTheMapChoiceStartsHidden) {
  for (HWND combo : {window.cbTravel.Handle(), window.cbChooseMap.Handle()}) {
    SCOPED_TRACE(combo == window.cbTravel.Handle() ? "cbTravel" : "cbChooseMap");
    EXPECT_EQ(GetWindowLongPtrW(combo, GWL_STYLE) & 3, CBS_DROPDOWN);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), 13) << "rows of the dropped list";
  }
  EXPECT_TRUE(window.cbTravel.Visible());
  EXPECT_FALSE(window.cbChooseMap.Visible());
  EXPECT_FALSE(IsWindowVisible(window.cbChooseMap.Handle()));
  window.cbChooseMap.SetVisible(true);
  EXPECT_TRUE(window.cbChooseMap.Visible());
}

TEST_F(MapWindowTest, NothingMovesWhenTheWindowIsResized) {
  // The user can resize and maximise it; the controls keep their places.
  const LONG style = GetWindowLongW(window.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
  std::vector<HWND> all;
  for (HWND h = GetWindow(window.Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) all.push_back(h);
  ASSERT_FALSE(all.empty());
  std::vector<RECT> before;
  for (HWND h : all) before.push_back(ClientRectOf(h));
  const struct {
    const char* name;
    int width, height;
  } sizes[] = {{"larger", 900, 650}, {"smaller than its controls", 300, 200}, {"back", 900, 650}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(size.name);
    SetWindowPos(window.Handle(), nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    RECT outer{};
    GetWindowRect(window.Handle(), &outer);
    ASSERT_EQ(outer.right - outer.left, size.width) << "the window took the new size";
    ASSERT_EQ(outer.bottom - outer.top, size.height);
    for (size_t i = 0; i < all.size(); ++i) {
      RECT now = ClientRectOf(all[i]);
      EXPECT_TRUE(EqualRect(&now, &before[i])) << "control " << i;
    }
  }
}

TEST_F(MapWindowTest, ClosingHidesTheWindowAndEndsTheLoopWithoutDestroyingIt) {
  window.Show();
  PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(RunMessageLoop(window), 0);
  EXPECT_TRUE(IsWindow(window.Handle()));
  EXPECT_FALSE(IsWindowVisible(window.Handle()));
  EXPECT_EQ(destroyed, 0);
  window.Destroy();
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(window.Handle(), nullptr);
}

TEST_F(MapWindowTest, EndOfSessionRunsItsHandlerAndEndsTheLoop) {
  int ending = 0;
  window.onEndSession = [&] { ++ending; };
  EXPECT_EQ(SendMessageW(window.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE) << "logging off is allowed";
  PostMessageW(window.Handle(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(RunMessageLoop(window), 0);
  EXPECT_EQ(ending, 1);
  EXPECT_EQ(destroyed, 0) << "the window goes at the program's end, as after a close";
}

TEST_F(MapWindowTest, AnEndOfSessionThatIsCancelledChangesNothing) {
  int ending = 0;
  window.onEndSession = [&] { ++ending; };
  SendMessageW(window.Handle(), WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(ending, 0);
  EXPECT_EQ(destroyed, 0);
  MSG quit;
  EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

}  // namespace
}  // namespace wf::ui::win32
