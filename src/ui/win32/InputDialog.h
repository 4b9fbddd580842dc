#pragma once
// The modal text-input dialog on Windows: caption, prompt, an edit field that
// starts with the default answer all selected and takes at most the given
// number of characters, OK and "Cancel"; centred on the screen.

#include "platform/Desktop.h"

namespace wf::ui::win32 {

class TInputDialog final : public platform::IInputDialog {
 public:
  // Control identifiers inside the dialog (OK and Cancel are IDOK and IDCANCEL).
  static constexpr int kPromptId = 100;
  static constexpr int kEditId = 101;

  std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                        const std::string& defaultAnswer, int maxLength) override;
};

}  // namespace wf::ui::win32
