#include "ui/win32/InputDialog.h"

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "common/Errors.h"
#include "ui/win32/ErrorBox.h"
#include "ui/win32/Text.h"

namespace wf::ui::win32 {

namespace {

struct TQuery {
  const std::string& caption;
  const std::string& prompt;
  const std::string& defaultAnswer;
  int maxLength;
  std::optional<std::string> answer;
};

// Writes a dialog template into a word-aligned buffer: the header, then one
// item per control, each item starting on a four-byte boundary.
class TTemplateWriter {
 public:
  void Dialog(DWORD style, short width, short height, short itemCount, std::wstring_view font,
              WORD pointSize) {
    DLGTEMPLATE header{};
    header.style = style;
    header.cdit = static_cast<WORD>(itemCount);
    header.cx = width;
    header.cy = height;
    Raw(&header, sizeof header);
    Word(0);         // no menu
    Word(0);         // the standard dialog class
    Text(L"");       // caption, set when the dialog opens
    Word(pointSize);
    Text(font);
  }

  // A control of a predefined class (0x0080 button, 0x0081 edit, 0x0082 static).
  void Item(WORD predefinedClass, int id, DWORD style, short x, short y, short cx, short cy,
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

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Raw(const void* data, size_t bytes) {
    const WORD* w = static_cast<const WORD*>(data);
    words_.insert(words_.end(), w, w + bytes / sizeof(WORD));
  }
  void Word(WORD w) { words_.push_back(w); }
  void Text(std::wstring_view text) {
    for (wchar_t c : text) words_.push_back(static_cast<WORD>(c));
    words_.push_back(0);
  }
  void Align(size_t bytes) {
    while ((words_.size() * sizeof(WORD)) % bytes) words_.push_back(0);
  }

  // WORD storage keeps the template word-aligned; DWORD alignment of the
  // buffer itself comes from the allocator.
  std::vector<WORD> words_;
};

void CentreOnScreen(HWND dialog) {
  RECT box{};
  GetWindowRect(dialog, &box);
  int width = box.right - box.left;
  int height = box.bottom - box.top;
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* query = reinterpret_cast<TQuery*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetWindowTextA(dialog, query->caption.c_str());
      SetDlgItemTextA(dialog, TInputDialog::kPromptId, query->prompt.c_str());
      HWND edit = GetDlgItem(dialog, TInputDialog::kEditId);
      if (query->maxLength > 0) SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(query->maxLength), 0);
      SetWindowTextA(edit, query->defaultAnswer.c_str());
      CentreOnScreen(dialog);
      SetFocus(edit);
      SendMessageW(edit, EM_SETSEL, 0, -1);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND: {
      auto* query = reinterpret_cast<TQuery*>(GetWindowLongPtrW(dialog, DWLP_USER));
      switch (LOWORD(wParam)) {
        case IDOK:
          if (query) query->answer = WindowTextA(GetDlgItem(dialog, TInputDialog::kEditId));
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      return FALSE;
    }
  }
  return FALSE;
}

}  // namespace

std::optional<std::string> TInputDialog::InputQuery(const std::string& caption,
                                                     const std::string& prompt,
                                                     const std::string& defaultAnswer,
                                                     int maxLength) {
  // Dialog units; the font is the window's own.
  TTemplateWriter writer;
  writer.Dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 180, 63, 4,
                L"MS Sans Serif", 8);
  writer.Item(0x0082, kPromptId, SS_LEFT | SS_NOPREFIX, 6, 6, 168, 8, L"");
  writer.Item(0x0081, kEditId, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 6, 17, 168, 12, L"");
  writer.Item(0x0080, IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 38, 38, 50, 14, L"OK");
  writer.Item(0x0080, IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 92, 38, 50, 14, L"Cancel");

  TQuery query{caption, prompt, defaultAnswer, maxLength, std::nullopt};
  INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.Get(), BoxOwner(),
                                           DialogProcedure, reinterpret_cast<LPARAM>(&query));
  if (result == -1)
    throw Exception("Cannot open the input dialog (error " + std::to_string(GetLastError()) + ")");
  if (result != IDOK) return std::nullopt;
  return query.answer;
}

}  // namespace wf::ui::win32
