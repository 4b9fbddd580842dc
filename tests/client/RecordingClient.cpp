#include "RecordingClient.h"

#include <fstream>
#include <sstream>

namespace wf::testing {

namespace {

// The build passes the tool's path as the build machine wrote it; under Wine
// that is a Unix path, which Windows calls do not take.
std::wstring ToolPath() {
  std::string path = RECORDING_CLIENT_EXE;
  using ToDos = WCHAR*(CDECL*)(const char*);
  auto toDos = reinterpret_cast<ToDos>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_dos_file_name")));
  if (!path.empty() && path[0] == '/' && toDos) {
    if (WCHAR* dos = toDos(path.c_str())) {
      std::wstring result = dos;
      HeapFree(GetProcessHeap(), 0, dos);
      return result;
    }
  }
  return std::wstring(path.begin(), path.end());
}

std::wstring Widened(const std::string& text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

struct Search {
  DWORD ProcessId;
  HWND Found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->ProcessId) return TRUE;
  search->Found = window;
  return FALSE;
}

}  // namespace

RecordingClient::RecordingClient(const std::string& className, const std::string& logFile,
                                 const std::string& extraArguments)
    : FLogFile(logFile) {
  std::wstring commandLine = L"\"" + ToolPath() + L"\" \"" + Widened(className) + L"\" \"" +
                             Widened(logFile) + L"\" " + Widened(extraArguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &FProcess))
    return;
  for (int i = 0; i < 400 && !FWindow && Running(); ++i) {
    Search search{FProcess.dwProcessId, nullptr};
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    FWindow = search.Found;
    if (!FWindow) Sleep(50);
  }
}

RecordingClient::~RecordingClient() {
  if (!FProcess.hProcess) return;
  if (Running()) {
    TerminateProcess(FProcess.hProcess, 1);
    WaitForSingleObject(FProcess.hProcess, 10000);
  }
  CloseHandle(FProcess.hThread);
  CloseHandle(FProcess.hProcess);
}

bool RecordingClient::Running() const {
  return FProcess.hProcess && WaitForSingleObject(FProcess.hProcess, 0) == WAIT_TIMEOUT;
}

bool RecordingClient::Close() {
  if (!Running()) return false;
  PostMessageA(FWindow, WM_CLOSE, 0, 0);
  return WaitForSingleObject(FProcess.hProcess, 10000) == WAIT_OBJECT_0;
}

std::vector<LoggedMessage> RecordingClient::Messages() const {
  std::vector<LoggedMessage> messages;
  std::ifstream in(FLogFile);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    LoggedMessage m{};
    if (fields >> m.Message >> m.WParam >> m.LParam) messages.push_back(m);
  }
  return messages;
}

std::vector<int64_t> RecordingClient::Characters() const {
  std::vector<int64_t> codes;
  for (const LoggedMessage& m : Messages())
    if (m.Message == WM_CHAR) codes.push_back(m.LParam == 0 ? static_cast<int64_t>(m.WParam) : -1);
  return codes;
}

}  // namespace wf::testing
