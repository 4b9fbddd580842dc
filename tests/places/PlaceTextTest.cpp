#include <gtest/gtest.h>

#include "places/PlaceText.h"

namespace wf::places {
namespace {

TEST(PlaceText, Utf8BecomesTheCodePageAndStrayBytesStayAsTheyAre) {
  struct Case {
    const char* name;
    std::string utf8, expected;
  } cases[] = {
      {"ascii", "Haus 12", "Haus 12"},
      {"latin letters", "K\xC3\xB6nigsh\xC3\xA4user", "K\xF6nigsh\xE4user"},
      {"euro and s caron from the code page's own range", "\xE2\x82\xAC \xC5\xA0", "\x80 \x8A"},
      {"a character the code page lacks", "Stadt \xE6\x9D\xB1", "Stadt ?"},
      {"four-byte character", "a\xF0\x9F\x98\x80" "b", "a?b"},
      {"code page text that is not UTF-8", "M\xFChle \xC4rger", "M\xFChle \xC4rger"},
      {"lead byte without its continuation at the end", "Ende\xC3", "Ende\xC3"},
      {"overlong form of a slash", "a\xC0\xAF" "b", "a\xC0\xAF" "b"},
      {"encoded surrogate", "\xED\xA0\x80", "\xED\xA0\x80"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8To1252(c.utf8), c.expected);
  }
}

TEST(PlaceText, EveryCodePageByteGoesToUtf8AndBack) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_NE(utf8, all);
  EXPECT_EQ(Utf8To1252(utf8), all);
}

TEST(PlaceText, CaseFoldingCoversTheCodePagesLetters) {
  struct Case {
    unsigned char in, out;
  } cases[] = {{'A', 'a'}, {'Z', 'z'}, {'a', 'a'}, {'@', '@'}, {'[', '['},
               {0xC4, 0xE4}, {0xD6, 0xF6}, {0xDE, 0xFE}, {0xC0, 0xE0},
               {0xD7, 0xD7},  // the multiplication sign is no letter
               {0xDF, 0xDF},  // sharp s has no capital here
               {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}, {0xFF, 0xFF}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.in));
    EXPECT_EQ(FoldCase1252(c.in), c.out);
  }
}

}  // namespace
}  // namespace wf::places
