#include "ui/win32/ComboBox.h"

#include "ui/win32/Text.h"

namespace wf::ui::win32 {

HWND TComboBox::Create(const TComboBoxArgs& args) {
  // The height a combo box is created with is that of the dropped-down list;
  // the closed control's height follows from its selection field's height.
  TControlRect dropped = args.rect;
  dropped.height = args.rect.height + args.dropDownRows * args.rowHeight + 2;
  DWORD style = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
  if (args.visible) style |= WS_VISIBLE;
  HWND combo = CreateControl({.className = L"COMBOBOX",
                              .text = L"",
                              .style = style,
                              .parent = args.parent,
                              .id = args.id,
                              .rect = dropped});
  // The closed height follows from the selection field's height, which is set
  // through CB_SETITEMHEIGHT; how the two relate differs between Windows
  // versions, so the value is corrected until the control has its height.
  auto closedHeight = [combo] {
    RECT r{};
    GetWindowRect(combo, &r);
    return static_cast<int>(r.bottom - r.top);
  };
  int field = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  for (int attempt = 0; attempt < 3 && closedHeight() != args.rect.height; ++attempt) {
    field += args.rect.height - closedHeight();
    if (field < 1) break;
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  }
  SendMessageW(combo, CB_SETITEMHEIGHT, 0, args.rowHeight);
  return combo;
}

void TComboBox::HandleCommand(WORD code) {
  if ((code == CBN_SELCHANGE || code == CBN_EDITCHANGE) && onChange) onChange();
  if (code == CBN_EDITCHANGE && onTextTyped) onTextTyped(WindowTextA(Handle()));
  if ((code == CBN_KILLFOCUS || code == CBN_DROPDOWN) && onLeave) onLeave();
}

int TComboBox::ItemCount() const {
  LRESULT n = SendMessageA(Handle(), CB_GETCOUNT, 0, 0);
  return n == CB_ERR ? 0 : static_cast<int>(n);
}

std::string TComboBox::Item(int index) const {
  LRESULT length = SendMessageA(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT n = SendMessageA(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(text.data()));
  text.resize(n == CB_ERR ? 0 : static_cast<size_t>(n));
  return text;
}

void TComboBox::AddItem(const std::string& text) {
  SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TComboBox::DeleteItem(int index) {
  SendMessageA(Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TComboBox::ClearItems() { SendMessageA(Handle(), CB_RESETCONTENT, 0, 0); }

int TComboBox::ItemIndex() const {
  LRESULT index = SendMessageA(Handle(), CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

void TComboBox::SetItemIndex(int index) {
  SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool TComboBox::Visible() const {
  return (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void TComboBox::SetVisible(bool visible) { ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE); }

void TComboBox::BeginUpdate() {
  if (updateDepth_++ == 0) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TComboBox::EndUpdate() {
  if (updateDepth_ == 0) return;
  if (--updateDepth_ == 0) {
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
  }
}

}  // namespace wf::ui::win32
