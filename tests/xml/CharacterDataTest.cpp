// Character data: references in it, and the Normalize option.

#include <gtest/gtest.h>

#include "XmlTestSupport.h"

namespace wf {
namespace {

using testing::Lines;
using testing::Trace;

TEST(CharacterData, ReferencesDifferFromThoseInAttributeValues) {
  struct Case {
    const char* doc;
    const char* expected;  // the Content line's text, as xmltrace quotes it
  };
  const Case cases[] = {
      {"a &lt; b &#65;&#x42; &#xZZ; &nope; c", "a < b AB   nope c"},  // bare name; hex error is a space
      {"x & y", "x  y"},          // no ";" anywhere after: the "&" is dropped
      {"x &; y", "x  y"},         // empty name, unknown
      {"&#;&#x;", "  "},
      {"&#0;", "\\x00"},
      {"&#256;&#x141;", "\\x00A"},
      {"&amp;lt;", "&lt;"},
      {"&gt;&apos;&quot;&amp;", ">'\\\"&"},
      {"a & b; c", "a  b c"},    // the name runs to the first ";", even across spaces
  };
  for (const Case& c : cases)
    EXPECT_EQ(Trace(c.doc, /*raw=*/true), Lines{std::string("Content \"") + c.expected + "\""}) << c.doc;
}

TEST(CharacterData, NormalizeTrimsAndCollapsesAndDropsWhitespaceOnlyText) {
  const char* doc = "<a>  a\nb  </a>\r\n\t<b> </b>";
  EXPECT_EQ(Trace(doc),
            (Lines{"StartTag \"a\"", "Content \"a b\"", "EndTag \"a\"", "StartTag \"b\"", "EndTag \"b\""}));
  EXPECT_EQ(Trace(doc, /*raw=*/true),
            (Lines{"StartTag \"a\"", "Content \"  a\\nb  \"", "EndTag \"a\"", "Content \"\\r\\n\\t\"",
                   "StartTag \"b\"", "Content \" \"", "EndTag \"b\""}));
  // Whitespace produced by references counts too.
  EXPECT_EQ(Trace("<a>&#32;&#9;</a>"), (Lines{"StartTag \"a\"", "EndTag \"a\""}));
  // Without Normalize even text that references reduce to nothing is delivered.
  EXPECT_EQ(Trace("<a>&</a>", true), (Lines{"StartTag \"a\"", "Content \"\"", "EndTag \"a\""}));
}

TEST(CharacterData, TextRunsToTheEndOfTheInput) {
  EXPECT_EQ(Trace("<a>tail"), (Lines{"StartTag \"a\"", "Content \"tail\""}));
  EXPECT_EQ(Trace("only text"), (Lines{"Content \"only text\""}));
}

}  // namespace
}  // namespace wf
