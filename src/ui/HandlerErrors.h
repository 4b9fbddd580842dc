#pragma once
// The standard error box: an error raised inside one of the window's handlers
// is shown to the user, and the program goes on.

#include <exception>
#include <functional>
#include <string>

namespace wf::platform {
class IMessageBoxes;
}

namespace wf::ui {

// The message of an error as the user reads it: the error's own message, "Out
// of memory" for a failed allocation, a generic text for anything else.
std::string ErrorMessage(const std::exception_ptr& error);

// Shows an error as RunHandler does.
void ShowHandlerError(const std::exception_ptr& error, platform::IMessageBoxes& messages,
                      const std::string& applicationTitle);

// Runs `handler`; an error it raises is shown with `applicationTitle` as the
// caption and its message with the full-stop rule, and goes no further. False
// when it raised one.
bool RunHandler(const std::function<void()>& handler, platform::IMessageBoxes& messages,
                const std::string& applicationTitle);

}  // namespace wf::ui
