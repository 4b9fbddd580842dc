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

// Of the file names in the reports' folder, the reports beyond the `keep`
// newest, which are to go. The names sort by their time.
std::vector<std::string> CrashReportsToRemove(std::vector<std::string> fileNames,
                                              size_t keep = kCrashReportsKept);

// What ended the program, from the exception code of the fault: "an access
// violation", "a stack overflow", ...
std::string FaultDescription(uint32_t exceptionCode);

// The one box the player sees: what happened, where the report is (or, when
// `failure` is not empty, why there is none), and that their files are safe.
std::string CrashBoxText(std::string_view what, std::string_view reportPath, std::string_view failure);

}  // namespace wf::platform
