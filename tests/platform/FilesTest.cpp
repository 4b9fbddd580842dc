#include "platform/Files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

size_t EntriesIn(const std::filesystem::path& dir) {
  size_t n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) n += !entry.path().empty();
  return n;
}

TEST(Files, ReplaceFileContentsNeverWritesThroughWhatStandsBesideTheFile) {
  namespace fs = std::filesystem;
  struct Case {
    const char* name;
    bool link;
    bool linkTargetExists;
  };
  const Case cases[] = {
      {"a file left by an earlier run", false, false},
#ifndef _WIN32
      {"a link to another file", true, true},
      {"a link to nothing", true, false},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::string file = dir.Write("locations.txt", "old");
    fs::path beside = dir.Path() / "locations.txt.new";
    fs::path elsewhere = dir.Path() / "elsewhere.txt";
    if (!c.link) dir.Write("locations.txt.new", "theirs");
    if (c.link && c.linkTargetExists) dir.Write("elsewhere.txt", "theirs");
    if (c.link) fs::create_symlink(elsewhere, beside);

    EXPECT_EQ(ReplaceFileContents(file, "mine"), 0);
    EXPECT_EQ(dir.Read("locations.txt"), "mine");
    EXPECT_FALSE(fs::is_symlink(fs::symlink_status(file)));
    EXPECT_EQ(fs::is_symlink(fs::symlink_status(beside)), c.link);
    if (!c.link) {
      EXPECT_EQ(dir.Read("locations.txt.new"), "theirs");
    }
    EXPECT_EQ(fs::exists(elsewhere), c.linkTargetExists);
    if (c.linkTargetExists) {
      EXPECT_EQ(dir.Read("elsewhere.txt"), "theirs");
    }
    EXPECT_EQ(EntriesIn(dir.Path()), c.linkTargetExists ? 3u : 2u);  // no temporary left
  }
}

#ifndef _WIN32
TEST(Files, ReplaceFileContentsKeepsTheReplacedFilesPermissions) {
  for (mode_t mode : {0600, 0640, 0444, 0755}) {
    SCOPED_TRACE(mode);
    TempDir dir;
    std::string file = dir.Write("locations.txt", "old");
    ASSERT_EQ(chmod(file.c_str(), mode), 0);
    EXPECT_EQ(ReplaceFileContents(file, "new"), 0);
    EXPECT_EQ(dir.Read("locations.txt"), "new");
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, mode);
  }
}

TEST(Files, FailedReplaceGivesTheSystemsReasonAndKeepsTheOldFile) {
  TempDir dir;
  std::string file = dir.Write("locations.txt", "old");
  std::string reason;
  EXPECT_EQ(ReplaceFileContents(dir.File("no/such/dir/file"), "data", &reason), 2);
  EXPECT_EQ(reason, "No such file or directory");

  // A write the system refuses part way (here: a file size limit, as a full
  // disk would) fails the whole replacement.
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = 4;
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  int code = ReplaceFileContents(file, "longer than four bytes", &reason);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_NE(code, 0);
  EXPECT_EQ(reason, "File too large");
  EXPECT_EQ(dir.Read("locations.txt"), "old");
  EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}
#else
TEST(Files, ReplaceFileContentsKeepsTheReplacedFilesAttributes) {
  TempDir dir;
  std::string file = dir.Write("locations.txt", "old");
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
  if (!(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_HIDDEN))
    GTEST_SKIP() << "this file system keeps no attributes";
  EXPECT_EQ(ReplaceFileContents(file, "new"), 0);
  EXPECT_EQ(dir.Read("locations.txt"), "new");
  EXPECT_TRUE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}
#endif

#ifdef _WIN32
bool RenameOver(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}
bool Delete(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }
// Wine refuses to rename over a file that is open, whatever its sharing.
bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }
#else
bool RenameOver(const std::string& from, const std::string& to) { return rename(from.c_str(), to.c_str()) == 0; }
bool Delete(const std::string& path) { return unlink(path.c_str()) == 0; }
bool UnderWine() { return false; }
#endif

TEST(Files, ASharedReadFileMayBeDeletedOrReplacedWhileItIsHeld) {
  struct Case {
    const char* name;
    bool (*change)(const std::string& path, const std::string& other);
    const char* left;  // the file's contents afterwards, or nothing
  };
  const Case cases[] = {
      {"deleted", [](const std::string& path, const std::string&) { return Delete(path); }, nullptr},
      {"renamed over", [](const std::string& path, const std::string& other) { return RenameOver(other, path); },
       "patched"},
      {"replaced whole",
       [](const std::string& path, const std::string&) { return ReplaceFileContents(path, "patched") == 0; },
       "patched"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (UnderWine() && std::string(c.name) == "renamed over") continue;
    TempDir dir;
    std::string path = dir.Write("map0.mul", "original");
    std::string other = dir.Write("map0.mul.patch", "patched");
    auto held = SharedReadFile::Open(path);
    EXPECT_TRUE(c.change(path, other));
    char buffer[8] = {};
    EXPECT_EQ(held->ReadAt(0, buffer, 8), 8u);  // the old file goes on being read
    EXPECT_EQ(std::string(buffer, 8), "original");
    held.reset();
    if (c.left) {
      EXPECT_EQ(dir.Read("map0.mul"), c.left);
    } else {
      EXPECT_FALSE(std::filesystem::exists(path));
    }
  }
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

#ifndef _WIN32
TEST(Files, SharedReadFileRefusesWhatIsNotARegularFileWithoutWaiting) {
  TempDir dir;
  std::string fifo = dir.File("pipe.mul");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  struct Case {
    const char* name;
    std::string path;
  };
  const Case cases[] = {
      {"a FIFO with no writer", fifo},
      {"a device without end", "/dev/zero"},
      {"a directory", dir.Path().string()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto refused = std::async(std::launch::async, [&c] {
      try {
        SharedReadFile::Open(c.path);
        return false;
      } catch (const EFOpenError&) {
        return true;
      }
    });
    if (refused.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
      ADD_FAILURE() << "the open is still waiting";
      // A writer lets the blocked open return, so that the test can end.
      int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (writer >= 0) close(writer);
    }
    EXPECT_TRUE(refused.get());
  }
}
#endif

}  // namespace
}  // namespace wf::platform
