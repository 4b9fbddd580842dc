#include "ui/win32/ErrorBox.h"

#include <windows.h>

#include <new>
#include <stdexcept>

#include "common/Errors.h"

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

std::string ErrorMessage(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::bad_alloc&) {
    return "Out of memory";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "An unknown error occurred";
  }
}

void ShowStandardError(const std::string& message) noexcept {
  try {
    MessageBoxA(BoxOwner(), WithFullStop(message).c_str(), ApplicationTitle().c_str(),
                MB_OK | MB_ICONERROR);
  } catch (...) {
    // Not even the text could be built: there is nothing left to tell the user with.
  }
}

void ShowCurrentError() noexcept {
  try {
    ShowStandardError(ErrorMessage(std::current_exception()));
  } catch (...) {
  }
}

}  // namespace wf::ui::win32
