#pragma once
// The program's commands in a window's system menu. Command n is the menu
// item n * 16: below the system's own items (0xF000 and up) and with the low
// four bits free, which the system uses for itself.

#include <windows.h>

#include <string>

#include "ui/Controls.h"

namespace wf::ui::win32 {

class TSystemMenu : public ISystemMenu {
 public:
  void Attach(HWND window) { window_ = window; }
  void AddCommand(int command, const std::string& text) override;
  void SetChecked(int command, bool checked) override;

  static WPARAM ItemOf(int command) { return static_cast<WPARAM>(command) << 4; }
  // The program's command a WM_SYSCOMMAND names, or 0 for the system's own.
  static int CommandOf(WPARAM wParam) {
    const WPARAM item = wParam & 0xFFF0;
    return item < 0xF000 ? static_cast<int>(item >> 4) : 0;
  }

 private:
  HWND window_ = nullptr;
  bool separated_ = false;
};

}  // namespace wf::ui::win32
