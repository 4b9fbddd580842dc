#pragma once
// The program's commands in the window's system menu, which keeps the window's
// own layout as it is. Items appear in the order TMapForm adds them.

namespace wf::ui {

enum TMenuCommand : int {
  cmNone = 0,
  cmGameFolder = 1,
  cmImportPlaces = 2,
  cmExportPlaces = 3,
  cmShowPlaces = 4,
  cmShowPlayer = 5,
  cmFollowPlayer = 6,
  cmAtlas = 7,
  cmAbout = 8,
  cmFriends = 9,
};

}  // namespace wf::ui
