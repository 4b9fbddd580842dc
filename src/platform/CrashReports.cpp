#include "platform/CrashReports.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

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

bool JoinReportPath(char* out, size_t size, const char* folder, const char* name) {
  const size_t folderLength = std::strlen(folder), nameLength = std::strlen(name);
  if (size == 0) return false;
  out[0] = '\0';
  if (folderLength + nameLength >= size) return false;
  std::memcpy(out, folder, folderLength);
  std::memcpy(out + folderLength, name, nameLength + 1);
  return true;
}

std::vector<std::string> CrashReportsToRemove(std::vector<TFolderEntry> files, std::string_view justWritten,
                                              size_t keep) {
  std::erase_if(files, [](const TFolderEntry& file) { return !IsCrashReportName(file.Name); });
  const auto older = [](const TFolderEntry& a, const TFolderEntry& b) {
    return a.WriteTime != b.WriteTime ? a.WriteTime < b.WriteTime : a.Name < b.Name;
  };
  // The one just written is kept first, whatever its time.
  if (std::erase_if(files, [&](const TFolderEntry& file) { return file.Name == justWritten; }) > 0 && keep > 0)
    --keep;
  if (files.size() <= keep) return {};
  std::sort(files.begin(), files.end(), older);
  std::vector<std::string> gone;
  for (size_t i = 0; i < files.size() - keep; ++i) gone.push_back(std::move(files[i].Name));
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

std::string CrashBoxText(std::string_view what, std::string_view reportPath, std::string_view failure,
                         bool inTemporaryFolder) {
  std::string text = "Wayfarer has to close because of " + std::string(what) + ".\n\n";
  if (failure.empty())
    text += std::string(inTemporaryFolder ? "The program's folder has too long a path for a report's name, so a "
                                            "report for the maintainers was saved in the temporary folder as\n"
                                          : "A report for the maintainers was saved as\n") +
            std::string(reportPath) + "\nPlease send it to them with a few words on what you were doing.";
  else
    text += "No report could be written: " + std::string(failure) + ".";
  text += "\n\nYour places and settings are untouched: every file is written whole or not at all.";
  return text;
}

}  // namespace wf::platform
