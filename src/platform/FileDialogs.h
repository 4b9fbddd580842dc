#pragma once
// The desktop's standard open and save dialogs. Paths are in the system code
// page, as every file operation of the program takes them.

#include <optional>
#include <string>
#include <vector>

namespace wf::platform {

// One entry of a dialog's file type list.
struct TFileType {
  std::string Description;  // "Marker CSV (*.csv)"
  std::string Pattern;      // "*.csv", or several joined by ";"
};

class IFileDialogs {
 public:
  virtual ~IFileDialogs() = default;
  // The file chosen, or nothing on Cancel.
  virtual std::optional<std::string> OpenFile(const std::string& title,
                                              const std::vector<TFileType>& types) = 0;

  struct TSaveChoice {
    std::string Path;
    int Type = 0;  // index into the types offered
  };
  // The file named and the type chosen, or nothing on Cancel. The dialog asks
  // before an existing file is replaced.
  virtual std::optional<TSaveChoice> SaveFile(const std::string& title,
                                              const std::vector<TFileType>& types,
                                              const std::string& defaultName) = 0;
};

}  // namespace wf::platform
