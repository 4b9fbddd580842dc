#pragma once
// The standard error box: an error raised inside one of the window's handlers
// is shown to the user, and the program goes on.

#include <exception>
#include <string>
#include <utility>

namespace wf::platform {
class IMessageBoxes;
}

namespace wf::ui {

// The message of an error as the user reads it: the error's own message, "Out
// of memory" for a failed allocation, a generic text for anything else.
std::string ErrorMessage(const std::exception_ptr& error);

// Shows the error with `applicationTitle` as the caption and its message with
// the full-stop rule.
void ShowHandlerError(const std::exception_ptr& error, platform::IMessageBoxes& messages,
                      const std::string& applicationTitle);

// Runs `handler`; an error it raises is shown, with the caption that
// `applicationTitle()` gives, and goes no further. False when it raised one.
// Every window message passes through here, so a handler that raises nothing
// costs nothing more than its call: it is called where it is, never stored,
// and the caption is worked out only for a box.
template <class Handler, class Title>
bool RunHandler(Handler&& handler, platform::IMessageBoxes& messages, Title&& applicationTitle) {
  std::exception_ptr error;
  try {
    std::forward<Handler>(handler)();
    return true;
  } catch (...) {
    // Nothing may escape into the window system's callbacks.
    error = std::current_exception();
  }
  // The box is shown outside the handler's catch so that an error in showing it
  // is not mistaken for the handler's own.
  ShowHandlerError(error, messages, applicationTitle());
  return false;
}

}  // namespace wf::ui
