#include "places/PlaceNames.h"

#include <algorithm>

#include "places/PlaceText.h"

namespace wf::places {

std::string MakeNameSafe(std::string_view name) {
  std::string safe(name);
  for (char& c : safe)
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  std::replace(safe.begin(), safe.end(), '=', '-');
  for (size_t at = safe.find("//"); at != std::string::npos; at = safe.find("//", at))
    safe.erase(at, 1);
  return safe;
}

bool IsNumberedName(std::string_view name, std::string_view base) {
  if (name.size() <= base.size() || !name.starts_with(base)) return false;
  const std::string_view number = name.substr(base.size());
  return number.front() != '0' &&
         std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool ContainsFolded(std::string_view name, std::string_view part) {
  const auto same = [](char a, char b) {
    return FoldCase1252(static_cast<unsigned char>(a)) == FoldCase1252(static_cast<unsigned char>(b));
  };
  return std::search(name.begin(), name.end(), part.begin(), part.end(), same) != name.end();
}

std::vector<int> FindMatches(const std::vector<std::string>& names, std::string_view part) {
  std::vector<int> found;
  if (std::all_of(part.begin(), part.end(), [](char c) { return c == ' ' || c == '\t'; }))
    return found;
  for (size_t i = 0; i < names.size(); ++i)
    if (ContainsFolded(names[i], part)) found.push_back(static_cast<int>(i));
  return found;
}

}  // namespace wf::places
