#pragma once
// One running copy of the program per folder: the places and configuration
// files beside the executable are written by one copy only.

#include <string>
#include <string_view>

namespace wf::platform {

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
  // Brings the window of the copy running from `folder` to the front.
  virtual void BringRunningCopyToFront(const std::string& folder) = 0;
};

// True when this process is the only copy started from `folder` and may run;
// otherwise the running copy's window comes to the front and this one ends.
bool StartAsOnlyCopy(ISingleInstance& instances, const std::string& folder);

}  // namespace wf::platform
