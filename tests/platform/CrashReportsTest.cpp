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

TEST(CrashReports, OnlyTheNewestFiveStayAndOtherFilesAreLeftAlone) {
  const auto report = [](int day) { return "wayfarer-crash-202401" + std::string(day < 10 ? "0" : "") +
                                           std::to_string(day) + "-120000.dmp"; };
  struct Case {
    const char* name;
    std::vector<std::string> folder;
    std::vector<std::string> removed;
  } cases[] = {
      {"none", {}, {}},
      {"five", {report(1), report(2), report(3), report(4), report(5)}, {}},
      {"seven in any order",
       {report(7), report(2), "locations.txt", report(5), report(1), report(3), report(6), report(4)},
       {report(1), report(2)}},
      {"others never count",
       {"configtravel.xml", "wayfarer-crash-99999999-999999.DMP", report(9), "wayfarer.exe"},
       {}},
      {"the old year is the oldest", {report(10), report(11), report(12), report(13),
                                                         "wayfarer-crash-20231231-235959.dmp",
                                                         "wayfarer-crash-20240201-000000.dmp"},
       {"wayfarer-crash-20231231-235959.dmp"}},
  };
  for (const Case& c : cases) EXPECT_EQ(CrashReportsToRemove(c.folder), c.removed) << c.name;
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
  EXPECT_EQ(CrashBoxText("a stack overflow", "C:\\x.dmp", "C:\\x.dmp could not be created (Access denied)"),
            "Wayfarer has to close because of a stack overflow.\n\n"
            "No report could be written: C:\\x.dmp could not be created (Access denied).\n\n"
            "Your places and settings are untouched: every file is written whole or not at all.");
}

}  // namespace
}  // namespace wf::platform
