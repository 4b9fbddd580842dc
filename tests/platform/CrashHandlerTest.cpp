// The crash handler in a process that fails on purpose, as wayfarer.exe would.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
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

std::vector<std::string> Reports(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (IsCrashReportName(entry.path().filename().string())) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Copies crash-on-purpose into `folder`, lets it fail `how`, and returns the
// text of its box, which it then closes; `exitCode` is how the process ended.
std::string CrashAndReadBox(const std::filesystem::path& folder, const char* how, DWORD& exitCode) {
  const std::string exe = (folder / "crash-on-purpose.exe").string();
  std::filesystem::copy_file(std::filesystem::path(WindowsPathOf(CRASH_ON_PURPOSE_EXE)), exe,
                             std::filesystem::copy_options::overwrite_existing);
  ChildProcess crash(L"\"" + WindowsPathOf(exe) + L"\" " + wf::testing::Widened(how),
                     WindowsPathOf(folder.string()));
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
  // Named by a clock that ran ahead, written days ago: the new reports sort
  // before them by name, and are newer by far.
  for (int day = 1; day <= 6; ++day)
    std::filesystem::last_write_time(dir.Write("wayfarer-crash-2099010" + std::to_string(day) + "-120000.dmp", "old"),
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * (7 - day)));
  dir.Write("locations.txt", "Haus=1,2,3 0\r\n");

  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    DWORD exitCode = 0;
    const std::string text = CrashAndReadBox(dir.Path(), c.how, exitCode);
    EXPECT_EQ(exitCode, c.exitCode);

    // The five newest stay: the new ones and the newest old ones.
    const std::vector<std::string> reports = Reports(dir.Path());
    ASSERT_EQ(reports.size(), 5u);
    const int oldest = c.how == std::string("fault") ? 3 : 4, news = oldest - 2;
    EXPECT_EQ(reports[news], "wayfarer-crash-2099010" + std::to_string(oldest) + "-120000.dmp");
    const std::string newest = reports[news - 1];
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
  const std::string text = CrashAndReadBox(dir.Path(), "fault", exitCode);
  EXPECT_EQ(exitCode, 0xC0000005);
  const std::string why = "No report could be written: " + dir.File("wayfarer-crash-");
  EXPECT_NE(text.find(why), std::string::npos) << text;
  EXPECT_NE(text.find(".dmp could not be created ("), std::string::npos) << text;
  EXPECT_NE(text.find("Your places and settings are untouched"), std::string::npos) << text;
}

// A folder whose path leaves no room for a report's name: the report goes to
// the temporary folder, and the box says so; no cut name is written.
TEST(CrashHandler, AFolderWithTooLongAPathForTheReportSendsItToTheTemporaryFolder) {
  TempDir dir;
  const size_t base = WindowsPathOf(dir.Path().string()).size() + 2;  // and two separators
  const std::filesystem::path deep = dir.Path() / std::string(230 - base, 'w');
  std::filesystem::create_directory(deep);
  DWORD exitCode = 0;
  const std::string text = CrashAndReadBox(deep, "fault", exitCode);
  EXPECT_EQ(exitCode, 0xC0000005);
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string before = "saved in the temporary folder as\n", after = "\nPlease send";
  const size_t from = text.find(before), to = text.find(after);
  ASSERT_TRUE(from != std::string::npos && to != std::string::npos) << text;
  const std::string report = text.substr(from + before.size(), to - from - before.size());
  EXPECT_EQ(report.substr(0, std::strlen(temp)), temp);
  EXPECT_TRUE(IsCrashReportName(std::filesystem::path(report).filename().string())) << report;
  EXPECT_EQ(text, CrashBoxText("an access violation", report, "", true));
  std::ifstream in(report, std::ios::binary);
  char magic[4] = {};
  in.read(magic, 4);
  EXPECT_EQ(std::string(magic, 4), "MDMP");
  in.close();
  std::filesystem::remove(report);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(deep), {}), 1) << "the program alone";
}

}  // namespace
}  // namespace wf::platform
