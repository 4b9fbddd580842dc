#include "platform/PathParts.h"

namespace wf::platform {

namespace {

constexpr std::string_view kSeparators = "\\/:";

size_t AfterLastSeparator(std::string_view path) {
  size_t at = path.find_last_of(kSeparators);
  return at == std::string_view::npos ? 0 : at + 1;
}

}  // namespace

std::string_view DirectoryPart(std::string_view path) { return path.substr(0, AfterLastSeparator(path)); }

std::string_view FileNamePart(std::string_view path) { return path.substr(AfterLastSeparator(path)); }

std::string_view FileTitlePart(std::string_view fileName) {
  size_t dot = fileName.rfind('.');
  return dot == std::string_view::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

}  // namespace wf::platform
