#include "platform/CrashReports.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace wf::platform {

namespace {

constexpr std::string_view kPrefix = "wayfarer-crash-";
constexpr std::string_view kSuffix = ".dmp";

bool Digits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

void FormatCrashReportName(char (&out)[kCrashReportNameSize], int year, int month, int day, int hour,
                           int minute, int second) {
  std::snprintf(out, sizeof out, "wayfarer-crash-%04d%02d%02d-%02d%02d%02d.dmp", year, month, day, hour,
                minute, second);
}

bool IsCrashReportName(std::string_view name) {
  // The date and time: "yyyymmdd-hhmmss".
  constexpr size_t kStamp = 15;
  if (name.size() != kPrefix.size() + kStamp + kSuffix.size()) return false;
  if (name.substr(0, kPrefix.size()) != kPrefix || name.substr(name.size() - kSuffix.size()) != kSuffix)
    return false;
  const std::string_view stamp = name.substr(kPrefix.size(), kStamp);
  return Digits(stamp.substr(0, 8)) && stamp[8] == '-' && Digits(stamp.substr(9));
}

std::vector<std::string> CrashReportsToRemove(std::vector<std::string> names, size_t keep) {
  std::erase_if(names, [](const std::string& name) { return !IsCrashReportName(name); });
  std::sort(names.begin(), names.end(), std::greater<>());
  if (names.size() <= keep) return {};
  std::vector<std::string> gone(names.begin() + static_cast<std::ptrdiff_t>(keep), names.end());
  std::reverse(gone.begin(), gone.end());
  return gone;
}

std::string FaultDescription(uint32_t code) {
  switch (code) {
    case 0xC0000005: return "an access violation";
    case 0xC00000FD: return "a stack overflow";
    case 0xC0000094: return "a division by zero";
    case 0xC000001D: return "an illegal instruction";
    case 0xC0000006: return "a page that could not be read in";
    default: {
      char text[48];
      std::snprintf(text, sizeof text, "an unhandled fault (exception code 0x%08X)", code);
      return text;
    }
  }
}

std::string CrashBoxText(std::string_view what, std::string_view reportPath, std::string_view failure) {
  std::string text = "Wayfarer has to close because of " + std::string(what) + ".\n\n";
  if (failure.empty())
    text += "A report for the maintainers was saved as\n" + std::string(reportPath) +
            "\nPlease send it to them with a few words on what you were doing.";
  else
    text += "No report could be written: " + std::string(failure) + ".";
  text += "\n\nYour places and settings are untouched: every file is written whole or not at all.";
  return text;
}

}  // namespace wf::platform
