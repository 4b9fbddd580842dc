// crash-on-purpose: ends itself as a defect would, through the program's own
// crash handler, for the crash report tests.
//   crash-on-purpose fault   an access violation
//   crash-on-purpose throw   a C++ exception that nothing catches

#include <cstring>
#include <stdexcept>

#include "platform/Files.h"
#include "platform/win32/CrashHandler.h"

int main(int argc, char** argv) {
  wf::platform::InstallCrashHandler(wf::platform::ExecutableDirectory());
  if (argc == 2 && std::strcmp(argv[1], "fault") == 0) {
    // Volatile, so the compiler cannot see the null and put a trap there instead.
    int* volatile nowhere = nullptr;
    *nowhere = 1;
  }
  if (argc == 2 && std::strcmp(argv[1], "throw") == 0) throw std::runtime_error("thrown on purpose");
  return 2;
}
