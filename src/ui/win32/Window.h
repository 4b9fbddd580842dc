#pragma once
// Base of the program's own window classes: the object is bound to its window
// on WM_NCCREATE and one static window procedure forwards every message to it.
// An error raised while a message is handled is shown in the standard error
// box right there; it never reaches Windows.

#include <windows.h>

namespace wf::ui::win32 {

struct TWindowClassArgs {
  const wchar_t* name = nullptr;
  UINT style = 0;
  HBRUSH background = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
};

struct TWindowArgs {
  const wchar_t* className = nullptr;
  const wchar_t* title = L"";
  DWORD style = 0;
  DWORD exStyle = 0;
  int left = CW_USEDEFAULT;
  int top = CW_USEDEFAULT;
  int width = CW_USEDEFAULT;
  int height = CW_USEDEFAULT;
  HWND parent = nullptr;
  int id = 0;  // a child's control identifier
};

class TWindow {
 public:
  TWindow() = default;
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  // Destroys the window if it still exists.
  void DestroyHandle();

 protected:
  // Registers the class with the shared procedure, once per process.
  static void RegisterWindowClass(const TWindowClassArgs& args);
  // Creates the window bound to this object; raises wf::Exception on failure.
  HWND CreateHandle(const TWindowArgs& args);
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
};

}  // namespace wf::ui::win32
