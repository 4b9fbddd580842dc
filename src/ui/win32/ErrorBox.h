#pragma once
// The standard error box: what the user sees when an event handler fails.
// Every window procedure and the message loop route their errors here, so no
// exception ever crosses into Windows.

#include <windows.h>

#include <functional>
#include <string>

namespace wf::ui::win32 {

// The owner of a modal box: the active window of the program while it is
// shown, none while the program is ending and its window already hidden.
HWND BoxOwner();

// The executable's file name without its extension: the caption of the box.
std::string ApplicationTitle();

// Runs `handler`; an error it raises is shown in the standard error box and
// goes no further, so the program goes on with the state reached before the
// error. True when the handler finished.
// Costs nothing beyond the handler itself while no error is raised.
bool Guarded(const std::function<void()>& handler) noexcept;

// True while a handler run by Guarded has not finished: a modal box or dialog
// it shows runs a message loop of its own, and work that must not cut into a
// handler's (a timer's) waits until it is over.
bool HandlerRunning() noexcept;

}  // namespace wf::ui::win32
