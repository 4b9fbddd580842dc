#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <system_error>

#include "common/Errors.h"
#include "platform/Files.h"

namespace wf::platform {

namespace {

// errno in the I/O error numbering the messages use.
int IoCode(int err) {
  switch (err) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return 5;
    case ENOSPC:
    case EDQUOT: return 101;
    case EFBIG: return kFileTooLarge;
    default: return err;
  }
}

class PosixMappedView : public MappedView {
 public:
  PosixMappedView(void* data, uint64_t size) : data_(data), size_(size) {}
  ~PosixMappedView() override { munmap(data_, size_); }
  const unsigned char* Data() const override { return static_cast<const unsigned char*>(data_); }
  uint64_t Size() const override { return size_; }

 private:
  void* data_;
  uint64_t size_;
};

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

std::string ExecutableDirectory() {
  std::string path = ExecutablePath();
  if (path.empty()) return "./";
  return path.substr(0, path.rfind('/') + 1);
}

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::optional<std::string> ReadWholeFile(const std::string& path, ShareMode, int* errorCode,
                                         uint64_t maxSize, std::string* reason) {
  auto fail = [&](int err) -> std::optional<std::string> {
    if (errorCode) *errorCode = IoCode(err);
    if (reason) *reason = std::generic_category().message(err);
    return std::nullopt;
  };
  if (path.empty()) return fail(ENOENT);
  // Only regular files: a device or pipe (/dev/zero, a FIFO) could be read
  // without end or block for ever; O_NONBLOCK keeps even the open of a FIFO
  // from waiting for a writer.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return fail(errno);
  struct stat st;
  int err = 0;
  if (fstat(fd, &st) != 0)
    err = errno;
  else if (S_ISDIR(st.st_mode))
    err = EISDIR;
  else if (!S_ISREG(st.st_mode))
    err = EACCES;
  else if (static_cast<uint64_t>(st.st_size) > maxSize)
    err = EFBIG;
  if (err) {
    close(fd);
    return fail(err);
  }
  std::string data;
  char chunk[65536];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      close(fd);
      return fail(err);
    }
    if (n == 0) break;
    data.append(chunk, static_cast<size_t>(n));
    if (data.size() > maxSize) {  // it grew while we read
      close(fd);
      return fail(EFBIG);
    }
  }
  close(fd);
  return data;
}

int ReplaceFileContents(const std::string& path, std::string_view contents, std::string* reason) {
  auto failed = [reason](int err) {
    if (reason) *reason = std::generic_category().message(err);
    return IoCode(err);
  };
  if (path.empty()) return failed(ENOENT);
  // A fresh name, created exclusively: a file or link already standing at a
  // name we would write is never opened, so nothing is written through it.
  std::random_device random;
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp = path + ".new-" + std::to_string(random() % 1000000000u);
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) return failed(errno);
  }
  if (fd < 0) return failed(EEXIST);
  bool ok = true;
  int err = 0;
  struct stat old;
  if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) && fchmod(fd, old.st_mode & 0777) != 0) {
    ok = false;
    err = errno;
  }
  if (ok && !(WriteAll(fd, contents) && fsync(fd) == 0)) {
    ok = false;
    err = errno;
  }
  if (close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    unlink(temp.c_str());
    return failed(err);
  }
  return 0;
}

std::unique_ptr<SharedReadFile> SharedReadFile::Open(const std::string& path) {
  // As in ReadWholeFile: a FIFO would block the open until a writer comes, a
  // device could be read without end.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw EFOpenError(path);
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    throw EFOpenError(path);
  }
  return std::unique_ptr<SharedReadFile>(new SharedReadFile(fd));
}

SharedReadFile::~SharedReadFile() { close(static_cast<int>(handle_)); }

uint64_t SharedReadFile::Size() const {
  struct stat st;
  if (fstat(static_cast<int>(handle_), &st) != 0 || st.st_size < 0) return 0;
  return static_cast<uint64_t>(st.st_size);
}

size_t SharedReadFile::ReadAt(uint64_t offset, void* buffer, size_t count) const {
  size_t done = 0;
  while (done < count) {
    ssize_t n = pread(static_cast<int>(handle_), static_cast<char*>(buffer) + done, count - done,
                      static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

std::unique_ptr<MappedView> SharedReadFile::Map() const {
  uint64_t size = Size();
  if (size == 0 || size > SIZE_MAX) return nullptr;
  void* data = mmap(nullptr, size, PROT_READ, MAP_SHARED, static_cast<int>(handle_), 0);
  if (data == MAP_FAILED) return nullptr;
  return std::make_unique<PosixMappedView>(data, size);
}

}  // namespace wf::platform
