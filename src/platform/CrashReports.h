#pragma once
// Crash reports: the minidumps the program leaves beside itself when a fault
// that nothing handles ends it, which of them are kept, and what the player is
// told. The Windows side that writes them is platform/win32/CrashHandler.h.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wf::platform {

// Older reports beyond this many are removed when a new one is written: a
// player who crashes often should not fill the folder.
constexpr size_t kCrashReportsKept = 5;

// Room for a report's name with its terminating NUL.
constexpr size_t kCrashReportNameSize = 40;

// "wayfarer-crash-yyyymmdd-hhmmss.dmp" into `out`, which holds
// kCrashReportNameSize characters. Allocates nothing: it runs while the
// program is failing, when the heap itself may be what failed.
void FormatCrashReportName(char (&out)[kCrashReportNameSize], int year, int month, int day, int hour,
                           int minute, int second);

// True for the names FormatCrashReportName makes, whatever their date.
bool IsCrashReportName(std::string_view fileName);

// `folder` followed by `name` into `out`, which holds `size` characters with
// the terminating NUL. False, with `out` empty, when they do not fit: a cut
// name would be another file's. Allocates nothing.
bool JoinReportPath(char* out, size_t size, const char* folder, const char* name);

// A file in the reports' folder, with its last write time in any unit that
// grows with time.
struct TFolderEntry {
  std::string Name;
  uint64_t WriteTime = 0;
};

// Of the files in the reports' folder, the reports beyond the `keep` newest,
// which are to go, oldest first. Newest is by the file's time, not by the
// name, which holds local time and goes back when the clock does; the report
// `justWritten` is never one of them.
std::vector<std::string> CrashReportsToRemove(std::vector<TFolderEntry> files, std::string_view justWritten,
                                              size_t keep = kCrashReportsKept);

// What ended the program, from the exception code of the fault: "an access
// violation", "a stack overflow", ...
std::string FaultDescription(uint32_t exceptionCode);

// The one box the player sees: what happened, where the report is (or, when
// `failure` is not empty, why there is none), and that their files are safe.
// `inTemporaryFolder`: the report went there, as the program's folder's path
// is too long for its name.
std::string CrashBoxText(std::string_view what, std::string_view reportPath, std::string_view failure,
                         bool inTemporaryFolder = false);

}  // namespace wf::platform
