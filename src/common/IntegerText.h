#pragma once
// Integer text, the one rule by which text becomes a number anywhere in the
// program, and the decimal text of the numbers the program writes.
//
// Accepted: leading spaces (code 32 only), then either an optional sign and
// decimal digits in the signed 32-bit range, or one of the prefixes "$", "x",
// "X", "0x", "0X" and hexadecimal digits whose value fits in 32 bits (the bit
// pattern read as signed, so "$FFFFFFFF" is -1). No sign before a hexadecimal
// prefix, nothing after the digits, not even a space; empty text is no number.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wf {

class EConvertError;

std::optional<int32_t> TryParseInteger(std::string_view text);

// Strict form: raises EConvertError "'%s' is not a valid integer value".
int32_t ParseInteger(std::string_view text);
// The error the strict form raises for the text.
EConvertError NotAnInteger(std::string_view text);

// Defaulted form: 0 for text that is not a number.
int32_t ParseIntegerOrZero(std::string_view text);

// Decimal, "-" for negative values, no leading zeros, no grouping.
std::string NumberText(int64_t value);

}  // namespace wf
