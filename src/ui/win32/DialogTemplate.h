#pragma once
// Modal dialogs built in memory, without resource files: their template and
// where they open.

#include <windows.h>

#include <string_view>
#include <vector>

namespace wf::ui::win32 {

// Predefined classes of a template's items.
enum : WORD { kButtonClass = 0x0080, kEditClass = 0x0081, kStaticClass = 0x0082, kListBoxClass = 0x0083 };

// Writes a dialog template into a word-aligned buffer: the header, then one
// item per control, each item starting on a four-byte boundary.
class TTemplateWriter {
 public:
  // The caption is set when the dialog opens.
  void Dialog(DWORD style, short width, short height, short itemCount, std::wstring_view font, WORD pointSize);
  void Item(WORD predefinedClass, int id, DWORD style, short x, short y, short cx, short cy, std::wstring_view text);

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Raw(const void* data, size_t bytes);
  void Word(WORD w) { words_.push_back(w); }
  void Text(std::wstring_view text);
  void Align(size_t bytes);

  // WORD storage keeps the template word-aligned; DWORD alignment of the
  // buffer itself comes from the allocator.
  std::vector<WORD> words_;
};

void CentreOnScreen(HWND dialog);

}  // namespace wf::ui::win32
