#pragma once
// The standard open and save dialogs of Windows, owned by the active window.

#include "platform/FileDialogs.h"

namespace wf::platform {

class Win32FileDialogs final : public IFileDialogs {
 public:
  std::optional<std::string> OpenFile(const std::string& title,
                                      const std::vector<TFileType>& types) override;
  std::optional<TSaveChoice> SaveFile(const std::string& title, const std::vector<TFileType>& types,
                                      const std::string& defaultName) override;
};

}  // namespace wf::platform
