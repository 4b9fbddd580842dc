#include "ui/win32/Label.h"

#include "ui/win32/Font.h"
#include "ui/win32/Text.h"

namespace wf::ui::win32 {

namespace {

SIZE TextExtent(const std::wstring& text) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, ControlFont());
  SIZE size{};
  GetTextExtentPoint32W(screen, text.empty() ? L" " : text.c_str(),
                        text.empty() ? 1 : static_cast<int>(text.size()), &size);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return size;
}

}  // namespace

int TLabel::TextHeight() { return TextExtent(L"X").cy; }

HWND TLabel::Create(const TLabelArgs& args) {
  std::wstring text = Widen(args.text);
  SIZE size = TextExtent(text);
  return CreateControl({.className = L"STATIC",
                        .text = text,
                        .style = WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                        .parent = args.parent,
                        .id = -1,
                        .rect = {args.left, args.top, static_cast<int>(size.cx), static_cast<int>(size.cy)}});
}

}  // namespace wf::ui::win32
