#include "ui/win32/ErrorBox.h"

#include <windows.h>

#include <exception>

#include "ui/HandlerErrors.h"
#include "ui/win32/MessageBoxes.h"

namespace wf::ui::win32 {

HWND BoxOwner() {
  HWND active = GetActiveWindow();
  return active && IsWindowVisible(active) ? active : nullptr;
}

std::string ApplicationTitle() {
  char buffer[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  std::string path = (n > 0 && n < sizeof buffer) ? std::string(buffer, n) : std::string();
  size_t slash = path.find_last_of("\\/:");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

namespace {

int gHandlerDepth = 0;

}  // namespace

bool Guarded(const std::function<void()>& handler) noexcept {
  std::exception_ptr error;
  ++gHandlerDepth;
  try {
    handler();
  } catch (...) {
    // Nothing may escape into the window system's callbacks.
    error = std::current_exception();
  }
  --gHandlerDepth;
  if (!error) return true;
  try {
    TMessageBoxes boxes;
    ShowHandlerError(error, boxes, ApplicationTitle());
  } catch (...) {
    // Not even the box could be shown: there is nothing left to tell the user with.
  }
  return false;
}

bool HandlerRunning() noexcept { return gHandlerDepth > 0; }

}  // namespace wf::ui::win32
