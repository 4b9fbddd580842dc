#pragma once
// The one font of every control in the program's windows.

#include <windows.h>

namespace wf::ui::win32 {

// "MS Sans Serif", character height 11 pixels (8 point at 96 pixels per inch);
// the desktop's dialog font where that face is not installed. Created once,
// kept for the life of the process.
HFONT ControlFont();

}  // namespace wf::ui::win32
