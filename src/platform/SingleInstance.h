#pragma once
// One running copy of the program per folder: the places and configuration
// files beside the executable are written by one copy only.

#include <cstdint>
#include <string>
#include <string_view>

namespace wf::platform {

class IMessageBoxes;

// The name every copy started from `folder` claims: the same for every
// spelling of one folder (letter case, "/" or "\", trailing separators), short
// and free of "\", which the system would read as a namespace separator.
std::string SingleInstanceName(std::string_view folder);

class ISingleInstance {
 public:
  virtual ~ISingleInstance() = default;
  // True when no other process holds `name`; this process then holds it
  // until it ends.
  virtual bool Claim(const std::string& name) = 0;
  // Brings the window of the copy running from `folder` to the front; false
  // when that copy has no window (it is starting, or closing).
  virtual bool BringRunningCopyToFront(const std::string& folder) = 0;
  // Lets `ms` milliseconds pass.
  virtual void Pause(uint32_t ms) = 0;
};

// How long a copy waits for another one from its folder that holds the folder
// without a window, and how often it looks again meanwhile.
inline constexpr uint32_t kOtherCopyWaitMs = 5000;
inline constexpr uint32_t kOtherCopyLookMs = 100;

// True when this process is the only copy started from `folder` and may run;
// otherwise the running copy's window comes to the front and this one ends.
// A copy without a window is waited for until it ends (this one then runs) or
// shows its window; if it does neither within kOtherCopyWaitMs, the player is
// told that it still runs.
bool StartAsOnlyCopy(ISingleInstance& instances, const std::string& folder, IMessageBoxes& messages);

}  // namespace wf::platform
