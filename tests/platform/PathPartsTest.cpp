#include "platform/PathParts.h"

#include <gtest/gtest.h>

namespace wf::platform {
namespace {

TEST(PathParts, AWindowsPathSplitsAtItsLastSeparatorAndTheTitleLosesTheLastExtension) {
  struct Case {
    const char* path;
    const char* directory;
    const char* fileName;
    const char* title;
  } cases[] = {
      {"C:\\Games\\Wayfarer\\wayfarer.exe", "C:\\Games\\Wayfarer\\", "wayfarer.exe", "wayfarer"},
      {"Z:/work/build/ui_win32_tests.exe", "Z:/work/build/", "ui_win32_tests.exe", "ui_win32_tests"},
      {"C:wayfarer.exe", "C:", "wayfarer.exe", "wayfarer"},
      {"\\\\server\\share\\my.map.tool.exe", "\\\\server\\share\\", "my.map.tool.exe", "my.map.tool"},
      {"C:\\dir.d\\wayfarer", "C:\\dir.d\\", "wayfarer", "wayfarer"},
      {"C:\\dir\\.hidden", "C:\\dir\\", ".hidden", ".hidden"},
      {"C:\\dir\\trailing.", "C:\\dir\\", "trailing.", "trailing"},
      {"wayfarer.exe", "", "wayfarer.exe", "wayfarer"},
      {"C:\\dir\\", "C:\\dir\\", "", ""},
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(DirectoryPart(c.path), c.directory);
    EXPECT_EQ(FileNamePart(c.path), c.fileName);
    EXPECT_EQ(FileTitlePart(FileNamePart(c.path)), c.title);
  }
}

}  // namespace
}  // namespace wf::platform
