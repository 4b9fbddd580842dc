#include "xml/TextRules.h"

#include "xml/XmlText.h"

namespace wf {

using xmltext::IsSpace;

std::optional<uint32_t> ReadDecimalReference(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > 0x7FFFFFFF) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

std::optional<uint32_t> ReadHexReference(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return std::nullopt;
    value = value * 16 + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFF) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

std::string ExpandCharRefs(std::string_view S) {
  std::string out;
  out.reserve(S.size());
  WalkCharRefs(
      S, [&](std::string_view run) { out.append(run); },
      [&](uint32_t number) { out += static_cast<char>(number & 0xFF); });
  return out;
}

std::string TrimWhitespace(std::string_view S) {
  size_t first = 0, last = S.size();
  while (first < last && IsSpace(S[first])) ++first;
  while (last > first && IsSpace(S[last - 1])) --last;
  return std::string(S.substr(first, last - first));
}

std::string FoldWhitespace(std::string_view S, bool collapsing) {
  std::string out;
  out.reserve(S.size());
  bool previousSpace = false;
  for (char c : S) {
    bool space = IsSpace(c);
    if (space && !(collapsing && previousSpace)) out += ' ';
    if (!space) out += c;
    previousSpace = space;
  }
  return out;
}

std::string RemoveWhitespace(std::string_view S) {
  std::string out;
  out.reserve(S.size());
  for (char c : S)
    if (!IsSpace(c)) out += c;
  return out;
}

std::string UpperCaseAscii(std::string_view S) {
  std::string out(S);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

}  // namespace wf
