#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "platform/win32/GameFolderServices.h"

namespace wf::platform {

namespace {

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string Narrow(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string narrow(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), n, nullptr, nullptr);
  narrow.resize(static_cast<size_t>(n) - 1);
  return narrow;
}

// Releases a COM interface when it goes.
template <typename T>
struct TComRef {
  T* p = nullptr;
  ~TComRef() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
};

}  // namespace

std::optional<std::string> Win32Registry::ReadText(TRegistryRoot root, const std::string& key,
                                                   const std::string& value) {
  HKEY base = root == TRegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  DWORD bytes = 0;
  const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ;
  if (RegGetValueA(base, key.c_str(), value.c_str(), flags, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  std::vector<char> text(bytes + 1, '\0');
  if (RegGetValueA(base, key.c_str(), value.c_str(), flags, nullptr, text.data(), &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(text.data());
}

std::optional<std::string> Win32FolderDialog::ChooseFolder(const std::string& caption, const std::string& startFolder) {
  // The dialog needs COM on this thread; whoever started it ends it.
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  std::optional<std::string> chosen;
  {
    TComRef<IFileOpenDialog> dialog;
    if (SUCCEEDED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                   reinterpret_cast<void**>(&dialog.p)))) {
      FILEOPENDIALOGOPTIONS options = 0;
      dialog->GetOptions(&options);
      dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
      dialog->SetTitle(Wide(caption).c_str());
      if (!startFolder.empty()) {
        TComRef<IShellItem> start;
        if (SUCCEEDED(SHCreateItemFromParsingName(Wide(startFolder).c_str(), nullptr, IID_IShellItem,
                                                  reinterpret_cast<void**>(&start.p))))
          dialog->SetFolder(start.p);
      }
      TComRef<IShellItem> result;
      if (SUCCEEDED(dialog->Show(GetActiveWindow())) && SUCCEEDED(dialog->GetResult(&result.p))) {
        wchar_t* path = nullptr;
        if (SUCCEEDED(result->GetDisplayName(SIGDN_FILESYSPATH, &path)) && path) {
          chosen = Narrow(path);
          CoTaskMemFree(path);
        }
      }
    }
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return chosen;
}

}  // namespace wf::platform
