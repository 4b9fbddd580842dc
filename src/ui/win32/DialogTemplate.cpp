#include "ui/win32/DialogTemplate.h"

namespace wf::ui::win32 {

void TTemplateWriter::Dialog(DWORD style, short width, short height, short itemCount, std::wstring_view font,
                             WORD pointSize) {
  DLGTEMPLATE header{};
  header.style = style;
  header.cdit = static_cast<WORD>(itemCount);
  header.cx = width;
  header.cy = height;
  Raw(&header, sizeof header);
  Word(0);    // no menu
  Word(0);    // the standard dialog class
  Text(L"");  // caption, set when the dialog opens
  Word(pointSize);
  Text(font);
}

void TTemplateWriter::Item(WORD predefinedClass, int id, DWORD style, short x, short y, short cx, short cy,
                           std::wstring_view text) {
  Align(4);
  DLGITEMTEMPLATE item{};
  item.style = style | WS_CHILD | WS_VISIBLE;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  item.id = static_cast<WORD>(id);
  Raw(&item, sizeof item);
  Word(0xFFFF);
  Word(predefinedClass);
  Text(text);
  Word(0);  // no creation data
}

void TTemplateWriter::Raw(const void* data, size_t bytes) {
  const WORD* w = static_cast<const WORD*>(data);
  words_.insert(words_.end(), w, w + bytes / sizeof(WORD));
}

void TTemplateWriter::Text(std::wstring_view text) {
  for (wchar_t c : text) words_.push_back(static_cast<WORD>(c));
  words_.push_back(0);
}

void TTemplateWriter::Align(size_t bytes) {
  while ((words_.size() * sizeof(WORD)) % bytes) words_.push_back(0);
}

void CentreOnScreen(HWND dialog) {
  RECT box{};
  GetWindowRect(dialog, &box);
  int width = box.right - box.left;
  int height = box.bottom - box.top;
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace wf::ui::win32
