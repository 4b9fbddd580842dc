#pragma once
// What another process sees of wayfarer.exe's windows: texts, the pixels on
// the screen, the atlas's frame over the small world's map 4, and boxes to
// answer. Shared by the program's tests.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "atlas/AtlasScale.h"
#include "ui/win32/ModalWatcher.h"  // TextOf

namespace wf::testing {

// Checks `done` every 100 ms until it holds or `seconds` have passed.
bool WaitUntil(const std::function<bool()>& done, int seconds = 10);

// What the screen shows of the window's client area, as 0x00RRGGBB, by rows.
std::vector<uint32_t> ScreenPatch(HWND window, int left, int top, int width, int height);

// The atlas's picture: its client area above the status bar.
SIZE AtlasPictureSize(HWND atlasWindow, HWND statusBar);
// Map 4 of the small world fitted into that picture.
atlas::TAtlasFrame FittedFrame(HWND atlasWindow, HWND statusBar);

// The picture of map 4 at 1:k: a pixel is the average of its box's cells on
// the map, channel by channel, rounded down; each cell has its land's radar
// colour (the world's statics lie far from where this is used).
uint32_t BoxColour(const atlas::TAtlasFrame& frame, int64_t x, int64_t y);

// Types `text` into a box's edit field and presses OK.
void Answer(const ProgramRun& program, const char* caption, const std::string& text);

}  // namespace wf::testing
