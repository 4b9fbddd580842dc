#include "ChildProcess.h"

namespace wf::testing {

std::wstring Widened(const std::string& text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::wstring WindowsPathOf(const std::string& buildPath) {
  using ToDos = WCHAR*(CDECL*)(const char*);
  auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_dos_file_name")));
  if (!buildPath.empty() && buildPath[0] == '/' && toDos) {
    if (WCHAR* dos = toDos(buildPath.c_str())) {
      std::wstring result = dos;
      HeapFree(GetProcessHeap(), 0, dos);
      return result;
    }
  }
  return Widened(buildPath);
}

ChildProcess::ChildProcess(const std::wstring& commandLine, const std::wstring& workingDirectory) {
  std::wstring line = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup, &FInfo))
    FInfo = PROCESS_INFORMATION{};
}

ChildProcess::~ChildProcess() {
  if (!Started()) return;
  if (Running()) {
    TerminateProcess(FInfo.hProcess, 1);
    WaitForSingleObject(FInfo.hProcess, 10000);
  }
  CloseHandle(FInfo.hThread);
  CloseHandle(FInfo.hProcess);
}

bool ChildProcess::Running() const {
  return Started() && WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(DWORD milliseconds) const {
  return Started() && WaitForSingleObject(FInfo.hProcess, milliseconds) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(FInfo.hProcess, &code);
  return code;
}

namespace {

struct Search {
  DWORD ProcessId;
  const std::function<bool(HWND)>* Accept;
  HWND Found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->ProcessId || !(*search->Accept)(window)) return TRUE;
  search->Found = window;
  return FALSE;
}

}  // namespace

HWND ChildProcess::WaitForWindow(const std::function<bool(HWND)>& accept, DWORD milliseconds) const {
  const DWORD start = GetTickCount();
  do {
    Search search{FInfo.dwProcessId, &accept, nullptr};
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    if (search.Found) return search.Found;
    Sleep(50);
  } while (Running() && GetTickCount() - start < milliseconds);
  return nullptr;
}

}  // namespace wf::testing
