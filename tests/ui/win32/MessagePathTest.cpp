// The window procedures guard every message against errors; a message whose
// handler raises nothing must cost no allocation, since mouse moves and hit
// tests arrive by the hundred.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "../AllocationCounter.h"
#include "ui/win32/MapWindow.h"
#include "ui/win32/MessageLoop.h"

namespace wf::ui::win32 {
namespace {

TEST(MessagePath, AMessageWhoseHandlerRaisesNothingAllocatesNothing) {
  TMapWindow window;
  window.Create();
  ProcessPendingMessages(window);
  int presses = 0;
  window.ZoomMap.onMouseDown = [&](TMouseButton, int, int) { ++presses; };

  std::unique_ptr<int> counted;  // kept, so the allocation cannot be left out
  ASSERT_EQ(wf::testing::AllocationsDuring([&] { counted = std::make_unique<int>(1); }), 1)
      << "the count sees this program's allocations";

  const struct {
    const char* name;
    HWND target;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } messages[] = {
      {"mouse move over the window", window.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(590, 300)},
      {"hit test of the window", window.Handle(), WM_NCHITTEST, 0, MAKELPARAM(400, 400)},
      {"cursor over the window", window.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.Handle()),
       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)},
      {"mouse move over the overview", window.MapImage.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10)},
      {"hit test of the overview", window.MapImage.Handle(), WM_NCHITTEST, 0, MAKELPARAM(300, 200)},
      {"press on the detail pane, into its handler", window.ZoomMap.Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
       MAKELPARAM(50, 50)},
  };
  for (const auto& m : messages) {
    SCOPED_TRACE(m.name);
    EXPECT_EQ(wf::testing::AllocationsDuring([&] { SendMessageW(m.target, m.message, m.wParam, m.lParam); }), 0);
  }
  EXPECT_EQ(presses, 1);
}

}  // namespace
}  // namespace wf::ui::win32
