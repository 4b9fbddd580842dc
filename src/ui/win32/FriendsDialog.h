#pragma once
// The "Friends" dialog on Windows: broker address, group, name, user name,
// password (masked), certificate fingerprint, "Share my position", Connect,
// Disconnect and Close, and a state line below. Modal, built in memory; its
// buttons call the form bound to it, inside the standard error box's guard.

#include <windows.h>

#include <string>

#include "ui/FriendsForm.h"

namespace wf::ui::win32 {

class TFriendsDialog final : public IFriendsDialog {
 public:
  // Control identifiers; Connect is IDOK (Enter), Close is IDCANCEL (Esc).
  enum : int {
    kBrokerId = 200, kGroupId, kNameId, kUserId, kPasswordId, kCertId, kShareId,
    kStateId = 210, kDisconnectId = 221, kLabelId = 300,
  };

  void Bind(TFriendsForm* form) { form_ = form; }

  void Run() override;
  bool IsOpen() const override { return dialog_ != nullptr; }
  TFriendsFields Fields() const override;
  void SetFields(const TFriendsFields& fields) override;
  void SetStateText(const std::string& text) override;
  void SetRunning(bool running) override;

  HWND Handle() const { return dialog_; }

 private:
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void Opened(HWND dialog);
  void Command(int id, int code);
  void ShowFields();
  void ShowRunning();

  TFriendsForm* form_ = nullptr;
  HWND dialog_ = nullptr;
  // What the dialog shows, kept while it is closed.
  TFriendsFields fields_;
  std::string state_;
  bool running_ = false;
};

}  // namespace wf::ui::win32
