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

namespace {

int gHandlerDepth = 0;

}  // namespace

namespace detail {

void EnterHandler() noexcept { ++gHandlerDepth; }
void LeaveHandler() noexcept { --gHandlerDepth; }

}  // namespace detail

int HandlerDepth() noexcept { return gHandlerDepth; }

}  // namespace wf::ui::win32
