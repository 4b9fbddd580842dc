#include "ui/win32/InputDialog.h"

#include <windows.h>

#include "common/Errors.h"
#include "ui/win32/DialogTemplate.h"
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
  writer.Item(kStaticClass, kPromptId, SS_LEFT | SS_NOPREFIX, 6, 6, 168, 8, L"");
  writer.Item(kEditClass, kEditId, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 6, 17, 168, 12, L"");
  writer.Item(kButtonClass, IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 38, 38, 50, 14, L"OK");
  writer.Item(kButtonClass, IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 92, 38, 50, 14, L"Cancel");

  TQuery query{caption, prompt, defaultAnswer, maxLength, std::nullopt};
  INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.Get(), BoxOwner(),
                                           DialogProcedure, reinterpret_cast<LPARAM>(&query));
  if (result == -1)
    throw Exception("Cannot open the input dialog (error " + std::to_string(GetLastError()) + ")");
  if (result != IDOK) return std::nullopt;
  return query.answer;
}

}  // namespace wf::ui::win32
