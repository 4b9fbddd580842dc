// The window procedures guard every message against errors; a message whose
// handler raises nothing must cost no allocation, since mouse moves and hit
// tests arrive by the hundred.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "ui/win32/MapWindow.h"
#include "ui/win32/MessageLoop.h"

namespace {
std::atomic<long> allocations{0};
}

// Every allocation of this test program goes through here and is counted.
void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace wf::ui::win32 {
namespace {

TEST(MessagePath, AMessageWhoseHandlerRaisesNothingAllocatesNothing) {
  TMapWindow window;
  window.Create();
  ProcessPendingMessages(window);
  int presses = 0;
  window.ZoomMap.onMouseDown = [&](TMouseButton, int, int) { ++presses; };

  long before = allocations;
  auto counted = std::make_unique<int>(1);
  ASSERT_EQ(allocations - before, 1) << "the count sees this program's allocations";

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
    before = allocations;
    SendMessageW(m.target, m.message, m.wParam, m.lParam);
    EXPECT_EQ(allocations - before, 0);
  }
  EXPECT_EQ(presses, 1);
}

}  // namespace
}  // namespace wf::ui::win32
