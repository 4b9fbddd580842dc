#pragma once
// The game client's windows on Windows: looked up with FindWindowA and
// EnumWindows, sent messages with SendMessageTimeoutA, brought forward with
// SetForegroundWindow.

#include <cstdint>

#include "platform/ClientWindows.h"

namespace wf::platform {

class Win32ClientWindows final : public IClientWindows {
 public:
  // Window class names are matched as Windows matches them: ignoring case.
  Handle FindWindowByClass(const std::string& className) override;
  Handle FindWindowByClassAndTitle(const char* className, const char* title) override;
  std::vector<TTopWindow> WindowsOfClass(const std::string& className) override;
  TSendOutcome Send(Handle window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                    uint32_t timeoutMs, intptr_t* reply) override;
  void BringToFront(Handle window) override;
  Handle ForegroundWindow() override;
  uint64_t NowMs() override;
  void Pause(uint32_t milliseconds) override;
};

}  // namespace wf::platform
