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

// The message of an error as the user reads it ("Out of memory" for a failed
// allocation, a generic text for something that is not an exception at all).
std::string ErrorMessage(const std::exception_ptr& error);

// Modal box: application title as caption, error icon, OK, and the message
// with the full-stop rule applied.
void ShowStandardError(const std::string& message) noexcept;

// For a catch (...) block: shows the error being handled.
void ShowCurrentError() noexcept;

// Runs `handler`; an error it raises is shown and goes no further, so the
// program goes on with the state reached before the error. True when the
// handler finished.
template <class Handler>
bool Guarded(Handler&& handler) noexcept {
  try {
    handler();
    return true;
  } catch (...) {
    ShowCurrentError();
    return false;
  }
}

}  // namespace wf::ui::win32
