#pragma once
// The error types the program raises. Each carries the exact message the user
// sees; KindName() is the type's name as the start-up error box prints it.

#include <stdexcept>
#include <string>

namespace wf {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  virtual const char* KindName() const { return "Exception"; }
};

// Text that is not integer text: "'%s' is not a valid integer value".
class EConvertError : public Exception {
 public:
  using Exception::Exception;
  const char* KindName() const override { return "EConvertError"; }
};

// A failed file operation, by its system error code.
class EInOutError : public Exception {
 public:
  explicit EInOutError(int code);
  int ErrorCode() const { return code_; }
  const char* KindName() const override { return "EInOutError"; }

 private:
  int code_;
};

// "Cannot open file %s", followed by ": " and the system's reason when there is one.
class EFOpenError : public Exception {
 public:
  explicit EFOpenError(const std::string& fileName, const std::string& reason = std::string());
  const char* KindName() const override { return "EFOpenError"; }
};

// "Cannot create file %s", followed by ": " and the system's reason when there is one.
class EFCreateError : public Exception {
 public:
  explicit EFCreateError(const std::string& fileName, const std::string& reason = std::string());
  const char* KindName() const override { return "EFCreateError"; }
};

// "List index out of bounds (%d)".
class EListError : public Exception {
 public:
  explicit EListError(int index);
  const char* KindName() const override { return "EListError"; }
};

// Storage or drawing surfaces that could not be had.
class EOutOfResources : public Exception {
 public:
  using Exception::Exception;
  const char* KindName() const override { return "EOutOfResources"; }
};

// The message for an I/O error code: 2 "File not found", 3 "Invalid filename", ...
std::string IoErrorMessage(int code);

// A message as the error box shows it: a full stop is added when the last
// character sorts after "." in byte order.
std::string WithFullStop(const std::string& message);

}  // namespace wf
