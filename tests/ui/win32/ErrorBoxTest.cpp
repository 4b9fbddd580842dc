// An error raised in any of the map window's handlers is shown in the standard
// error box, and the program goes on.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "../AllocationCounter.h"
#include "ModalWatcher.h"
#include "common/Errors.h"
#include "ui/win32/ErrorBox.h"
#include "ui/win32/MapWindow.h"
#include "ui/win32/MessageLoop.h"

namespace wf::ui::win32 {
namespace {

using testing::MessageBoxSeen;
using testing::ModalWatcher;

// Shows the boxes as the user would see them, pressing OK on each.
class BoxRecorder {
 public:
  BoxRecorder()
      : watcher_([this](HWND box) {
          seen.push_back(testing::ReadMessageBox(box));
          PostMessageW(box, WM_COMMAND, IDOK, 0);
        }) {}
  std::vector<MessageBoxSeen> seen;

 private:
  ModalWatcher watcher_;
};

HWND ComboEdit(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(combo, &info);
  return info.hwndItem;
}

TEST(ErrorBoxTest, TheCaptionIsTheExecutablesNameWithoutItsExtension) {
  EXPECT_EQ(ApplicationTitle(), "ui_win32_tests");
}

TEST(ErrorBoxTest, ShowsTheMessageWithTheFullStopRuleUnderTheErrorIconWithOk) {
  struct Case {
    std::function<void()> raise;
    std::string text;
  };
  const Case cases[] = {
      {[] { throw EConvertError("'abc' is not a valid integer value"); }, "'abc' is not a valid integer value."},
      {[] { throw EListError(2); }, "List index out of bounds (2)"},
      {[] { throw Exception("Cannot create file C:\\x\\locations.txt"); }, "Cannot create file C:\\x\\locations.txt."},
      {[] { throw std::bad_alloc(); }, "Out of memory."},
      {[] { throw 42; }, "An unknown error occurred."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    BoxRecorder boxes;
    EXPECT_FALSE(Guarded(c.raise));
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].caption, "ui_win32_tests");
    EXPECT_EQ(boxes.seen[0].text, c.text);
    EXPECT_TRUE(boxes.seen[0].errorIcon);
    EXPECT_EQ(boxes.seen[0].buttons, std::vector<std::string>{"OK"});
  }
}

// Each way a handler of the window can be reached: the error is shown once,
// and the same handler works again afterwards.
TEST(ErrorBoxTest, AnErrorInAnyHandlerIsShownAndTheWindowGoesOn) {
  TMapWindow window;
  bool fail = true;
  int calls = 0;
  auto handler = [&] {
    ++calls;
    if (fail) throw EConvertError("'x' is not a valid integer value");
  };
  window.btnGo.onClick = handler;
  window.MapImage.onMouseDown = [&](TMouseButton, int, int) { handler(); };
  window.cbChooseMap.onChange = handler;
  window.onShow = handler;
  window.Create();

  struct Trigger {
    const char* name;
    std::function<void()> fire;
  };
  const Trigger triggers[] = {
      {"button", [&] { SendMessageW(window.btnGo.Handle(), BM_CLICK, 0, 0); }},
      {"pane", [&] { SendMessageW(window.MapImage.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5)); }},
      {"list", [&] {
         HWND edit = ComboEdit(window.cbChooseMap.Handle());
         PostMessageW(edit, WM_CHAR, 'm', 1);
         ProcessPendingMessages(window);
       }},
      {"shown", [&] {
         ShowWindow(window.Handle(), SW_HIDE);
         window.Show();
       }},
  };
  for (const Trigger& t : triggers) {
    SCOPED_TRACE(t.name);
    fail = true;
    calls = 0;
    {
      BoxRecorder boxes;
      t.fire();
      ASSERT_EQ(boxes.seen.size(), 1u);
      EXPECT_EQ(boxes.seen[0].caption, "ui_win32_tests");
      EXPECT_EQ(boxes.seen[0].text, "'x' is not a valid integer value.");
    }
    EXPECT_TRUE(IsWindow(window.Handle()));
    fail = false;
    BoxRecorder none;
    t.fire();
    EXPECT_EQ(calls, 2) << "the handler runs again";
    EXPECT_TRUE(none.seen.empty());
  }
}

TEST(ErrorBoxTest, AnErrorWhileTheWindowIsCreatedLeavesItComplete) {
  BoxRecorder boxes;
  TMapWindow window;
  window.onCreate = [] { throw EFOpenError("C:\\game\\locations.txt"); };
  window.Create();
  ASSERT_EQ(boxes.seen.size(), 1u);
  EXPECT_EQ(boxes.seen[0].text, "Cannot open file C:\\game\\locations.txt.");
  EXPECT_TRUE(IsWindow(window.btnGo.Handle()));
  EXPECT_EQ(window.eZ.Text(), "0");
}

TEST(ErrorBoxTest, AnErrorWhileTheWindowIsDestroyedIsShownAndTheWindowGoes) {
  TMapWindow window;
  window.onDestroy = [] { throw EFCreateError("C:\\game\\locations.txt"); };
  window.Create();
  BoxRecorder boxes;
  window.Destroy();
  ASSERT_EQ(boxes.seen.size(), 1u);
  EXPECT_EQ(boxes.seen[0].text, "Cannot create file C:\\game\\locations.txt.");
  EXPECT_EQ(window.Handle(), nullptr);
}

// Every message of every window goes through the guard.
TEST(ErrorBoxTest, TheGuardCostsNoAllocationWhileNothingFails) {
  int a = 0, b = 0, c = 0, d = 0, e = 0;
  const int allocations = wf::testing::AllocationsDuring([&] {
    for (int i = 0; i < 10; ++i) Guarded([&] { a += b + c + d + e + 1; });
  });
  EXPECT_EQ(allocations, 0);
  EXPECT_EQ(a, 10);
}

// The timer looks for the player; inside another handler (its modal box's
// loop) it must not cut in.
TEST(ErrorBoxTest, ThePlayerTimerWaitsWhileAnotherHandlerRuns) {
  TMapWindow window;
  int ticks = 0;
  window.onPlayerTimer = [&] { ++ticks; };
  window.Create();
  const auto tick = [&] { SendMessageW(window.Handle(), WM_TIMER, TMapWindow::kPlayerTimer, 0); };
  tick();
  EXPECT_EQ(ticks, 1);
  window.btnGo.onClick = tick;  // as if the timer fired in a box shown by Go's handler
  SendMessageW(window.btnGo.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(ticks, 1);
  tick();
  EXPECT_EQ(ticks, 2);
}

}  // namespace
}  // namespace wf::ui::win32
