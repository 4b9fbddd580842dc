#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "common/Errors.h"

namespace wf::platform {
namespace {

using wf::testing::TempDir;

TEST(Files, ExecutableDirectoryEndsInASeparatorAndHoldsTheTestProgram) {
  std::string dir = ExecutableDirectory();
  ASSERT_FALSE(dir.empty());
  char last = dir.back();
  EXPECT_TRUE(last == '/' || last == '\\') << dir;
  bool found = false;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    found = found || entry.path().stem() == "platform_tests";
  EXPECT_TRUE(found) << dir;
}

TEST(Files, FileExistsOnlyForFilesNotDirectoriesOrEmptyNames) {
  TempDir dir;
  std::string file = dir.Write("a.txt", "x");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(dir.Path().string()));
  EXPECT_FALSE(FileExists(dir.File("missing.txt")));
  EXPECT_FALSE(FileExists(""));
}

TEST(Files, ReadWholeFileKeepsEveryByteAndReportsFailures) {
  TempDir dir;
  std::string bytes("a\0b\r\n\xFF", 6);
  std::string file = dir.Write("bin", bytes);
  EXPECT_EQ(ReadWholeFile(file, ShareMode::DenyNone), bytes);
  EXPECT_EQ(ReadWholeFile(dir.Write("empty", ""), ShareMode::DenyWrite), "");

  int code = 0;
  EXPECT_EQ(ReadWholeFile(dir.File("missing"), ShareMode::DenyNone, &code), std::nullopt);
  EXPECT_EQ(code, 2);
  code = 0;
  EXPECT_EQ(ReadWholeFile(dir.Path().string(), ShareMode::DenyNone, &code), std::nullopt);
  EXPECT_NE(code, 0);
  EXPECT_EQ(ReadWholeFile("", ShareMode::DenyNone), std::nullopt);
}

TEST(Files, ReplaceFileContentsSwapsContentsWholeAndLeavesNoTemporaryBehind) {
  TempDir dir;
  std::string file = dir.Write("c.xml", "old contents that are longer");
  EXPECT_EQ(ReplaceFileContents(file, "new"), 0);
  EXPECT_EQ(dir.Read("c.xml"), "new");
  EXPECT_EQ(ReplaceFileContents(dir.File("created.txt"), "x\r\n"), 0);
  EXPECT_EQ(dir.Read("created.txt"), "x\r\n");
  EXPECT_FALSE(std::filesystem::exists(file + ".new"));
}

TEST(Files, FailedReplaceKeepsTheOldFile) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path() / "sub");
  // The target is a directory: the new contents cannot take its place.
  EXPECT_NE(ReplaceFileContents((dir.Path() / "sub").string(), "data"), 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "sub"));
  EXPECT_NE(ReplaceFileContents(dir.File("no/such/dir/file"), "data"), 0);
  EXPECT_NE(ReplaceFileContents("", "data"), 0);
}

TEST(Files, SharedReadFileReadsAtPositionsAndShortAtTheEnd) {
  TempDir dir;
  std::string file = dir.Write("data.mul", "0123456789");
  auto f = SharedReadFile::Open(file);
  EXPECT_EQ(f->Size(), 10u);
  char buffer[8] = {};
  EXPECT_EQ(f->ReadAt(3, buffer, 4), 4u);
  EXPECT_EQ(std::string(buffer, 4), "3456");
  EXPECT_EQ(f->ReadAt(8, buffer, 8), 2u);
  EXPECT_EQ(std::string(buffer, 2), "89");
  EXPECT_EQ(f->ReadAt(10, buffer, 8), 0u);
  EXPECT_EQ(f->ReadAt(1ull << 40, buffer, 8), 0u);

  auto view = f->Map();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(view->Data()), view->Size()), "0123456789");
}

TEST(Files, SharedReadFileOfAnEmptyFileHasNoMappingAndAMissingOneRaises) {
  TempDir dir;
  auto f = SharedReadFile::Open(dir.Write("empty.mul", ""));
  EXPECT_EQ(f->Size(), 0u);
  EXPECT_EQ(f->Map(), nullptr);
  try {
    SharedReadFile::Open(dir.File("missing.mul"));
    FAIL() << "no error raised";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.File("missing.mul"));
  }
}

}  // namespace
}  // namespace wf::platform
