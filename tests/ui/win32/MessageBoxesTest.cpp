#include <gtest/gtest.h>

#include "ModalWatcher.h"
#include "ui/win32/MessageBoxes.h"

namespace wf::ui::win32 {
namespace {

TEST(MessageBoxesTest, ShowsCaptionTextErrorIconAndOk) {
  testing::MessageBoxSeen seen;
  testing::ModalWatcher watcher([&](HWND box) {
    seen = testing::ReadMessageBox(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  TMessageBoxes boxes;
  boxes.ShowError("UO Client not started", "The Command 'GoSelf 1 2 3 0' couldn't be sent.");
  EXPECT_EQ(watcher.Count(), 1);
  EXPECT_EQ(seen.caption, "UO Client not started");
  EXPECT_EQ(seen.text, "The Command 'GoSelf 1 2 3 0' couldn't be sent.");
  EXPECT_TRUE(seen.errorIcon);
  EXPECT_EQ(seen.buttons, std::vector<std::string>{"OK"});
}

}  // namespace
}  // namespace wf::ui::win32
