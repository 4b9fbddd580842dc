#include "common/Errors.h"

namespace wf {

std::string IoErrorMessage(int code) {
  switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
  }
}

EInOutError::EInOutError(int code) : Exception(IoErrorMessage(code)), code_(code) {}

namespace {

std::string WithReason(std::string message, const std::string& reason) {
  return reason.empty() ? message : message + ": " + reason;
}

}  // namespace

EFOpenError::EFOpenError(const std::string& fileName, const std::string& reason)
    : Exception(WithReason("Cannot open file " + fileName, reason)) {}

EFCreateError::EFCreateError(const std::string& fileName, const std::string& reason)
    : Exception(WithReason("Cannot create file " + fileName, reason)) {}

EListError::EListError(int index)
    : Exception("List index out of bounds (" + std::to_string(index) + ")") {}

std::string WithFullStop(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

}  // namespace wf
