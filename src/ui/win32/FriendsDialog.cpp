#include "ui/win32/FriendsDialog.h"

#include "common/Errors.h"
#include "ui/win32/DialogTemplate.h"
#include "ui/win32/ErrorBox.h"
#include "ui/win32/Text.h"

namespace wf::ui::win32 {

namespace {

using D = TFriendsDialog;

struct TField {
  int id;
  const wchar_t* label;
  int maxLength;
  DWORD style;
};

// A fingerprint is 32 bytes: 64 digits, with colons 95 characters.
constexpr TField kFields[] = {
    {D::kBrokerId, L"Broker address:", 256, 0},
    {D::kGroupId, L"Group:", 64, 0},
    {D::kNameId, L"Your name:", 32, 0},
    {D::kUserId, L"User name:", 128, 0},
    {D::kPasswordId, L"Password:", 128, ES_PASSWORD},
    {D::kCertId, L"Certificate SHA-256:", 95, 0},
};

// The fields hold any character; the form gets them as UTF-8.
std::string Utf8Text(HWND control) {
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  const int n = GetWindowTextW(control, wide.data(), length + 1);
  if (n <= 0) return {};
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, text.data(), bytes, nullptr, nullptr);
  SecureZeroMemory(wide.data(), wide.size() * sizeof(wchar_t));
  return text;
}

void SetUtf8Text(HWND dialog, int id, const std::string& text) {
  SetDlgItemTextW(dialog, id, Widen(text, CP_UTF8).c_str());
}

}  // namespace

void TFriendsDialog::Run() {
  if (dialog_) return;
  // Dialog units, in the program's font.
  constexpr short kWidth = 236, kLabelWidth = 72, kEditX = 84, kEditWidth = 145, kRow = 16;
  TTemplateWriter writer;
  const short count = static_cast<short>(2 * std::size(kFields) + 5);
  writer.Dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, kWidth, 174, count,
                L"MS Sans Serif", 8);
  short y = 7;
  for (const TField& field : kFields) {
    writer.Item(kStaticClass, kLabelId + field.id - kBrokerId, SS_LEFT | SS_NOPREFIX, 7, static_cast<short>(y + 2),
                kLabelWidth, 8, field.label);
    writer.Item(kEditClass, field.id, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | field.style, kEditX, y, kEditWidth,
                12, L"");
    y = static_cast<short>(y + kRow);
  }
  writer.Item(kButtonClass, kShareId, WS_TABSTOP | BS_AUTOCHECKBOX, kEditX, static_cast<short>(y + 1), kEditWidth, 10,
              L"Share my position");
  y = static_cast<short>(y + kRow);
  // Read-only text rather than a label: a fingerprint, one long word, is
  // broken across lines instead of cut off, and can be copied into the field.
  writer.Item(kEditClass, kStateId, ES_MULTILINE | ES_READONLY | WS_BORDER, 7, y, kWidth - 14, 28, L"");
  y = static_cast<short>(y + 34);
  writer.Item(kButtonClass, IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 7, y, 54, 14, L"Connect");
  writer.Item(kButtonClass, kDisconnectId, WS_TABSTOP | BS_PUSHBUTTON, 65, y, 54, 14, L"Disconnect");
  writer.Item(kButtonClass, IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, kWidth - 61, y, 54, 14, L"Close");

  const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.Get(), BoxOwner(), Procedure,
                                                 reinterpret_cast<LPARAM>(this));
  dialog_ = nullptr;
  // The password typed is the form's business once read; none lingers here.
  SecureZeroMemory(fields_.Password.data(), fields_.Password.size());
  fields_.Password.clear();
  if (result == -1) throw Exception("Cannot open the friends' dialog (error " + std::to_string(GetLastError()) + ")");
}

INT_PTR CALLBACK TFriendsDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TFriendsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      self = reinterpret_cast<TFriendsDialog*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      self->Opened(dialog);
      return TRUE;  // the focus goes to the first field
    case WM_COMMAND:
      if (!self) return FALSE;
      self->Command(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_DESTROY:
      if (self) self->dialog_ = nullptr;
      return FALSE;
  }
  return FALSE;
}

void TFriendsDialog::Opened(HWND dialog) {
  dialog_ = dialog;
  SetWindowTextW(dialog, L"Friends");
  for (const TField& field : kFields)
    SendDlgItemMessageW(dialog, field.id, EM_LIMITTEXT, static_cast<WPARAM>(field.maxLength), 0);
  ShowFields();
  SetUtf8Text(dialog, kStateId, state_);
  ShowRunning();
  CentreOnScreen(dialog);
}

void TFriendsDialog::Command(int id, int code) {
  switch (id) {
    case IDOK:
      if (form_) Guarded([this] { form_->ConnectClick(); });
      break;
    case kDisconnectId:
      if (code == BN_CLICKED && form_) Guarded([this] { form_->DisconnectClick(); });
      break;
    case kShareId:
      if (code == BN_CLICKED && form_) Guarded([this] { form_->ShareClick(); });
      break;
    case IDCANCEL:
      fields_ = Fields();
      EndDialog(dialog_, IDCANCEL);
      break;
  }
}

TFriendsFields TFriendsDialog::Fields() const {
  if (!dialog_) return fields_;
  auto text = [this](int id) { return Utf8Text(GetDlgItem(dialog_, id)); };
  TFriendsFields fields;
  fields.Broker = text(kBrokerId);
  fields.Group = text(kGroupId);
  fields.Name = text(kNameId);
  fields.User = text(kUserId);
  fields.Password = text(kPasswordId);
  fields.Cert = text(kCertId);
  fields.Share = IsDlgButtonChecked(dialog_, kShareId) == BST_CHECKED;
  return fields;
}

void TFriendsDialog::SetFields(const TFriendsFields& fields) {
  fields_ = fields;
  if (dialog_) ShowFields();
}

void TFriendsDialog::ShowFields() {
  SetUtf8Text(dialog_, kBrokerId, fields_.Broker);
  SetUtf8Text(dialog_, kGroupId, fields_.Group);
  SetUtf8Text(dialog_, kNameId, fields_.Name);
  SetUtf8Text(dialog_, kUserId, fields_.User);
  SetUtf8Text(dialog_, kPasswordId, fields_.Password);
  SetUtf8Text(dialog_, kCertId, fields_.Cert);
  CheckDlgButton(dialog_, kShareId, fields_.Share ? BST_CHECKED : BST_UNCHECKED);
}

void TFriendsDialog::SetStateText(const std::string& text) {
  if (text == state_) return;
  state_ = text;
  if (dialog_) SetUtf8Text(dialog_, kStateId, state_);
}

void TFriendsDialog::SetRunning(bool running) {
  running_ = running;
  if (dialog_) ShowRunning();
}

// Connect stays pressable while connected: it applies edited fields.
void TFriendsDialog::ShowRunning() { EnableWindow(GetDlgItem(dialog_, kDisconnectId), running_ ? TRUE : FALSE); }

}  // namespace wf::ui::win32
