#include "ui/win32/Button.h"

#include "ui/win32/Text.h"

namespace wf::ui::win32 {

HWND TButton::Create(const TButtonArgs& args) {
  return CreateControl({.className = L"BUTTON",
                        .text = Widen(args.text),
                        .style = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                        .parent = args.parent,
                        .id = args.id,
                        .rect = args.rect});
}

void TButton::HandleCommand(WORD code) {
  if (code == BN_CLICKED && onClick) onClick();
}

}  // namespace wf::ui::win32
