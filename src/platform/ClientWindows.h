#pragma once
// The game client's window as the client link sees it: found by window class,
// typed into with character messages.

#include <cstdint>
#include <string>

namespace wf::platform {

class IClientWindows {
 public:
  using Handle = uintptr_t;  // 0: no window

  virtual ~IClientWindows() = default;
  // The top-level window whose class name is exactly `className`, or 0.
  virtual Handle FindWindowByClass(const std::string& className) = 0;
  // Delivers one character message (the byte unsigned, second parameter 0) and
  // waits until the window has handled it. False when the message could not be
  // delivered or the window did not handle it in time.
  virtual bool SendChar(Handle window, uint8_t code) = 0;
};

}  // namespace wf::platform
