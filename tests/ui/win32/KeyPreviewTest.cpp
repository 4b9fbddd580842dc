// Every key press for the map window or one of its controls reaches the
// window's key handler first; the focused control then still gets the key.

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ModalWatcher.h"
#include "ui/win32/MapWindow.h"
#include "ui/win32/MessageLoop.h"

namespace wf::ui::win32 {
namespace {

LPARAM KeyData(UINT key) { return 1 | static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16); }

HWND ComboEdit(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(combo, &info);
  return info.hwndItem;
}

class KeyPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.onKeyDown = [this](uint16_t key) {
      events.push_back("key " + std::to_string(key));
      textsAtPreview.push_back(window.eX.Text() + "|" + window.eY.Text() + "|" +
                               testing::TextOf(window.cbTravel.Handle()));
    };
    window.cbTravel.onChange = [this] { events.push_back("cbTravel changed"); };
    window.Create();
  }

  // Types one key into a control, as the keyboard would: the key-down is
  // queued and the message loop translates and dispatches it.
  void Type(HWND target, UINT key, UINT message = WM_KEYDOWN) {
    PostMessageW(target, message, key, KeyData(key));
    ProcessPendingMessages(window);
  }

  static void CaretToEnd(HWND edit) {
    int length = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, length, length);
  }

  TMapWindow window;
  std::vector<std::string> events;
  std::vector<std::string> textsAtPreview;
};

TEST_F(KeyPreviewTest, KeypadMinusInAnEditFieldReachesTheHandlerFirstAndThenTypesItsCharacter) {
  window.eX.SetText("12");
  CaretToEnd(window.eX.Handle());
  Type(window.eX.Handle(), VK_SUBTRACT);
  EXPECT_EQ(events, std::vector<std::string>{"key 109"});
  ASSERT_EQ(textsAtPreview.size(), 1u);
  EXPECT_EQ(textsAtPreview[0], "12|0|") << "the handler runs before the edit field has the key";
  EXPECT_EQ(window.eX.Text(), "12-");
}

TEST_F(KeyPreviewTest, ALetterTypedIntoTheSecondEditFieldIsPreviewedAndTyped) {
  CaretToEnd(window.eY.Handle());
  Type(window.eY.Handle(), 'A');
  EXPECT_EQ(events, std::vector<std::string>{"key 65"});
  EXPECT_EQ(window.eY.Text(), "0a");
}

TEST_F(KeyPreviewTest, TypingIntoTheTravelListIsPreviewedThenChangesTheList) {
  Type(ComboEdit(window.cbTravel.Handle()), 'B');
  EXPECT_EQ(events, (std::vector<std::string>{"key 66", "cbTravel changed"}));
  EXPECT_EQ(testing::TextOf(window.cbTravel.Handle()), "b");
}

TEST_F(KeyPreviewTest, KeysForButtonsTheWindowItselfAndSystemKeysArePreviewed) {
  Type(window.btnGo.Handle(), VK_ADD);
  Type(window.Handle(), VK_INSERT);
  Type(window.eZ.Handle(), VK_F10, WM_SYSKEYDOWN);
  EXPECT_EQ(events, (std::vector<std::string>{"key 107", "key 45", "key 121"}));
}

TEST_F(KeyPreviewTest, KeysForOtherWindowsAreNotPreviewed) {
  HWND other = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(other);
  Type(other, 'C');
  DestroyWindow(other);
  EXPECT_TRUE(events.empty());
}

TEST_F(KeyPreviewTest, AnErrorInTheHandlerIsShownAndTheKeyStillReachesTheField) {
  window.onKeyDown = [](uint16_t) { throw std::runtime_error("Zoom failed"); };
  testing::MessageBoxSeen seen;
  testing::ModalWatcher watcher([&](HWND box) {
    seen = testing::ReadMessageBox(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  CaretToEnd(window.eX.Handle());
  Type(window.eX.Handle(), 'D');
  EXPECT_EQ(watcher.Count(), 1);
  EXPECT_EQ(seen.text, "Zoom failed.");
  EXPECT_EQ(window.eX.Text(), "0d");
}

}  // namespace
}  // namespace wf::ui::win32
