#pragma once
// Modal message boxes on the Windows desktop.

#include "platform/Desktop.h"

namespace wf::ui::win32 {

class TMessageBoxes final : public platform::IMessageBoxes {
 public:
  // Error icon and OK; owned by the active window, so modal to it.
  void ShowError(const std::string& caption, const std::string& text) override;
  void ShowInformation(const std::string& caption, const std::string& text) override;
};

}  // namespace wf::ui::win32
