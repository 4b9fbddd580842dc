#pragma once
// One copy per folder on Windows: a named mutex, and the running copy's "Map"
// window found by the folder of the process that owns it.

#include "platform/SingleInstance.h"

namespace wf::platform {

class Win32SingleInstance : public ISingleInstance {
 public:
  Win32SingleInstance() = default;
  ~Win32SingleInstance() override;
  Win32SingleInstance(const Win32SingleInstance&) = delete;
  Win32SingleInstance& operator=(const Win32SingleInstance&) = delete;

  bool Claim(const std::string& name) override;
  bool BringRunningCopyToFront(const std::string& folder) override;
  void Pause(uint32_t ms) override;

 private:
  void* mutex_ = nullptr;
};

}  // namespace wf::platform
