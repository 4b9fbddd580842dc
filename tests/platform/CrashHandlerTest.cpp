// The crash handler in a process that fails on purpose, as wayfarer.exe would.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

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

// Copies crash-on-purpose into `dir`, lets it fail `how`, and returns the text
// of its box, which it then closes; `exitCode` is how the process ended.
std::string CrashAndReadBox(const TempDir& dir, const char* how, DWORD& exitCode) {
  const std::string exe = dir.File("crash-on-purpose.exe");
  std::filesystem::copy_file(std::filesystem::path(WindowsPathOf(CRASH_ON_PURPOSE_EXE)), exe,
                             std::filesystem::copy_options::overwrite_existing);
  ChildProcess crash(L"\"" + WindowsPathOf(exe) + L"\" " + wf::testing::Widened(how),
                     WindowsPathOf(dir.Path().string()));
  HWND box = crash.WaitForWindow(
      [](HWND window) {
        char cls[32] = "", caption[32] = "";
        GetClassNameA(window, cls, sizeof cls);
        GetWindowTextA(window, caption, sizeof caption);
        return IsWindowVisible(window) && std::string(cls) == "#32770" && std::string(caption) == "wayfarer";
      },
      60000);
  if (!box) return "no box";
  char text[1024] = "";
  GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  exitCode = crash.WaitForExit(30000) ? crash.ExitCode() : STILL_ACTIVE;
  return text;
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
  for (int day = 1; day <= 6; ++day) dir.Write("wayfarer-crash-2001010" + std::to_string(day) + "-120000.dmp", "old");
  dir.Write("locations.txt", "Haus=1,2,3 0\r\n");

  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    DWORD exitCode = 0;
    const std::string text = CrashAndReadBox(dir, c.how, exitCode);
    EXPECT_EQ(exitCode, c.exitCode);

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

TEST(CrashHandler, WhereNoReportCanBeWrittenTheBoxSaysWhy) {
  TempDir dir;
  // Folders take every name the next two minutes could give a report.
  SYSTEMTIME now;
  GetLocalTime(&now);
  FILETIME start;
  SystemTimeToFileTime(&now, &start);
  for (uint64_t second = 0; second < 120; ++second) {
    const uint64_t ticks = ((uint64_t{start.dwHighDateTime} << 32) | start.dwLowDateTime) + second * 10000000;
    const FILETIME at{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME t;
    FileTimeToSystemTime(&at, &t);
    char name[kCrashReportNameSize];
    FormatCrashReportName(name, t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    std::filesystem::create_directory(dir.Path() / name);
  }
  DWORD exitCode = 0;
  const std::string text = CrashAndReadBox(dir, "fault", exitCode);
  EXPECT_EQ(exitCode, 0xC0000005);
  const std::string why = "No report could be written: " + dir.File("wayfarer-crash-");
  EXPECT_NE(text.find(why), std::string::npos) << text;
  EXPECT_NE(text.find(".dmp could not be created ("), std::string::npos) << text;
  EXPECT_NE(text.find("Your places and settings are untouched"), std::string::npos) << text;
}

}  // namespace
}  // namespace wf::platform
