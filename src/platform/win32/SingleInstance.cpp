#include "platform/win32/SingleInstance.h"

#include <windows.h>

namespace wf::platform {

namespace {

std::string FolderOfProcess(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return {};
  char path[MAX_PATH * 4] = "";
  DWORD size = sizeof path;
  const bool got = QueryFullProcessImageNameA(process, 0, path, &size);
  CloseHandle(process);
  if (!got) return {};
  std::string folder(path, size);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

struct Search {
  std::string name;  // of the folder looked for
  HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<Search*>(param);
  char cls[64] = "", title[64] = "";
  GetClassNameA(window, cls, sizeof cls);
  GetWindowTextA(window, title, sizeof title);
  if (std::string_view(cls) != "WayfarerMapWindow" || std::string_view(title) != "Map") return TRUE;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == GetCurrentProcessId() ||
      SingleInstanceName(FolderOfProcess(processId)) != search.name)
    return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

Win32SingleInstance::~Win32SingleInstance() {
  if (mutex_) CloseHandle(mutex_);
}

bool Win32SingleInstance::Claim(const std::string& name) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  // A mutex that cannot be made at all guards nothing; running is better than
  // refusing to start.
  if (!mutex) return true;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  mutex_ = mutex;
  return true;
}

bool Win32SingleInstance::BringRunningCopyToFront(const std::string& folder) {
  Search search{SingleInstanceName(folder)};
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return false;
  if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
  SetForegroundWindow(search.found);
  return true;
}

void Win32SingleInstance::Pause(uint32_t ms) { Sleep(ms); }

}  // namespace wf::platform
