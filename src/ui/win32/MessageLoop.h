#pragma once
// The program's message loop, with the map window's key preview and its
// dialog-style keyboard navigation.

namespace wf::ui::win32 {

class TMapWindow;

// Runs until the quit message arrives; returns its exit code.
int RunMessageLoop(TMapWindow& window);

// Handles every message that is waiting, then returns.
void ProcessPendingMessages(TMapWindow& window);

}  // namespace wf::ui::win32
