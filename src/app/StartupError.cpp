#include "app/StartupError.h"

#include <windows.h>

#include <cstdio>
#include <new>

#include "common/Errors.h"
#include "ui/HandlerErrors.h"
#include "ui/win32/ErrorBox.h"

namespace wf::app {

std::string ApplicationErrorText(const std::string& kind, const std::string& module,
                                 const void* address, const std::string& message) {
  char where[32];
  std::snprintf(where, sizeof where, "%016llX",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(address)));
  return "Exception " + kind + " in module " + module + " at " + where + ".\n" + WithFullStop(message);
}

std::string ErrorKind(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.KindName();
  } catch (const std::bad_alloc&) {
    return "EOutOfMemory";
  } catch (...) {
    return "Exception";
  }
}

void ShowApplicationError(const std::exception_ptr& error, const void* address) noexcept {
  try {
    std::string module = ui::win32::ApplicationTitle() + ".exe";
    char path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n > 0 && n < sizeof path) {
      std::string full(path, n);
      module = full.substr(full.find_last_of("\\/:") + 1);
    }
    std::string text = ApplicationErrorText(ErrorKind(error), module, address,
                                            ui::ErrorMessage(error));
    MessageBoxA(nullptr, text.c_str(), "Application Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  } catch (...) {
  }
}

}  // namespace wf::app
