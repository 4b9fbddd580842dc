// The crash handler in a process that fails on purpose, as wayfarer.exe would.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "ChildProcess.h"
#include "TempDir.h"
#include "platform/CrashReports.h"

namespace wf::platform {
namespace {

using wf::testing::ChildProcess;
using wf::testing::TempDir;
using wf::testing::WindowsPathOf;

std::vector<std::string> Reports(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    if (IsCrashReportName(entry.path().filename().string())) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(CrashHandler, AFaultOrAnUncaughtErrorLeavesAReportBesideTheProgramAndSaysSoInOneBox) {
  struct Case {
    const char* how;
    const char* what;
    DWORD exitCode;
  } cases[] = {
      {"fault", "an access violation", 0xC0000005},
      {"throw", "an error that nothing handled (thrown on purpose)", 3},
  };
  TempDir dir;
  const std::string exe = dir.File("crash-on-purpose.exe");
  std::filesystem::copy_file(std::filesystem::path(WindowsPathOf(CRASH_ON_PURPOSE_EXE)), exe);
  for (int day = 1; day <= 6; ++day) dir.Write("wayfarer-crash-2001010" + std::to_string(day) + "-120000.dmp", "old");
  dir.Write("locations.txt", "Haus=1,2,3 0\r\n");

  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    ChildProcess crash(L"\"" + WindowsPathOf(exe) + L"\" " + wf::testing::Widened(c.how), WindowsPathOf(dir.Path().string()));
    ASSERT_TRUE(crash.Started());
    HWND box = crash.WaitForWindow(
        [](HWND window) {
          char cls[32] = "", caption[32] = "";
          GetClassNameA(window, cls, sizeof cls);
          GetWindowTextA(window, caption, sizeof caption);
          return IsWindowVisible(window) && std::string(cls) == "#32770" && std::string(caption) == "wayfarer";
        },
        60000);
    ASSERT_NE(box, nullptr);
    char text[1024] = "";
    GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(crash.WaitForExit(30000));
    EXPECT_EQ(crash.ExitCode(), c.exitCode);

    // The five newest stay: the new one and the newest old ones.
    const std::vector<std::string> reports = Reports(dir);
    ASSERT_EQ(reports.size(), 5u);
    EXPECT_EQ(reports[0], c.how == std::string("fault") ? "wayfarer-crash-20010103-120000.dmp"
                                                       : "wayfarer-crash-20010104-120000.dmp");
    const std::string newest = reports.back();
    EXPECT_EQ(dir.Read(newest).substr(0, 4), "MDMP");
    EXPECT_EQ(text, CrashBoxText(c.what, dir.File(newest), ""));
    Sleep(1100);  // reports are named by the second: the next one gets a name of its own
  }
  EXPECT_EQ(dir.Read("locations.txt"), "Haus=1,2,3 0\r\n");
}

}  // namespace
}  // namespace wf::platform
