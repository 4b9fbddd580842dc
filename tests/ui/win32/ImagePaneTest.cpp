// The image panes: what they show, when they repaint, which presses they report.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "PaneReader.h"
#include "ui/win32/MapWindow.h"
#include "ui/win32/MessageLoop.h"

namespace wf::ui::win32 {
namespace {

using testing::AsPixel;
using testing::ReadClientPixels;

class ImagePaneTest : public ::testing::Test {
 protected:
  void SetUp() override { window.Create(); }

  bool NeedsRepaint(TImagePane& pane) {
    RECT update{};
    return GetUpdateRect(pane.Handle(), &update, FALSE) != FALSE;
  }
  void Validate(TImagePane& pane) { ValidateRect(pane.Handle(), nullptr); }

  TMapWindow window;
  const uint32_t face = AsPixel(GetSysColor(COLOR_BTNFACE));
};

TEST_F(ImagePaneTest, ShowsEveryBitmapPixelOneToOneWithAlphaIgnored) {
  TBitmap32& bitmap = window.MapImage.Bitmap();
  bitmap.SetDimensions(384, 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 384; ++x)
      bitmap.WritePixel(x, y, MakeColor32(x, y, x * 7 + y, (x + y) % 3 == 0 ? 0 : 255));
  bitmap.WritePixel(10, 10, 0x00FFFFFF);  // white with alpha 0 shows white

  std::vector<uint32_t> shown = ReadClientPixels(window.MapImage.Handle(), 384, 256);
  int wrong = 0;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 384; ++x)
      if (shown[y * 384 + x] != (bitmap.Pixel(x, y) & 0x00FFFFFF)) ++wrong;
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(shown[10 * 384 + 10], 0xFFFFFFu);
}

TEST_F(ImagePaneTest, WhereTheBitmapDoesNotReachThePaneShowsTheButtonFace) {
  TBitmap32& bitmap = window.ZoomMap.Bitmap();
  struct Case {
    int width, height;
  };
  for (Case c : {Case{30, 20}, Case{0, 0}, Case{100, 100}, Case{150, 40}}) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    bitmap.SetDimensions(c.width, c.height);
    bitmap.ClearTo(0xFF123456);
    std::vector<uint32_t> shown = ReadClientPixels(window.ZoomMap.Handle(), 100, 100);
    int wrong = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) {
        bool covered = x < c.width && y < c.height;
        if (shown[y * 100 + x] != (covered ? 0x123456u : face)) ++wrong;
      }
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(ImagePaneTest, RepaintsWhenTheBitmapAnnouncesAChange) {
  TImagePane& pane = window.ZoomMap;
  window.Show();  // a hidden window never needs repainting
  TBitmap32 source;
  source.SetDimensions(10, 10);
  source.ClearTo(0xFF00FF00);
  pane.Bitmap().SetDimensions(100, 100);
  struct Case {
    const char* name;
    std::function<void(TBitmap32&)> change;
    bool repaints;
  };
  const Case cases[] = {
      {"ClearTo", [](TBitmap32& b) { b.ClearTo(0xFF000000); }, true},
      {"FillArea", [](TBitmap32& b) { b.FillArea(29, 49, 49, 50, 0xFF000000); }, true},
      {"DrawAt", [&](TBitmap32& b) { b.DrawAt(0, 0, &source); }, true},
      {"SetDimensions to a new size", [](TBitmap32& b) { b.SetDimensions(50, 50); }, true},
      {"SetDimensions to the same size", [](TBitmap32& b) { b.SetDimensions(50, 50); }, false},
      {"WritePixel", [](TBitmap32& b) { b.WritePixel(1, 1, 0xFFFFFFFF); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Validate(pane);
    c.change(pane.Bitmap());
    EXPECT_EQ(NeedsRepaint(pane), c.repaints);
  }
}

TEST_F(ImagePaneTest, ReportsEveryPressWithItsButtonAndPanePosition) {
  std::vector<std::string> presses;
  window.ZoomMap.onMouseDown = [&](TMouseButton button, int x, int y) {
    const char* name = button == TMouseButton::Left ? "left" : button == TMouseButton::Right ? "right" : "middle";
    presses.push_back(std::string(name) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  HWND pane = window.ZoomMap.Handle();
  SendMessageW(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 0));
  SendMessageW(pane, WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
  SendMessageW(pane, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(99, 0));
  SendMessageW(pane, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(60, 40));
  SendMessageW(pane, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(presses, (std::vector<std::string>{"left 0,0", "right 99,0", "middle 60,40"}));
}

// A real double-click, through the desktop's input: without the double-click
// class style the second press arrives as a press of its own.
TEST_F(ImagePaneTest, BothPressesOfADoubleClickAreReported) {
  EXPECT_FALSE(GetClassLongW(window.ZoomMap.Handle(), GCL_STYLE) & CS_DBLCLKS);
  std::vector<POINT> presses;
  window.ZoomMap.onMouseDown = [&](TMouseButton button, int x, int y) {
    if (button == TMouseButton::Left) presses.push_back({x, y});
  };
  window.Show();
  SetForegroundWindow(window.Handle());
  ProcessPendingMessages(window);
  POINT target{60, 50};
  ClientToScreen(window.ZoomMap.Handle(), &target);
  SetCursorPos(target.x, target.y);
  INPUT clicks[4] = {};
  for (int i = 0; i < 4; ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  ASSERT_EQ(SendInput(4, clicks, sizeof(INPUT)), 4u);
  for (int i = 0; i < 50 && presses.size() < 2; ++i) {
    ProcessPendingMessages(window);
    Sleep(20);
  }
  ASSERT_EQ(presses.size(), 2u);
  EXPECT_EQ(presses[0].x, 60);
  EXPECT_EQ(presses[0].y, 50);
  EXPECT_EQ(presses[1].x, 60);
  EXPECT_EQ(presses[1].y, 50);
}

}  // namespace
}  // namespace wf::ui::win32
