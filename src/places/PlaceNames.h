#pragma once
// Names of places from outside: made fit for the places file, told apart from
// the numbered names the program gives, and found by any part of them.

#include <string>
#include <string_view>
#include <vector>

namespace wf::places {

// The name with "=" written as "-" and "//" as "/", until none is left: the
// places file ends a name at "=" and a line at "//". Line breaks and bytes 0,
// which no line can hold, become spaces.
std::string MakeNameSafe(std::string_view name);

// True when `name` is `base` followed by a decimal number, as the program
// numbers a name that is taken ("Ort1", "Ort12").
bool IsNumberedName(std::string_view name, std::string_view base);

// True when `part` occurs in `name`, without regard to case (ASCII and the
// code page's letters). The empty part occurs in every name.
bool ContainsFolded(std::string_view name, std::string_view part);

// Indexes of the names that contain `part`, in the names' order; none for an
// empty or all-blank part.
std::vector<int> FindMatches(const std::vector<std::string>& names, std::string_view part);

}  // namespace wf::places
