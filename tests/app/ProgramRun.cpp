#include "ProgramRun.h"

#include <filesystem>
#include <stdexcept>

namespace wf::testing {

std::string WayfarerExe() {
  // Built on the host; this process runs under Wine, which shows the host's
  // file system as drive Z.
  std::string path = WAYFARER_EXE;
  if (!path.empty() && path[0] == '/') {
    for (char& c : path)
      if (c == '/') c = '\\';
    path = "Z:" + path;
  }
  return path;
}

ProgramRun::ProgramRun(const std::string& directory, const std::string& workingDirectory) {
  std::string exe = (std::filesystem::path(directory) / "wayfarer.exe").string();
  std::filesystem::copy_file(WayfarerExe(), exe, std::filesystem::copy_options::overwrite_existing);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + exe + "\"";
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingDirectory.c_str(), &startup, &process_))
    throw std::runtime_error("cannot start " + exe);
}

ProgramRun::~ProgramRun() {
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 10000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

namespace {

struct Search {
  DWORD process;
  const char* cls;
  const char* title;
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char cls[64] = {};
  char title[256] = {};
  GetClassNameA(window, cls, sizeof cls);
  GetWindowTextA(window, title, sizeof title);
  if (owner == search->process && IsWindowVisible(window) && std::string(cls) == search->cls &&
      std::string(title) == search->title) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND ProgramRun::WaitForWindow(const char* cls, const char* title, int seconds) const {
  for (DWORD start = GetTickCount(); GetTickCount() - start < static_cast<DWORD>(seconds) * 1000;) {
    Search search{process_.dwProcessId, cls, title, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      DWORD_PTR ignored = 0;
      // Idle: it has handled everything queued so far.
      SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
      return search.found;
    }
    if (WaitForSingleObject(process_.hProcess, 100) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

int ProgramRun::WaitForExit(int seconds) const {
  if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(seconds) * 1000) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return static_cast<int>(code);
}

}  // namespace wf::testing
