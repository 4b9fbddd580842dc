#pragma once
// The standard error box: what the user sees when an event handler fails.
// Every window procedure and the message loop route their errors here, so no
// exception ever crosses into Windows.

#include <windows.h>

#include <string>
#include <utility>

#include "ui/HandlerErrors.h"
#include "ui/win32/MessageBoxes.h"

namespace wf::ui::win32 {

// The owner of a modal box: the active window of the program while it is
// shown, none while the program is ending and its window already hidden.
HWND BoxOwner();

// The executable's file name without its extension: the caption of the box.
std::string ApplicationTitle();

namespace detail {
void EnterHandler() noexcept;
void LeaveHandler() noexcept;
}  // namespace detail

// Runs `handler`; an error it raises is shown in the standard error box and
// goes no further, so the program goes on with the state reached before the
// error. True when the handler finished. Allocates nothing unless it shows a
// box (see RunHandler). The box is shown while the handler still counts as
// running, so a timer's work does not cut into it either.
template <class Handler>
bool Guarded(Handler&& handler) noexcept {
  detail::EnterHandler();
  bool finished = false;
  try {
    TMessageBoxes boxes;
    finished = RunHandler(std::forward<Handler>(handler), boxes, ApplicationTitle);
  } catch (...) {
    // Not even the box could be shown: there is nothing left to tell the user with.
  }
  detail::LeaveHandler();
  return finished;
}

// How many handlers run by Guarded have not finished, the caller's own among
// them. A modal box or dialog runs a message loop of its own inside its
// handler, so work that must not cut into another handler (a timer's) checks
// that its own is the only one.
int HandlerDepth() noexcept;

}  // namespace wf::ui::win32
