#pragma once
// The standard error box: what the user sees when an event handler fails.
// Every window procedure and the message loop route their errors here, so no
// exception ever crosses into Windows.

#include <windows.h>

#include <exception>
#include <string>

namespace wf::ui::win32 {

// The owner of a modal box: the active window of the program while it is
// shown, none while the program is ending and its window already hidden.
HWND BoxOwner();

// The executable's file name without its extension: the caption of the box.
std::string ApplicationTitle();

namespace detail {
void EnterHandler() noexcept;
void LeaveHandler() noexcept;
void ShowHandlerError(const std::exception_ptr& error) noexcept;
}  // namespace detail

// Runs `handler`; an error it raises is shown in the standard error box and
// goes no further, so the program goes on with the state reached before the
// error. True when the handler finished. Every message of every window comes
// through here, so while no error is raised it costs nothing beyond the
// handler itself: no allocation, no look at the executable's name.
template <typename Handler>
bool Guarded(Handler&& handler) noexcept {
  std::exception_ptr error;
  detail::EnterHandler();
  try {
    handler();
  } catch (...) {
    // Nothing may escape into the window system's callbacks.
    error = std::current_exception();
  }
  detail::LeaveHandler();
  if (!error) return true;
  detail::ShowHandlerError(error);
  return false;
}

// How many handlers run by Guarded have not finished, the caller's own among
// them. A modal box or dialog runs a message loop of its own inside its
// handler, so work that must not cut into another handler (a timer's) checks
// that its own is the only one.
int HandlerDepth() noexcept;

}  // namespace wf::ui::win32
