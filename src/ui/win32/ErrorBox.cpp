#include "ui/win32/ErrorBox.h"

#include <windows.h>

#include "platform/Files.h"
#include "platform/PathParts.h"

namespace wf::ui::win32 {

HWND BoxOwner() {
  HWND active = GetActiveWindow();
  return active && IsWindowVisible(active) ? active : nullptr;
}

std::string ApplicationTitle() {
  return std::string(platform::FileTitlePart(platform::FileNamePart(platform::ExecutablePath())));
}

}  // namespace wf::ui::win32
