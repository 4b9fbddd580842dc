#pragma once
// A program a test starts beside itself. It is killed when the object goes if
// it still runs, so a failed test leaves no window behind for the next one.

#include <windows.h>

#include <functional>
#include <string>

namespace wf::testing {

// A path the build wrote, as Windows calls take it: under Wine the build's
// paths are Unix paths.
std::wstring WindowsPathOf(const std::string& buildPath);
std::wstring Widened(const std::string& text);

class ChildProcess {
 public:
  ChildProcess(const std::wstring& commandLine, const std::wstring& workingDirectory = L"");
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return FInfo.hProcess != nullptr; }
  bool Running() const;
  bool WaitForExit(DWORD milliseconds) const;
  // The exit code of a process that has ended.
  DWORD ExitCode() const;

  // The first top-level window of this process that `accept` takes, waiting
  // up to `milliseconds` for one to appear; null when none did.
  HWND WaitForWindow(const std::function<bool(HWND)>& accept, DWORD milliseconds) const;

 private:
  PROCESS_INFORMATION FInfo{};
};

}  // namespace wf::testing
