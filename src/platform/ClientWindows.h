#pragma once
// The game client's window as the client link sees it: found by window class,
// sent messages with a bound on the wait; and the clock the link measures its
// bound with.

#include <cstdint>
#include <string>

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

  virtual ~IClientWindows() = default;
  // The top-level window whose class name is exactly `className`, or 0.
  virtual Handle FindWindowByClass(const std::string& className) = 0;

  // Sends one message and waits at most `timeoutMs` for the window to handle
  // it; `reply`, when given, receives what the window returned.
  virtual TSendOutcome Send(Handle window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                            uint32_t timeoutMs, intptr_t* reply = nullptr) = 0;

  // Milliseconds from an arbitrary start, never going back.
  virtual uint64_t NowMs() = 0;
};

}  // namespace wf::platform
