#pragma once
// wayfarer.exe started as a process of its own, and its windows as another
// process sees them.

#include <windows.h>

#include <string>

#include "ChildProcess.h"

namespace wf::testing {

// The built program, as a path this process can open.
std::string WayfarerExe();

class ProgramRun {
 public:
  // Copies the program into `directory` and starts it there, its working
  // directory set to `workingDirectory`. A program still running when the
  // object goes is ended.
  ProgramRun(const std::string& directory, const std::string& workingDirectory);

  // A visible top-level window of the program, or null after `seconds`.
  HWND WaitForWindow(const char* cls, const char* title, int seconds) const;
  HWND MapWindow(int seconds = 60) const { return WaitForWindow("WayfarerMapWindow", "Map", seconds); }
  HWND Box(const char* caption, int seconds = 60) const { return WaitForWindow("#32770", caption, seconds); }
  // The exit code, or -1 when the program is still running after `seconds`.
  int WaitForExit(int seconds) const;

 private:
  ChildProcess process_;
};

}  // namespace wf::testing
