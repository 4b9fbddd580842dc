#include "ui/win32/Window.h"

#include <string>

#include "common/Errors.h"
#include "ui/win32/ErrorBox.h"

namespace wf::ui::win32 {

TWindow::~TWindow() { DestroyHandle(); }

void TWindow::DestroyHandle() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void TWindow::RegisterWindowClass(const TWindowClassArgs& args) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, args.name, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = args.style;
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = args.background;
  wc.hIcon = args.icon;
  wc.hIconSm = args.smallIcon;
  wc.lpszClassName = args.name;
  if (!RegisterClassExW(&wc))
    throw Exception("Cannot register the window class (error " + std::to_string(GetLastError()) + ")");
}

HWND TWindow::CreateHandle(const TWindowArgs& args) {
  HWND made = CreateWindowExW(args.exStyle, args.className, args.title, args.style, args.left,
                              args.top, args.width, args.height, args.parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                              GetModuleHandleW(nullptr), this);
  if (!made)
    throw Exception("Cannot create the window (error " + std::to_string(GetLastError()) + ")");
  return made;
}

LRESULT TWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK TWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<TWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

  LRESULT result = 0;
  if (!Guarded([&] { result = self->HandleMessage(message, wParam, lParam); })) result = 0;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace wf::ui::win32
