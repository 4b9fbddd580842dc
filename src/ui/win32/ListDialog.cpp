#include "ui/win32/ListDialog.h"

#include <windows.h>

#include "common/Errors.h"
#include "ui/win32/DialogTemplate.h"
#include "ui/win32/ErrorBox.h"
#include "ui/win32/Font.h"
#include "ui/win32/Text.h"

namespace wf::ui::win32 {

namespace {

struct TChoice {
  const std::string& caption;
  const std::string& prompt;
  const std::vector<std::string>& lines;
  std::optional<int> chosen;
  HFONT wideFont = nullptr;
};

void Choose(HWND dialog, TChoice* choice) {
  const LRESULT line = SendDlgItemMessageW(dialog, kListId, LB_GETCURSEL, 0, 0);
  if (choice && line != LB_ERR) choice->chosen = static_cast<int>(line);
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* choice = reinterpret_cast<TChoice*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      choice = reinterpret_cast<TChoice*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetWindowTextW(dialog, Widen(choice->caption, CP_UTF8).c_str());
      const std::wstring prompt = Widen(choice->prompt, CP_UTF8);
      SetDlgItemTextW(dialog, kListPromptId, prompt.c_str());
      HWND list = GetDlgItem(dialog, kListId);
      bool wide = NeedsWideFont(prompt);
      for (const std::string& line : choice->lines) {
        const std::wstring text = Widen(line, CP_UTF8);
        wide = wide || NeedsWideFont(text);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      }
      LOGFONTW font{};
      if (wide && GetObjectW(reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)), sizeof font, &font))
        choice->wideFont = CreateWideFont(font.lfHeight);
      if (choice->wideFont)
        for (HWND control : {list, GetDlgItem(dialog, kListPromptId)})
          SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(choice->wideFont), FALSE);
      SendMessageW(list, LB_SETCURSEL, 0, 0);
      CentreOnScreen(dialog);
      SetFocus(list);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: Choose(dialog, choice); return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        case kListId:
          if (HIWORD(wParam) == LBN_DBLCLK) Choose(dialog, choice);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

std::optional<int> ChooseFromList(const std::string& caption, const std::string& prompt,
                                  const std::vector<std::string>& lines) {
  // Dialog units, in the program's font. The lines keep their order.
  TTemplateWriter writer;
  writer.Dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 180, 142, 4, L"MS Sans Serif", 8);
  writer.Item(kStaticClass, kListPromptId, SS_LEFT | SS_NOPREFIX, 6, 6, 168, 8, L"");
  writer.Item(kListBoxClass, kListId, WS_BORDER | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 6,
              17, 168, 98, L"");
  writer.Item(kButtonClass, IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 38, 121, 50, 14, L"OK");
  writer.Item(kButtonClass, IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 92, 121, 50, 14, L"Cancel");

  TChoice choice{caption, prompt, lines, std::nullopt};
  const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.Get(), BoxOwner(),
                                                 DialogProcedure, reinterpret_cast<LPARAM>(&choice));
  if (choice.wideFont) DeleteObject(choice.wideFont);
  if (result == -1) throw Exception("Cannot open the list (error " + std::to_string(GetLastError()) + ")");
  if (result != IDOK) return std::nullopt;
  return choice.chosen;
}

}  // namespace wf::ui::win32
