#pragma once
// The program's commands in the window's system menu, which keeps the window's
// own layout as it is.

namespace wf::ui {

enum TMenuCommand : int {
  cmNone = 0,
};

}  // namespace wf::ui
