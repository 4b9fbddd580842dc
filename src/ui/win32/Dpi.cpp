#include "ui/win32/Dpi.h"

namespace wf::ui::win32 {

namespace {

using TSetThreadContext = HANDLE(WINAPI*)(HANDLE context);
using TGetDpiForWindow = UINT(WINAPI*)(HWND window);
using TAdjustForDpi = BOOL(WINAPI*)(RECT* rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi);

const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4));

template <class Function>
Function Lookup(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

TSetThreadContext SetThreadContext() {
  static const auto set = Lookup<TSetThreadContext>("SetThreadDpiAwarenessContext");
  return set;
}

}  // namespace

TPerMonitorDpiScope::TPerMonitorDpiScope() {
  if (const auto set = SetThreadContext()) previous_ = set(kPerMonitorAwareV2);
}

TPerMonitorDpiScope::~TPerMonitorDpiScope() {
  // Null when the system refused the context: nothing was changed.
  if (const auto set = SetThreadContext(); set && previous_) set(previous_);
}

UINT DpiOfWindow(HWND window) {
  static const auto get = Lookup<TGetDpiForWindow>("GetDpiForWindow");
  const UINT dpi = get ? get(window) : 0;
  return dpi ? dpi : kDefaultDpi;
}

void AdjustForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
  static const auto adjust = Lookup<TAdjustForDpi>("AdjustWindowRectExForDpi");
  if (!adjust || !adjust(&rect, style, menu, exStyle, dpi)) AdjustWindowRectEx(&rect, style, menu, exStyle);
}

}  // namespace wf::ui::win32
