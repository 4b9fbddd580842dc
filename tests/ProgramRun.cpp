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

namespace {

// The command line of the program copied into `directory`.
std::wstring CopiedProgram(const std::string& directory) {
  std::string exe = (std::filesystem::path(directory) / "wayfarer.exe").string();
  std::filesystem::copy_file(WayfarerExe(), exe, std::filesystem::copy_options::overwrite_existing);
  return L"\"" + Widened(exe) + L"\"";
}

std::string TextOf(HWND window, decltype(&GetWindowTextA) get) {
  char text[256] = {};
  get(window, text, sizeof text);
  return text;
}

}  // namespace

ProgramRun::ProgramRun(const std::string& directory, const std::string& workingDirectory)
    : process_(CopiedProgram(directory), Widened(workingDirectory)) {
  if (!process_.Started()) throw std::runtime_error("cannot start wayfarer.exe in " + directory);
}

HWND ProgramRun::WaitForWindow(const char* cls, const char* title, int seconds) const {
  HWND found = process_.WaitForWindow(
      [&](HWND window) {
        return IsWindowVisible(window) && TextOf(window, GetClassNameA) == cls &&
               TextOf(window, GetWindowTextA) == title;
      },
      static_cast<DWORD>(seconds) * 1000);
  if (found) {
    DWORD_PTR ignored = 0;
    // Idle: it has handled everything queued so far.
    SendMessageTimeoutA(found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  }
  return found;
}

int ProgramRun::WaitForExit(int seconds) const {
  if (!process_.WaitForExit(static_cast<DWORD>(seconds) * 1000)) return -1;
  return static_cast<int>(process_.ExitCode());
}

}  // namespace wf::testing
