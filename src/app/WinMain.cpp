// wayfarer.exe: the map and travel tool. It takes no command-line arguments.

#include <windows.h>

#include <exception>

#include "app/Program.h"
#include "app/StartupError.h"
#include "platform/Files.h"
#include "platform/win32/CrashHandler.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  // Reports go where the player's files are, the folder they would send from.
  wf::platform::InstallCrashHandler(wf::platform::ExecutableDirectory());
  try {
    return wf::app::RunProgram(showCommand);
  } catch (...) {
    wf::app::ShowApplicationError(std::current_exception(),
                                  __builtin_extract_return_addr(__builtin_return_address(0)));
    return 1;
  }
}
