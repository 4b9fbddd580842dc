#include "ui/win32/MessageBoxes.h"

#include <windows.h>

#include "ui/win32/ErrorBox.h"

namespace wf::ui::win32 {

void TMessageBoxes::ShowError(const std::string& caption, const std::string& text) {
  MessageBoxA(BoxOwner(), text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

void TMessageBoxes::ShowInformation(const std::string& caption, const std::string& text) {
  MessageBoxA(BoxOwner(), text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace wf::ui::win32
