#include <windows.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>

#include "common/Errors.h"
#include "platform/Files.h"
#include "platform/PathParts.h"

namespace wf::platform {

namespace {

// GetLastError's codes are the I/O error numbering already (2, 3, 4, 5, ...),
// except for a full disk.
int IoCode(DWORD err) {
  if (err == ERROR_DISK_FULL || err == ERROR_HANDLE_DISK_FULL) return 101;
  return static_cast<int>(err);
}

HANDLE AsHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

// The system's text for an error, in English where the system has it, without
// the line end it comes with.
std::string SystemErrorText(DWORD err) {
  char* text = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                      FORMAT_MESSAGE_IGNORE_INSERTS;
  DWORD n = FormatMessageA(flags, nullptr, err, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                           reinterpret_cast<char*>(&text), 0, nullptr);
  if (n == 0) n = FormatMessageA(flags, nullptr, err, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string out = n ? std::string(text, n) : "system error " + std::to_string(err);
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == '\r' || out.back() == '\n' || out.back() == ' '))
    out.pop_back();
  return out;
}

// A file or mapping handle, closed when it goes out of scope; so every way out
// of a function, an early return on a failure too, closes what it opened.
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() { Close(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  // CreateFile reports failure with INVALID_HANDLE_VALUE, CreateFileMapping with null.
  bool Valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  HANDLE Release() { return std::exchange(handle_, nullptr); }
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  void Close() {
    if (Valid()) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_;
};

class Win32MappedView : public MappedView {
 public:
  Win32MappedView(HANDLE mapping, const void* data, uint64_t size)
      : mapping_(mapping), data_(data), size_(size) {}
  ~Win32MappedView() override { UnmapViewOfFile(data_); }
  const unsigned char* Data() const override { return static_cast<const unsigned char*>(data_); }
  uint64_t Size() const override { return size_; }

 private:
  OwnedHandle mapping_;
  const void* data_;
  uint64_t size_;
};

}  // namespace

std::string ExecutablePath() {
  char buffer[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::string ExecutableDirectory() {
  std::string path = ExecutablePath();
  return path.empty() ? ".\\" : std::string(DirectoryPart(path));
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadWholeFile(const std::string& path, ShareMode share,
                                         int* errorCode, uint64_t maxSize, std::string* reason) {
  auto fail = [&](DWORD err) -> std::optional<std::string> {
    if (errorCode) *errorCode = IoCode(err);
    if (reason) *reason = SystemErrorText(err);
    return std::nullopt;
  };
  if (path.empty()) return fail(ERROR_FILE_NOT_FOUND);
  DWORD shareFlags = share == ShareMode::DenyNone ? FILE_SHARE_READ | FILE_SHARE_WRITE
                                                  : FILE_SHARE_READ;
  OwnedHandle file(CreateFileA(path.c_str(), GENERIC_READ, shareFlags, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return fail(GetLastError());
  // Only files on disk: a console or pipe ("CON", "\\.\pipe\...") could block for ever.
  if (GetFileType(file.Get()) != FILE_TYPE_DISK) return fail(ERROR_ACCESS_DENIED);
  LARGE_INTEGER size;
  if (GetFileSizeEx(file.Get(), &size) && static_cast<uint64_t>(size.QuadPart) > maxSize)
    return fail(ERROR_FILE_TOO_LARGE);
  std::string data;
  char chunk[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file.Get(), chunk, sizeof chunk, &n, nullptr)) return fail(GetLastError());
    if (n == 0) break;
    data.append(chunk, n);
    if (data.size() > maxSize) return fail(ERROR_FILE_TOO_LARGE);  // it grew while we read
  }
  return data;
}

int ReplaceFileContents(const std::string& path, std::string_view contents, std::string* reason) {
  auto failed = [reason](DWORD err) {
    if (reason) *reason = SystemErrorText(err);
    return IoCode(err);
  };
  if (path.empty()) return failed(ERROR_FILE_NOT_FOUND);
  // A fresh name, created exclusively: a file or link already standing at a
  // name we would write is never opened, so nothing is written through it.
  std::random_device random;
  std::string temp;
  OwnedHandle file(INVALID_HANDLE_VALUE);
  for (int attempt = 0; !file.Valid() && attempt < 100; ++attempt) {
    temp = path + ".new-" + std::to_string(random() % 1000000000u);
    file.Reset(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD err = file.Valid() ? 0 : GetLastError();
    if (err && err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) return failed(err);
  }
  if (!file.Valid()) return failed(ERROR_FILE_EXISTS);
  bool ok = true;
  DWORD err = 0;
  while (ok && !contents.empty()) {
    DWORD n = 0;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(contents.size(), 1u << 20));
    if (!WriteFile(file.Get(), contents.data(), chunk, &n, nullptr)) {
      ok = false;
      err = GetLastError();
    }
    contents.remove_prefix(n);
  }
  if (ok && !FlushFileBuffers(file.Get())) {
    ok = false;
    err = GetLastError();
  }
  // Closed before the move: an open file cannot replace another.
  file.Close();
  // The old file's attributes and security stay: its attributes are copied
  // here (not every ReplaceFile does that), its security by ReplaceFile.
  // MoveFileEx takes over where there is no old file (or ReplaceFile cannot).
  const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD old = GetFileAttributesA(path.c_str());
  if (ok && old != INVALID_FILE_ATTRIBUTES && !(old & FILE_ATTRIBUTE_DIRECTORY) && (old & kept))
    SetFileAttributesA(temp.c_str(), old & kept);
  if (ok && !(FileExists(path) &&
              ReplaceFileA(path.c_str(), temp.c_str(), nullptr,
                           REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                           nullptr)) &&
      !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
    err = GetLastError();
  }
  if (!ok) {
    DeleteFileA(temp.c_str());
    return failed(err);
  }
  return 0;
}

std::unique_ptr<SharedReadFile> SharedReadFile::Open(const std::string& path) {
  // Sharing delete too lets the game's patcher delete the file or rename
  // another over it while we hold it; we go on reading the old one.
  OwnedHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) throw EFOpenError(path);
  std::unique_ptr<SharedReadFile> opened(new SharedReadFile(reinterpret_cast<intptr_t>(file.Get())));
  file.Release();
  return opened;
}

SharedReadFile::~SharedReadFile() { CloseHandle(AsHandle(handle_)); }

uint64_t SharedReadFile::Size() const {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(AsHandle(handle_), &size) || size.QuadPart < 0) return 0;
  return static_cast<uint64_t>(size.QuadPart);
}

size_t SharedReadFile::ReadAt(uint64_t offset, void* buffer, size_t count) const {
  size_t done = 0;
  while (done < count) {
    OVERLAPPED at = {};
    uint64_t position = offset + done;
    at.Offset = static_cast<DWORD>(position);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD n = 0;
    if (!ReadFile(AsHandle(handle_), static_cast<char*>(buffer) + done, chunk, &n, &at) || n == 0)
      break;
    done += n;
  }
  return done;
}

std::unique_ptr<MappedView> SharedReadFile::Map() const {
  uint64_t size = Size();
  if (size == 0 || size > SIZE_MAX) return nullptr;
  OwnedHandle mapping(CreateFileMappingA(AsHandle(handle_), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping.Valid()) return nullptr;
  const void* data = MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0);
  if (!data) return nullptr;
  auto view = std::make_unique<Win32MappedView>(mapping.Get(), data, size);
  mapping.Release();
  return view;
}

}  // namespace wf::platform
