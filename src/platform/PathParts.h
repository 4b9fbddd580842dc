#pragma once
// The parts of a Windows path, split at its last separator: '\', '/' or ':'.

#include <string_view>

namespace wf::platform {

// Up to and with the last separator; empty when there is none.
std::string_view DirectoryPart(std::string_view path);

// What follows the last separator: the whole path when there is none.
std::string_view FileNamePart(std::string_view path);

// A file name without its extension, the part from its last '.' on; a name
// that only starts with a '.' keeps it.
std::string_view FileTitlePart(std::string_view fileName);

}  // namespace wf::platform
