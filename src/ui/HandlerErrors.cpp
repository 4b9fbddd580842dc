#include "ui/HandlerErrors.h"

#include <new>
#include <stdexcept>

#include "common/Errors.h"
#include "platform/Desktop.h"

namespace wf::ui {

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

bool RunHandler(const std::function<void()>& handler, platform::IMessageBoxes& messages,
                const std::string& applicationTitle) {
  std::exception_ptr error;
  try {
    handler();
    return true;
  } catch (...) {
    // Nothing may escape into the window system's callbacks.
    error = std::current_exception();
  }
  // The box is shown outside the handler's catch so that an error in showing it
  // is not mistaken for the handler's own.
  ShowHandlerError(error, messages, applicationTitle);
  return false;
}

void ShowHandlerError(const std::exception_ptr& error, platform::IMessageBoxes& messages,
                      const std::string& applicationTitle) {
  messages.ShowError(applicationTitle, WithFullStop(ErrorMessage(error)));
}

}  // namespace wf::ui
