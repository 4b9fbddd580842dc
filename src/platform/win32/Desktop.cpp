#include <windows.h>

#include "platform/Desktop.h"

namespace wf::platform {

uint32_t DesktopColor(int element) { return static_cast<uint32_t>(GetSysColor(element)); }

}  // namespace wf::platform
