#include "app/StartupError.h"

#include <windows.h>

#include <cstdio>
#include <new>

#include "common/Errors.h"
#include "platform/Files.h"
#include "platform/PathParts.h"
#include "ui/HandlerErrors.h"

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
    // A program the system cannot name is a nameless ".exe".
    const std::string path = platform::ExecutablePath();
    std::string module = path.empty() ? ".exe" : std::string(platform::FileNamePart(path));
    std::string text = ApplicationErrorText(ErrorKind(error), module, address,
                                            ui::ErrorMessage(error));
    MessageBoxA(nullptr, text.c_str(), "Application Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  } catch (...) {
  }
}

}  // namespace wf::app
