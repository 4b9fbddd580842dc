#include "ui/win32/Text.h"

namespace wf::ui::win32 {

std::wstring Widen(std::string_view bytes, UINT codePage) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0)
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return wide;
}

std::string WindowTextA(HWND window) {
  int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int n = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

}  // namespace wf::ui::win32
