#pragma once
// The desktop's standard dialog for choosing a folder.

#include <optional>
#include <string>

namespace wf::platform {

class IFolderDialog {
 public:
  virtual ~IFolderDialog() = default;
  // Shows the dialog with the caption, starting in `startFolder` (the
  // dialog's own choice when empty or missing). The chosen folder's full path
  // on OK; nothing on Cancel.
  virtual std::optional<std::string> ChooseFolder(const std::string& caption,
                                                  const std::string& startFolder) = 0;
};

}  // namespace wf::platform
