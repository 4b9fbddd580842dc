#pragma once
// What happens when a fault nothing handles would end the program: a minidump
// for the maintainers beside the program, the older ones pruned, and one box
// for the player. Names and texts are in platform/CrashReports.h.

#include <string>

namespace wf::platform {

// From now on, a fault that reaches the top of any thread (an access
// violation, a stack overflow...) and an error that ends the program through
// std::terminate (a C++ exception that nothing catches) write
// `folder`wayfarer-crash-<yyyymmdd-hhmmss>.dmp, keep the five newest reports
// there, show the box and end the process. `folder` ends in a separator.
void InstallCrashHandler(const std::string& folder);

}  // namespace wf::platform
