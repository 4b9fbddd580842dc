#pragma once
// The game client's window on Windows: looked up with FindWindowA and typed
// into with WM_CHAR.

#include <cstdint>

#include "platform/ClientWindows.h"

namespace wf::platform {

class Win32ClientWindows final : public IClientWindows {
 public:
  // How long one character may wait for the client to handle it. Windows itself
  // calls a window that has taken no message for five seconds "not responding";
  // a client we would give up on sooner might only be busy for a moment.
  static constexpr uint32_t kDefaultSendTimeoutMs = 5000;

  explicit Win32ClientWindows(uint32_t sendTimeoutMs = kDefaultSendTimeoutMs)
      : FSendTimeoutMs(sendTimeoutMs) {}

  // Window class names are matched as Windows matches them: ignoring case.
  Handle FindWindowByClass(const std::string& className) override;
  bool SendChar(Handle window, uint8_t code) override;

 private:
  uint32_t FSendTimeoutMs;
};

}  // namespace wf::platform
