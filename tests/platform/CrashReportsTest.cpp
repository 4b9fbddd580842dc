// Crash reports: their names, which of them stay, and the player's box.

#include "platform/CrashReports.h"

#include <gtest/gtest.h>

namespace wf::platform {
namespace {

TEST(CrashReports, NamesCarryTheirTimeAndOnlyTheyCount) {
  char name[kCrashReportNameSize];
  FormatCrashReportName(name, 2024, 3, 7, 9, 5, 1);
  EXPECT_STREQ(name, "wayfarer-crash-20240307-090501.dmp");

  struct Case {
    const char* name;
    bool report;
  } cases[] = {
      {"wayfarer-crash-20240307-090501.dmp", true},
      {"wayfarer-crash-20240307-090501.DMP", false},
      {"wayfarer-crash-2024030-0905011.dmp", false},
      {"wayfarer-crash-20240307-09050.dmp", false},
      {"wayfarer-crash-2024030x-090501.dmp", false},
      {"wayfarer-crash-notes.dmp", false},
      {"my-wayfarer-crash-20240307-090501.dmp", false},
      {"locations.txt", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsCrashReportName(c.name), c.report) << c.name;
}

// Newest by the file's time: the names hold local time, which goes back when
// the clock does. The report just written always stays.
TEST(CrashReports, OnlyTheNewestFiveStayAndOtherFilesAreLeftAlone) {
  const auto report = [](int day) { return "wayfarer-crash-202401" + std::string(day < 10 ? "0" : "") +
                                           std::to_string(day) + "-120000.dmp"; };
  // Written on the day its name says.
  const auto at = [&](int day) { return TFolderEntry{report(day), static_cast<uint64_t>(day)}; };
  const std::string none;
  struct Case {
    const char* name;
    std::vector<TFolderEntry> folder;
    std::string justWritten;
    std::vector<std::string> removed;
  } cases[] = {
      {"none", {}, none, {}},
      {"five", {at(1), at(2), at(3), at(4), at(5)}, report(5), {}},
      {"seven in any order",
       {at(7), at(2), {"locations.txt", 0}, at(5), at(1), at(3), at(6), at(4)}, report(7),
       {report(1), report(2)}},
      {"others never count",
       {{"configtravel.xml", 0}, {"wayfarer-crash-99999999-999999.DMP", 0}, at(9), {"wayfarer.exe", 0}}, report(9),
       {}},
      {"the clock was put back: the newest file has the oldest name",
       {at(10), at(11), at(12), at(13), at(14), {report(3), 15}}, report(3), {report(10)}},
      {"the clock ran ahead: the one just written is kept whatever its time",
       {at(20), at(21), at(22), at(23), at(24), {report(5), 19}}, report(5), {report(20)}},
  };
  for (const Case& c : cases) EXPECT_EQ(CrashReportsToRemove(c.folder, c.justWritten), c.removed) << c.name;
}

TEST(CrashReports, APathThatDoesNotFitIsNoPathAtAll) {
  char path[16];
  EXPECT_TRUE(JoinReportPath(path, sizeof path, "C:\\Spiele\\", "a.dmp")) << "15 characters and the NUL";
  EXPECT_STREQ(path, "C:\\Spiele\\a.dmp");
  EXPECT_FALSE(JoinReportPath(path, sizeof path, "C:\\Spiele\\", "ab.dmp"));
  EXPECT_STREQ(path, "") << "never a cut name";
}

TEST(CrashReports, TheBoxSaysWhatHappenedWhereTheReportIsOrWhyNotAndThatFilesAreSafe) {
  EXPECT_EQ(FaultDescription(0xC0000005), "an access violation");
  EXPECT_EQ(FaultDescription(0xE06D7363), "an unhandled fault (exception code 0xE06D7363)");
  EXPECT_EQ(CrashBoxText("an access violation", "C:\\Games\\Wayfarer\\wayfarer-crash-20240307-090501.dmp", ""),
            "Wayfarer has to close because of an access violation.\n\n"
            "A report for the maintainers was saved as\n"
            "C:\\Games\\Wayfarer\\wayfarer-crash-20240307-090501.dmp\n"
            "Please send it to them with a few words on what you were doing.\n\n"
            "Your places and settings are untouched: every file is written whole or not at all.");
  EXPECT_EQ(CrashBoxText("an access violation", "C:\\Temp\\wayfarer-crash-20240307-090501.dmp", "", true),
            "Wayfarer has to close because of an access violation.\n\n"
            "The program's folder has too long a path for a report's name, so a report for the maintainers was "
            "saved in the temporary folder as\n"
            "C:\\Temp\\wayfarer-crash-20240307-090501.dmp\n"
            "Please send it to them with a few words on what you were doing.\n\n"
            "Your places and settings are untouched: every file is written whole or not at all.");
  EXPECT_EQ(CrashBoxText("a stack overflow", "C:\\x.dmp", "C:\\x.dmp could not be created (Access denied)"),
            "Wayfarer has to close because of a stack overflow.\n\n"
            "No report could be written: C:\\x.dmp could not be created (Access denied).\n\n"
            "Your places and settings are untouched: every file is written whole or not at all.");
}

}  // namespace
}  // namespace wf::platform
