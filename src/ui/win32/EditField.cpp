#include "ui/win32/EditField.h"

#include "ui/win32/Text.h"

namespace wf::ui::win32 {

HWND TEditField::Create(const TEditFieldArgs& args) {
  return CreateControl({.className = L"EDIT",
                        .text = Widen(args.text),
                        .style = WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
                        .exStyle = WS_EX_CLIENTEDGE,
                        .parent = args.parent,
                        .id = args.id,
                        .rect = args.rect});
}

std::string TEditField::Text() const { return WindowTextA(Handle()); }

void TEditField::SetText(const std::string& text) { SetWindowTextA(Handle(), text.c_str()); }

}  // namespace wf::ui::win32
