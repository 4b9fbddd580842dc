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

namespace detail {

void EnterHandler() noexcept { ++gHandlerDepth; }
void LeaveHandler() noexcept { --gHandlerDepth; }

void ShowHandlerError(const std::exception_ptr& error) noexcept {
  try {
    TMessageBoxes boxes;
    ui::ShowHandlerError(error, boxes, ApplicationTitle());
  } catch (...) {
    // Not even the box could be shown: there is nothing left to tell the user with.
  }
}

}  // namespace detail

int HandlerDepth() noexcept { return gHandlerDepth; }

}  // namespace wf::ui::win32
