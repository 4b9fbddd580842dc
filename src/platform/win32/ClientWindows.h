#pragma once
// The game client's window on Windows: looked up with FindWindowA and sent
// messages with SendMessageTimeoutA.

#include <cstdint>

#include "platform/ClientWindows.h"

namespace wf::platform {

class Win32ClientWindows final : public IClientWindows {
 public:
  // Window class names are matched as Windows matches them: ignoring case.
  Handle FindWindowByClass(const std::string& className) override;
  TSendOutcome Send(Handle window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                    uint32_t timeoutMs, intptr_t* reply) override;
  uint64_t NowMs() override;
};

}  // namespace wf::platform
