#pragma once
// Answers the modal boxes and dialogs that code under test opens on this
// thread: a CBT hook notices each one as it is activated, and a thread timer
// then runs the test's action from inside the box's own message loop, when the
// box is fully set up. The action reads what it needs and closes the box.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wf::testing {

class ModalWatcher {
 public:
  using Action = std::function<void(HWND box)>;

  explicit ModalWatcher(Action action) {
    Instance() = this;
    action_ = std::move(action);
    hook_ = SetWindowsHookExW(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
  }
  ~ModalWatcher() {
    if (hook_) UnhookWindowsHookEx(hook_);
    Instance() = nullptr;
  }
  ModalWatcher(const ModalWatcher&) = delete;
  ModalWatcher& operator=(const ModalWatcher&) = delete;

  // How many boxes were seen.
  int Count() const { return count_; }

 private:
  static ModalWatcher*& Instance() {
    static ModalWatcher* instance = nullptr;
    return instance;
  }

  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
    ModalWatcher* self = Instance();
    if (self && code == HCBT_ACTIVATE) {
      HWND window = reinterpret_cast<HWND>(wParam);
      wchar_t cls[64] = {};
      GetClassNameW(window, cls, 64);
      if (std::wstring(cls) == L"#32770" && window != self->current_) {
        self->current_ = window;
        ++self->count_;
        SetTimer(nullptr, 0, 20, TimerProc);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ModalWatcher* self = Instance();
    if (self && self->current_ && IsWindow(self->current_)) {
      HWND box = self->current_;
      self->action_(box);
      // A box the action did not close is closed here, so no test hangs.
      if (IsWindow(box) && IsWindowVisible(box)) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    }
  }

  Action action_;
  HHOOK hook_ = nullptr;
  HWND current_ = nullptr;
  int count_ = 0;
};

// What a message box showed.
struct MessageBoxSeen {
  std::string caption;
  std::string text;
  bool errorIcon = false;
  std::vector<std::string> buttons;
};

// A window's text, of this process or another (where GetWindowText reads
// only captions); a window that does not answer reads as empty.
inline std::string TextOf(HWND window) {
  char buffer[1024] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000,
                      &ignored);
  return buffer;
}

inline std::string ClassOf(HWND window) {
  char buffer[64] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

// Reads a message box's caption, text, icon and buttons.
inline MessageBoxSeen ReadMessageBox(HWND box) {
  MessageBoxSeen seen;
  seen.caption = TextOf(box);
  HICON hand = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_HAND));
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    std::string cls = ClassOf(child);
    if (_stricmp(cls.c_str(), "Button") == 0) {
      seen.buttons.push_back(TextOf(child));
    } else if (_stricmp(cls.c_str(), "Static") == 0) {
      if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        HICON icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        seen.errorIcon = seen.errorIcon || (icon && icon == hand);
      } else if (!TextOf(child).empty()) {
        seen.text = TextOf(child);
      }
    }
  }
  return seen;
}

}  // namespace wf::testing
