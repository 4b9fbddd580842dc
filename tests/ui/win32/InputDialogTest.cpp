// The modal text-input dialog, answered from inside its own message loop.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "ModalWatcher.h"
#include "ui/win32/InputDialog.h"

namespace wf::ui::win32 {
namespace {

using testing::ModalWatcher;
using testing::TextOf;

HWND Edit(HWND dialog) { return GetDlgItem(dialog, TInputDialog::kEditId); }

void Type(HWND edit, const std::string& text) {
  for (char c : text) SendMessageW(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

std::optional<std::string> Ask(std::function<void(HWND)> answer) {
  ModalWatcher watcher(std::move(answer));
  TInputDialog dialog;
  auto result = dialog.InputQuery("Neuer Ort", "Wie soll der Ort heissen?", "Neuer Eintrag", 255);
  EXPECT_EQ(watcher.Count(), 1);
  return result;
}

TEST(InputDialogTest, OpensCentredWithCaptionPromptSelectedDefaultLimitAndTwoButtons) {
  std::string caption, prompt, text, ok, cancel;
  DWORD selStart = 99, selEnd = 99;
  LRESULT limit = 0;
  RECT box{};
  HWND focus = nullptr;
  auto result = Ask([&](HWND dialog) {
    caption = TextOf(dialog);
    prompt = TextOf(GetDlgItem(dialog, TInputDialog::kPromptId));
    text = TextOf(Edit(dialog));
    SendMessageW(Edit(dialog), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    limit = SendMessageW(Edit(dialog), EM_GETLIMITTEXT, 0, 0);
    ok = TextOf(GetDlgItem(dialog, IDOK));
    cancel = TextOf(GetDlgItem(dialog, IDCANCEL));
    GetWindowRect(dialog, &box);
    focus = GetFocus();
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(caption, "Neuer Ort");
  EXPECT_EQ(prompt, "Wie soll der Ort heissen?");
  EXPECT_EQ(text, "Neuer Eintrag");
  EXPECT_EQ(selStart, 0u);
  EXPECT_EQ(selEnd, 13u) << "the whole default answer is selected";
  EXPECT_EQ(limit, 255);
  EXPECT_EQ(ok, "OK");
  EXPECT_EQ(cancel, "Cancel");
  EXPECT_LE(std::abs((box.left + box.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
  EXPECT_LE(std::abs((box.top + box.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
  EXPECT_EQ(result, "Neuer Eintrag") << "OK on the untouched default gives the default";
  EXPECT_NE(focus, nullptr);
}

TEST(InputDialogTest, TypingReplacesTheSelectedDefaultAndOkGivesTheText) {
  auto result = Ask([](HWND dialog) {
    Type(Edit(dialog), "Haus");
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(result, "Haus");
}

TEST(InputDialogTest, TakesAtMost255Characters) {
  int length = 0;
  auto result = Ask([&](HWND dialog) {
    Type(Edit(dialog), std::string(300, 'x'));
    length = GetWindowTextLengthW(Edit(dialog));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(length, 255);
  EXPECT_EQ(result, std::string(255, 'x'));
}

TEST(InputDialogTest, GivesEmptyAndSingleByteTextsAsTheyStand) {
  struct Case {
    std::string set;
  };
  for (const std::string& answer : {std::string(), std::string("M\xFChle am Flu\xDF"), std::string(" Ort ")}) {
    SCOPED_TRACE(answer);
    auto result = Ask([&](HWND dialog) {
      SetWindowTextA(Edit(dialog), answer.c_str());
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, answer);
  }
}

TEST(InputDialogTest, EveryWayOfCancellingGivesNothing) {
  const std::function<void(HWND)> ways[] = {
      [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); },
      [](HWND dialog) { SendMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); },
      [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); },
      [](HWND dialog) { PostMessageW(Edit(dialog), WM_KEYDOWN, VK_ESCAPE, 1); },
  };
  for (const auto& cancel : ways) {
    SCOPED_TRACE(::testing::Message() << "way " << &cancel - ways);
    auto result = Ask([&](HWND dialog) {
      Type(Edit(dialog), "Haus");
      cancel(dialog);
    });
    EXPECT_EQ(result, std::nullopt);
  }
}

TEST(InputDialogTest, EnterInTheFieldIsOk) {
  auto result = Ask([](HWND dialog) {
    Type(Edit(dialog), "Mine");
    PostMessageW(Edit(dialog), WM_KEYDOWN, VK_RETURN, 1);
  });
  EXPECT_EQ(result, "Mine");
}

}  // namespace
}  // namespace wf::ui::win32
