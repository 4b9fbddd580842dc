#pragma once
// The one font of every control in the program's windows.

#include <windows.h>

#include <string>

namespace wf::ui::win32 {

// "MS Sans Serif", character height 11 pixels (8 point at 96 pixels per inch);
// the desktop's dialog font where that face is not installed. Created once,
// kept for the life of the process.
HFONT ControlFont();

// Whether the text holds a letter the control font's code page lacks (a
// friend's name in another script): such a text is written in a wide font.
bool NeedsWideFont(const std::wstring& text);
// The desktop's message font with the given character height (as lfHeight):
// it covers more scripts, and Windows links it to fonts for the rest. The
// caller deletes it; null when there is none.
HFONT CreateWideFont(LONG height);

}  // namespace wf::ui::win32
