#include "platform/win32/FileDialogs.h"

#include <windows.h>
#include <commdlg.h>

namespace wf::platform {

namespace {

// The dialogs' filter: description and pattern of each type, each ended by a
// NUL, and one more NUL after the last.
std::string FilterText(const std::vector<TFileType>& types) {
  std::string filter;
  for (const TFileType& type : types) {
    filter += type.Description;
    filter += '\0';
    filter += type.Pattern;
    filter += '\0';
  }
  filter += '\0';
  return filter;
}

OPENFILENAMEA Request(const std::string& title, const std::string& filter, std::string& path) {
  OPENFILENAMEA request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = GetActiveWindow();
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = path.data();
  request.nMaxFile = static_cast<DWORD>(path.size());
  request.lpstrTitle = title.c_str();
  return request;
}

std::string Chosen(const std::string& buffer) { return buffer.substr(0, buffer.find('\0')); }

}  // namespace

std::optional<std::string> Win32FileDialogs::OpenFile(const std::string& title,
                                                  const std::vector<TFileType>& types) {
  const std::string filter = FilterText(types);
  std::string path(MAX_PATH * 4, '\0');
  OPENFILENAMEA request = Request(title, filter, path);
  request.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                  OFN_EXPLORER;
  if (!GetOpenFileNameA(&request)) return std::nullopt;
  return Chosen(path);
}

std::optional<IFileDialogs::TSaveChoice> Win32FileDialogs::SaveFile(
    const std::string& title, const std::vector<TFileType>& types, const std::string& defaultName) {
  const std::string filter = FilterText(types);
  std::string path(MAX_PATH * 4, '\0');
  path.replace(0, std::min(defaultName.size(), path.size() - 1), defaultName);
  OPENFILENAMEA request = Request(title, filter, path);
  request.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                  OFN_EXPLORER;
  if (!GetSaveFileNameA(&request)) return std::nullopt;
  const int type = request.nFilterIndex >= 1 ? static_cast<int>(request.nFilterIndex) - 1 : 0;
  return TSaveChoice{Chosen(path), type};
}

}  // namespace wf::platform
