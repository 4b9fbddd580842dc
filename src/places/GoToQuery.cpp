#include "places/GoToQuery.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "places/Sextant.h"

namespace wf::places {

namespace {

constexpr int32_t kMaxCoordinate = 65535;

const char* const kExpectedAnything =
    "Expected a place name, \"X Y\" or a sextant reading such as 72\xB0" "25'N 19\xB0" "28'E.";
const char* const kExpectedCell = "Expected \"X Y\" or \"X, Y\" with X and Y from 0 to 65535.";
const char* const kExpectedSextant =
    "Expected a sextant reading such as 72\xB0" "25'N 19\xB0" "28'E: degrees up to 180, minutes up to 59.";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsCompass(char c) {
  const char upper = static_cast<char>(c & ~0x20);
  return upper == 'N' || upper == 'S' || upper == 'E' || upper == 'W';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Whether the text is written only with what coordinates are written with;
// `compass` tells whether it has a sextant's letters or marks.
bool LooksLikeCoordinates(std::string_view text, bool& compass) {
  bool digit = false;
  compass = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool letterBefore = i > 0 && IsLetter(text[i - 1]);
    const bool letterAfter = i + 1 < text.size() && IsLetter(text[i + 1]);
    if (const size_t mark = SextantMarkLength(text.substr(i))) {
      compass = true;
      i += mark - 1;
    } else if (IsDigit(c)) {
      digit = true;
    } else if (IsBlank(c) || c == ',' || c == '.' || c == '+' || c == '-') {
    } else if ((c == 'o' || c == 'O') && i > 0 && IsDigit(text[i - 1]) && !letterAfter) {
      compass = true;
    } else if (IsCompass(c) && !letterBefore && !letterAfter) {
      compass = true;
    } else {
      return false;  // a letter of a name (any byte of the upper half but the
                     // marks), or a sign no coordinate is written with
    }
  }
  return digit;
}

// Digits of one coordinate; values past the range stay just past it.
std::optional<int32_t> ReadCoordinate(std::string_view text, size_t& at) {
  const size_t start = at;
  int32_t value = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at)
    value = std::min(value * 10 + (text[at] - '0'), kMaxCoordinate + 1);
  return at > start ? std::optional<int32_t>(value) : std::nullopt;
}

// "X Y", "X,Y", "X , Y"; nothing when the text is not written so.
std::optional<std::pair<int32_t, int32_t>> ReadCell(std::string_view text) {
  size_t at = 0;
  const std::optional<int32_t> x = ReadCoordinate(text, at);
  if (!x) return std::nullopt;
  const size_t gap = at;
  while (at < text.size() && IsBlank(text[at])) ++at;
  if (at < text.size() && text[at] == ',') ++at;
  while (at < text.size() && IsBlank(text[at])) ++at;
  if (at == gap) return std::nullopt;
  const std::optional<int32_t> y = ReadCoordinate(text, at);
  if (!y || at != text.size()) return std::nullopt;
  return std::pair{*x, *y};
}

TGoToQuery Refused(const char* message) {
  TGoToQuery query;
  query.Message = message;
  return query;
}

}  // namespace

TGoToQuery ReadGoTo(std::string_view typed) {
  const std::string_view text = Trimmed(typed);
  if (text.empty()) return Refused(kExpectedAnything);

  TGoToQuery query;
  query.Kind = TGoToQuery::TKind::Cell;
  if (const std::optional<TSextantReading> reading = ParseSextant(text)) {
    const TSextantCell cell = SextantCell(*reading);
    query.X = cell.X;
    query.Y = cell.Y;
    query.FromSextant = true;
    return query;
  }
  if (const auto cell = ReadCell(text)) {
    if (cell->first > kMaxCoordinate || cell->second > kMaxCoordinate) return Refused(kExpectedCell);
    query.X = cell->first;
    query.Y = cell->second;
    return query;
  }
  bool compass = false;
  if (LooksLikeCoordinates(text, compass)) return Refused(compass ? kExpectedSextant : kExpectedCell);

  query.Kind = TGoToQuery::TKind::Name;
  query.Name = text;
  return query;
}

}  // namespace wf::places
