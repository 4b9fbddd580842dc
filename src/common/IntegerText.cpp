#include "common/IntegerText.h"

#include "common/Errors.h"

namespace wf {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<int32_t> ParseHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::optional<int32_t> ParseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  const uint64_t limit = negative ? 2147483648u : 2147483647u;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > limit) return std::nullopt;
  }
  int64_t signedValue = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
  return static_cast<int32_t>(signedValue);
}

}  // namespace

std::optional<int32_t> TryParseInteger(std::string_view text) {
  size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return std::nullopt;
  text.remove_prefix(start);
  if (text[0] == '$' || text[0] == 'x' || text[0] == 'X') return ParseHex(text.substr(1));
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return ParseHex(text.substr(2));
  return ParseDecimal(text);
}

int32_t ParseInteger(std::string_view text) {
  if (auto value = TryParseInteger(text)) return *value;
  throw NotAnInteger(text);
}

EConvertError NotAnInteger(std::string_view text) {
  std::string message = "'";
  message.append(text).append("' is not a valid integer value");
  return EConvertError(message);
}

int32_t ParseIntegerOrZero(std::string_view text) { return TryParseInteger(text).value_or(0); }

std::string NumberText(int64_t value) { return std::to_string(value); }

}  // namespace wf
