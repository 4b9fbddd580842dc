#include "common/IntegerText.h"

#include <gtest/gtest.h>

#include "common/Errors.h"

namespace wf {
namespace {

struct Case {
  const char* text;
  std::optional<int32_t> value;
};

TEST(IntegerText, AcceptsDecimalAndHexadecimalExactlyByTheRule) {
  const Case cases[] = {
      {"0", 0},
      {"12", 12},
      {"  12", 12},          // leading spaces are skipped
      {"+7", 7},
      {"-7", -7},
      {"-0", 0},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$10", 16},
      {"x1F", 31},
      {"X1f", 31},
      {"0x1F", 31},
      {"0XfF", 255},
      {"$FFFFFFFF", -1},     // the bit pattern taken as signed
      {"$80000000", INT32_MIN},
      {"$000000001", 1},     // leading zeros do not count against the 32 bits
      {" $10", 16},
  };
  for (const Case& c : cases) EXPECT_EQ(TryParseInteger(c.text), c.value) << c.text;
}

TEST(IntegerText, RejectsEverythingElse) {
  const char* rejected[] = {
      "",            "   ",        "12 ",          "\t12",        "12a",       "+",
      "-",           "$",          "0x",           "x",           "-$10",      "+0x10",
      "2147483648",  "-2147483649", "99999999999999999999", "$100000000", "$G", "1 2",
      "1.5",         "1e3",        "--1",          "0x-1",
  };
  for (const char* text : rejected) EXPECT_EQ(TryParseInteger(text), std::nullopt) << text;
}

TEST(IntegerText, StrictFormRaisesTheConversionMessageWithTheTextAsGiven) {
  EXPECT_EQ(ParseInteger("  -12"), -12);
  try {
    ParseInteger(" 12 ");
    FAIL() << "no error raised";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "' 12 ' is not a valid integer value");
    EXPECT_STREQ(e.KindName(), "EConvertError");
  }
  EXPECT_THROW(ParseInteger(""), EConvertError);
}

TEST(IntegerText, DefaultedFormGivesZero) {
  EXPECT_EQ(ParseIntegerOrZero(" 7"), 7);
  EXPECT_EQ(ParseIntegerOrZero("7 "), 0);
  EXPECT_EQ(ParseIntegerOrZero(""), 0);
}

TEST(IntegerText, NumberTextIsPlainDecimal) {
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(-5), "-5");
  EXPECT_EQ(NumberText(65535), "65535");
  EXPECT_EQ(NumberText(INT32_MIN), "-2147483648");
}

}  // namespace
}  // namespace wf
