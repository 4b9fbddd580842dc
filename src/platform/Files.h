#pragma once
// The few file operations the program needs from the operating system.
// Implemented once for POSIX (platform/posix) and once for Win32 (platform/win32);
// nothing else in the portable core touches files directly.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace wf::platform {

// The running executable's full path; empty when the system cannot tell it.
std::string ExecutablePath();

// The running executable's directory, with its trailing path separator.
std::string ExecutableDirectory();

// True when the path names an existing file that is not a directory.
bool FileExists(const std::string& path);

// What other openers may do while we read a whole file.
enum class ShareMode {
  DenyNone,   // others may read and write meanwhile
  DenyWrite,  // others may read, not write
};

// The error code of a file longer than a read may take (Windows' own number).
inline constexpr int kFileTooLarge = 223;

// Reads the whole file. On failure (missing, unreadable, a directory, or
// longer than `maxSize` bytes, in which case no more than that is read) returns
// nothing and, when asked, the system error code in the I/O error numbering
// (2 file not found, 3 invalid name, 4 too many open files, 5 access denied,
// kFileTooLarge, ...) and the system's own text for the failure.
std::optional<std::string> ReadWholeFile(const std::string& path, ShareMode share,
                                         int* errorCode = nullptr,
                                         uint64_t maxSize = UINT64_MAX,
                                         std::string* reason = nullptr);

// Replaces the file's contents whole, safely: the new contents go to a new file
// beside it, created under a name no file had (so no link there is followed),
// which takes the old one's place, and its permissions, only once it is
// complete. Returns 0 on success or the system error code (I/O error
// numbering) and, when asked, the system's own text for the failure; on
// failure the old file is left as it was.
int ReplaceFileContents(const std::string& path, std::string_view contents,
                        std::string* reason = nullptr);

// A read-only view of a whole file in memory, released on destruction.
class MappedView {
 public:
  virtual ~MappedView() = default;
  virtual const unsigned char* Data() const = 0;
  virtual uint64_t Size() const = 0;
};

// A file opened read-only with sharing that lets other programs read, write,
// delete or replace it meanwhile (the game's patcher may replace the data files
// while we run).
class SharedReadFile {
 public:
  // Raises EFOpenError "Cannot open file %s" when the file cannot be opened.
  static std::unique_ptr<SharedReadFile> Open(const std::string& path);
  ~SharedReadFile();
  SharedReadFile(const SharedReadFile&) = delete;
  SharedReadFile& operator=(const SharedReadFile&) = delete;

  // Current size in bytes (the file may change while it is open).
  uint64_t Size() const;

  // Positioned read: reads up to `count` bytes at `offset` into `buffer` and
  // returns how many were read (fewer at the end of the file, 0 on failure).
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) const;

  // Maps the whole file read-only for as long as the view lives; nothing when
  // the file is empty or cannot be mapped (callers then fall back to ReadAt).
  std::unique_ptr<MappedView> Map() const;

 private:
  explicit SharedReadFile(intptr_t handle) : handle_(handle) {}
  intptr_t handle_;
};

}  // namespace wf::platform
