#include "ui/win32/SystemMenu.h"

#include "ui/win32/Text.h"

namespace wf::ui::win32 {

void TSystemMenu::AddCommand(int command, const std::string& text) {
  HMENU menu = GetSystemMenu(window_, FALSE);
  if (!menu) return;
  if (!separated_) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    separated_ = true;
  }
  AppendMenuW(menu, MF_STRING, ItemOf(command), Widen(text).c_str());
}

void TSystemMenu::SetChecked(int command, bool checked) {
  HMENU menu = GetSystemMenu(window_, FALSE);
  if (menu)
    CheckMenuItem(menu, static_cast<UINT>(ItemOf(command)),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace wf::ui::win32
