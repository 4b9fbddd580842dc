#include "ui/HandlerErrors.h"

#include <exception>

#include "common/Errors.h"
#include "platform/Desktop.h"

namespace wf::ui {

bool RunHandler(const std::function<void()>& handler, platform::IMessageBoxes& messages,
                const std::string& applicationTitle) {
  std::string message;
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    // Nothing may escape into the window system's callbacks.
    message = "Unknown error";
  }
  // The box is shown outside the handler's catch so that an error in showing it
  // is not mistaken for the handler's own.
  messages.ShowError(applicationTitle, WithFullStop(message));
  return false;
}

}  // namespace wf::ui
