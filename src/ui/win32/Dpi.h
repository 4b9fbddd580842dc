#pragma once
// Per-monitor DPI for the windows that ask for it, where the system has it.
// The functions are looked up at run time: older systems lack them and Wine
// may lack or limit them, and there every window keeps today's behaviour.

#include <windows.h>

namespace wf::ui::win32 {

constexpr UINT kDefaultDpi = USER_DEFAULT_SCREEN_DPI;

// While it lives, windows the calling thread creates are per-monitor DPI
// aware (version 2), and sizes it reads and sets are in device pixels;
// nothing changes where the system cannot do so.
class TPerMonitorDpiScope {
 public:
  TPerMonitorDpiScope();
  ~TPerMonitorDpiScope();
  TPerMonitorDpiScope(const TPerMonitorDpiScope&) = delete;
  TPerMonitorDpiScope& operator=(const TPerMonitorDpiScope&) = delete;

 private:
  HANDLE previous_ = nullptr;
};

// The window's DPI; kDefaultDpi where the system cannot tell.
UINT DpiOfWindow(HWND window);

// The window rectangle around a client rectangle at `dpi`.
void AdjustForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi);

// `value` device pixels at kDefaultDpi, at `dpi`.
inline int Scaled(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), kDefaultDpi); }

}  // namespace wf::ui::win32
