#pragma once
// Thin wrappers of the standard controls. Each wrapper is bound to its control
// through a window property; the parent hands the control's WM_COMMAND
// notifications back to the wrapper (HandleCommand), so every control deals
// with its own notifications. The parent destroys the controls with itself.

#include <windows.h>

#include <string>

namespace wf::ui::win32 {

// Position and size in the parent's client area, in pixels.
struct TControlRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

class TChildControl {
 public:
  TChildControl() = default;
  virtual ~TChildControl();
  TChildControl(const TChildControl&) = delete;
  TChildControl& operator=(const TChildControl&) = delete;

  HWND Handle() const { return hwnd_; }
  // The wrapper of a control created here, or null.
  static TChildControl* FromHandle(HWND control);
  // A notification code of the control's WM_COMMAND.
  virtual void HandleCommand(WORD code) {}

 protected:
  struct TCreateArgs {
    const wchar_t* className = nullptr;
    std::wstring text;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    int id = 0;
    TControlRect rect;
  };
  // Creates the control in the controls' font; raises wf::Exception on failure.
  HWND CreateControl(const TCreateArgs& args);

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace wf::ui::win32
