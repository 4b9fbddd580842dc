// Tags and their attributes: names, the attribute reader, and the processing of
// attribute values (references, whitespace, conversion).

#include <gtest/gtest.h>

#include "XmlTestSupport.h"

namespace wf {
namespace {

using testing::Lines;
using testing::Trace;

TEST(Tags, ConfigurationLineIsOneEmptyTagWithItsAttributesInNameOrder) {
  EXPECT_EQ(Trace("<configuration>\r\n<config key=\"x\" value=\"y\" />\r\n</configuration>\r\n"),
            (Lines{"StartTag \"configuration\"",
                   "EmptyTag \"config\" \"key\"=\"x\"/Normal/Unknown \"value\"=\"y\"/Normal/Unknown",
                   "EndTag \"configuration\""}));
  EXPECT_EQ(Trace("<z b='2' a='1' c='3'/>"),
            (Lines{"EmptyTag \"z\" \"a\"=\"1\"/Normal/Unknown \"b\"=\"2\"/Normal/Unknown "
                   "\"c\"=\"3\"/Normal/Unknown"}));
}

TEST(Tags, NamesAndKindsFollowTheCharactersAfterTheAngleBracket) {
  struct Case {
    const char* doc;
    Lines expected;
  };
  const Case cases[] = {
      {"<a>", {"StartTag \"a\""}},
      {"</a>", {"EndTag \"a\""}},
      {"<a/>", {"EmptyTag \"a\""}},
      {"<a />", {"EmptyTag \"a\""}},
      {"< a>", {"StartTag \" a\""}},          // the first character always belongs to the name
      {"<//>", {"EndTag \"/\""}},
      {"</a/>", {"EmptyTag \"a\""}},          // "/" before ">" makes even this empty
      {"<a\tb='1'>", {"StartTag \"a\" \"b\"=\"1\"/Normal/Unknown"}},
      {"<a x/>", {"StartTag \"a\""}},         // "/" while "=" is awaited is skipped
      {"<a x=y/>", {"StartTag \"a\""}},       // ... and while a quoted value is awaited
      {"<a x='1'/ >", {"EmptyTag \"a\" \"x\"=\"1\"/Normal/Unknown"}},
      {"<!doctype x>", {"StartTag \"!doctype\""}},
      {"<!FOO>", {"StartTag \"!FOO\""}},
      {"<?xml?>", {"PI \"xml\" \"\""}},
  };
  for (const Case& c : cases) EXPECT_EQ(Trace(c.doc), c.expected) << c.doc;
}

TEST(Tags, EndTagsKeepTheirAttributesUnprocessed) {
  // Nothing shows an end tag's attributes, but their values are not expanded either.
  testing::TracedScanner t;
  t.Load("</a k='&lt;'>");
  t.Scanner.Parser->RestartScan();
  ASSERT_TRUE(t.Scanner.Parser->NextPart());
  EXPECT_EQ(t.Scanner.Parser->PartKind, pkEndTag);
  EXPECT_EQ(t.Scanner.Parser->PartAttributes.ValueOf("k"), "&lt;");
}

TEST(Attributes, ReaderSkipsWhatStandsBetweenNameEqualsAndQuote) {
  struct Case {
    const char* text;
    const char* expected;  // the attributes as xmltrace prints them
  };
  const Case cases[] = {
      {"a=b c='d'", " \"a\"=\"d\"/Normal/Unknown"},
      {"a b='1'", " \"a\"=\"1\"/Normal/Unknown"},
      {"a = \t'1'", " \"a\"=\"1\"/Normal/Unknown"},
      {"a=\"it's\" b='say \"hi\"'", " \"a\"=\"it's\"/Normal/Unknown \"b\"=\"say \\\"hi\\\"\"/Normal/Unknown"},
      {"a='1'b='2'", " \"a\"=\"1\"/Normal/Unknown \"b\"=\"2\"/Normal/Unknown"},
      {"a", ""},                          // a name without "=" and value is dropped
      {"a=", ""},
      {"1a='x'", ""},                     // a name must begin with a name character
      {"_:\xC0-x.y='v'", " \"_:\\xc0-x.y\"=\"v\"/Normal/Unknown"},
      {"a='' ", " \"a\"=\"\"/Normal/Unknown"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Trace(std::string("<t ") + c.text + ">"), Lines{std::string("StartTag \"t\"") + c.expected})
        << c.text;
}

TEST(Attributes, ParseAttributesStopsWhereNoNameCanStart) {
  struct Case {
    const char* text;
    size_t stop;  // offset of the stop position
    int count;
  };
  const Case cases[] = {
      {"a='1' />", 6, 1}, {"a='1'?>", 5, 1}, {"a='1'>", 5, 1},     {"", 0, 0},
      {"a='1", 4, 1},     {"a=' />", 6, 1},  {"  ", 2, 0},         {"a='1' 9", 6, 1},
      {"x/>", 2, 0},      {"x=/>", 3, 0},
  };
  for (const Case& c : cases) {
    TAttrList list;
    const char* stop = list.ParseAttributes(c.text);
    EXPECT_EQ(static_cast<size_t>(stop - c.text), c.stop) << c.text;
    EXPECT_EQ(list.Count(), c.count) << c.text;
  }
}

TEST(Attributes, RepeatedNamesAllStayAndTheFirstWrittenIsFound) {
  testing::TracedScanner t;
  std::string found;
  t.Scanner.OnEmptyTag = [&](TCustomXmlScanner&, const std::string&, const TAttrList& a) {
    EXPECT_EQ(a.Count(), 2);
    found = a.FindByName("b")->Value;
  };
  t.Load("<a b='1' b='2'/>");
  t.Scan();
  EXPECT_EQ(found, "1");
  EXPECT_EQ(Trace("<a b='1' b='2'/>"),
            (Lines{"EmptyTag \"a\" \"b\"=\"2\"/Normal/Unknown \"b\"=\"1\"/Normal/Unknown"}));
}

TEST(Attributes, ValuesHaveReferencesReplacedOnce) {
  struct Case {
    const char* value;
    const char* expected;  // as xmltrace quotes it
  };
  const Case cases[] = {
      {"x &lt; y &#65;&#x42;", "x < y AB"},
      {"&#xZZ;", "\\x00"},             // unreadable hexadecimal: byte 0
      {"&#abc;", " "},                 // unreadable decimal: space
      {"&#;", " "},
      {"&#x;", "\\x00"},
      {"&#321;", "A"},                 // low eight bits
      {"&#X41;", "A"},
      {"&#99999999999;", " "},
      {"&unknown; &", "&unknown; &"},  // unknown names and a lone "&" stay
      {"a&b", "a&b"},
      {"&;", "&;"},
      {"&amp;lt;", "&lt;"},            // a replacement is not examined again
      {"&amp;#65;", "A"},              // ... but character references come after
      {"&gt;&apos;&quot;", ">'\\\""},
      {"&LT;", "&LT;"},                // case-sensitive
      {"&a&lt;", "&a&lt;"},            // the name runs to the first ";"
  };
  for (const Case& c : cases)
    EXPECT_EQ(Trace(std::string("<t v='") + c.value + "'/>"),
              Lines{std::string("EmptyTag \"t\" \"v\"=\"") + c.expected + "\"/Normal/Unknown"})
        << c.value;
}

TEST(Attributes, WhitespaceOfUndeclaredAttributesBecomesSpacesWithoutCollapsing) {
  EXPECT_EQ(Trace("<t v=' a\tb\nc\r\nd  '/>"),
            (Lines{"EmptyTag \"t\" \"v\"=\" a b c  d  \"/Normal/Unknown"}));
  // A character reference to a tab is replaced before the folding, too.
  EXPECT_EQ(Trace("<t v='a&#9;b'/>"), (Lines{"EmptyTag \"t\" \"v\"=\"a b\"/Normal/Unknown"}));
}

TEST(Attributes, ProcessingInstructionAndDeclarationAttributesStayAsWritten) {
  EXPECT_EQ(Trace("<?xml-stylesheet href='s'?>"),
            (Lines{"PI \"xml-stylesheet\" \" href='s'\" \"href\"=\"s\"/Normal/Unknown"}));
  EXPECT_EQ(Trace("<?pi a='&lt;\t'?>"),
            (Lines{"PI \"pi\" \" a='&lt;\\t'\" \"a\"=\"&lt;\\t\"/Normal/Unknown"}));
}

}  // namespace
}  // namespace wf
