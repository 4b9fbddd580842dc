#pragma once
// The registry and the standard folder dialog on Windows.

#include "platform/FolderDialog.h"
#include "platform/Registry.h"

namespace wf::platform {

// Values are read in the registry's own view of the key, as the program's
// bitness sees it; callers name the 32-bit view's keys themselves.
class Win32Registry final : public IRegistry {
 public:
  std::optional<std::string> ReadText(TRegistryRoot root, const std::string& key,
                                      const std::string& value) override;
};

// The item dialog in its folder-picking form, owned by the active window.
// (The older folder browser misbehaves under Wine.)
class Win32FolderDialog final : public IFolderDialog {
 public:
  std::optional<std::string> ChooseFolder(const std::string& caption, const std::string& startFolder) override;
};

}  // namespace wf::platform
