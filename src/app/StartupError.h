#pragma once
// The box for an error that escapes start-up or shutdown: the program ends
// after it.

#include <exception>
#include <string>

namespace wf::app {

// "Exception %s in module %s at %p.\n%s%s": the error's kind, the module's
// file name, the code address (16 hexadecimal digits) and the message with the
// full-stop rule.
std::string ApplicationErrorText(const std::string& kind, const std::string& module,
                                 const void* address, const std::string& message);

// The kind of an error as the box names it: the program's own error types by
// their names, a failed allocation as EOutOfMemory, anything else as Exception.
std::string ErrorKind(const std::exception_ptr& error);

// Task-modal "Application Error" box with the error icon and OK.
void ShowApplicationError(const std::exception_ptr& error, const void* address) noexcept;

}  // namespace wf::app
