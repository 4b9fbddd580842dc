#include "platform/SingleInstance.h"

#include <cstdint>
#include <cstdio>

#include "platform/Desktop.h"

namespace wf::platform {

std::string SingleInstanceName(std::string_view folder) {
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.remove_suffix(1);
  // FNV-1a over the folder's spelling made uniform; a long path still gives a
  // short name.
  uint64_t hash = 14695981039346656037ull;
  for (char c : folder) {
    if (c == '/') c = '\\';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  char name[64];
  std::snprintf(name, sizeof name, "Local\\Wayfarer-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

bool StartAsOnlyCopy(ISingleInstance& instances, const std::string& folder, IMessageBoxes& messages) {
  const std::string name = SingleInstanceName(folder);
  for (uint32_t waited = 0;; waited += kOtherCopyLookMs) {
    if (instances.Claim(name)) return true;
    if (instances.BringRunningCopyToFront(folder)) return false;
    if (waited >= kOtherCopyWaitMs) break;
    instances.Pause(kOtherCopyLookMs);
  }
  messages.ShowError("Wayfarer is still running",
                     "Another copy of Wayfarer started from " + folder +
                         " is still running, but shows no window. Start it again once that copy has ended.");
  return false;
}

}  // namespace wf::platform
