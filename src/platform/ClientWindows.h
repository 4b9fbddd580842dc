#pragma once
// The game client's windows as the client link sees them: found by window
// class (and title), sent messages with a bound on the wait, brought to the
// front; and the clock the link measures its bounds with.

#include <cstdint>
#include <string>
#include <vector>

namespace wf::platform {

// How one message sent to another program's window ended.
enum class TSendOutcome {
  Handled,   // the window's procedure handled it
  TimedOut,  // not handled within the bound; it may still be handled later
  Refused,   // Windows would not deliver it (the receiver runs with higher rights)
  Gone,      // the window does not exist (any more)
};

class IClientWindows {
 public:
  using Handle = uintptr_t;  // 0: no window

  struct TTopWindow {
    Handle Window;
    std::string Title;
  };

  virtual ~IClientWindows() = default;
  // The top-level window whose class name is exactly `className`, or 0.
  virtual Handle FindWindowByClass(const std::string& className) = 0;
  // The top-level window with this class and this title, or 0. Takes plain
  // strings so that looking for a window several times a second costs nothing.
  virtual Handle FindWindowByClassAndTitle(const char* className, const char* title) = 0;
  // Every top-level window of the class, visible or not, highest in the
  // window order first.
  virtual std::vector<TTopWindow> WindowsOfClass(const std::string& className) = 0;

  // Sends one message and waits at most `timeoutMs` for the window to handle
  // it; `reply`, when given, receives what the window returned.
  virtual TSendOutcome Send(Handle window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                            uint32_t timeoutMs, intptr_t* reply = nullptr) = 0;

  // Asks for the window to become the foreground window; Windows may refuse.
  virtual void BringToFront(Handle window) = 0;
  virtual Handle ForegroundWindow() = 0;

  // Milliseconds from an arbitrary start, never going back.
  virtual uint64_t NowMs() = 0;
  // Waits, letting the other programs run.
  virtual void Pause(uint32_t milliseconds) = 0;
};

}  // namespace wf::platform
