// How the scanner recognises and cuts out each kind of part.

#include <gtest/gtest.h>

#include "XmlTestSupport.h"

namespace wf {
namespace {

using testing::Lines;
using testing::Trace;

TEST(Parts, EachKindIsRecognisedByItsExactOpening) {
  struct Case {
    const char* doc;
    Lines expected;
  };
  const Case cases[] = {
      {"<?xml version='1.0'?>", {"XmlProlog \"1.0\" \"\" false"}},
      {"<?xml\tversion='1.0' encoding='utf-8' standalone='yes'?>", {"XmlProlog \"1.0\" \"utf-8\" true"}},
      {"<?xml version='1.0' standalone='Yes'?>", {"XmlProlog \"1.0\" \"\" false"}},
      {"<?xml?>", {"PI \"xml\" \"\""}},                  // no whitespace after "xml"
      {"<?xmlx a='1'?>", {"PI \"xmlx\" \" a='1'\" \"a\"=\"1\"/Normal/Unknown"}},
      {"<?pi  some data ?>", {"PI \"pi\" \"  some data \""}},
      {"<?\?>", {"PI \"?\" \"\""}},
      {"<!-- c -->", {"Comment \"<!-- c -->\""}},
      {"<!---->", {"Comment \"<!---->\""}},
      {"<!-- a -- b -->x", {"Comment \"<!-- a -- b -->\"", "Content \"x\""}},
      {"<![CDATA[ <a> &amp; ]]>", {"CData \" <a> &amp; \""}},
      {"<![CDATA[]]>", {"CData \"\""}},
      {"<![CDATA[a]]]>", {"CData \"a]\""}},
      {"<![cdata[x]]>", {"StartTag \"![cdata[x]]\""}},  // keywords are case-sensitive
      {"<!DOCTYPE r>", {"DtdRead \"r\""}},
      {"<!DOCTYPEr>", {"DtdRead \"r\""}},
      {"a<b/>c", {"Content \"a\"", "EmptyTag \"b\"", "Content \"c\""}},
      {"<a>x</a>", {"StartTag \"a\"", "Content \"x\"", "EndTag \"a\""}},
  };
  for (const Case& c : cases) EXPECT_EQ(Trace(c.doc), c.expected) << c.doc;
}

TEST(Parts, UnterminatedPartsRunToTheEndAndEndTheScan) {
  struct Case {
    const char* doc;
    Lines expected;
  };
  const Case cases[] = {
      {"<!-- c", {"Comment \"<!-- c\""}},
      {"<!-->x", {"Comment \"<!-->x\""}},  // "-->" must begin after "<!--"
      {"<![CDATA[abc", {"CData \"abc\""}},
      {"<![CDATA[", {"CData \"\""}},
      {"<a b='1", {"StartTag \"a\" \"b\"=\"1\"/Normal/Unknown"}},
      {"<a b='1>x", {"StartTag \"a\" \"b\"=\"1>x\"/Normal/Unknown"}},
      {"<a", {"StartTag \"a\""}},
      {"<a/", {"EmptyTag \"a\""}},
      {"<?xml version='1.0'", {"XmlProlog \"1.0\" \"\" false"}},
      // The text of an unterminated instruction stops two characters short of
      // the end, where "?>" would have stood.
      {"<?pi abcd", {"PI \"pi\" \" ab\""}},
      {"<?pi", {"PI \"pi\" \"\""}},
      {"<", {"StartTag \"\""}},
      {"</", {"EndTag \"\""}},
      {"<?", {"PI \"\" \"\""}},
      {"x<", {"Content \"x\"", "StartTag \"\""}},
  };
  for (const Case& c : cases) EXPECT_EQ(Trace(c.doc), c.expected) << c.doc;
}

TEST(Parts, XmlDeclarationSetsTheActiveEncodingUpperCased) {
  testing::TracedScanner t;
  TXmlParser& p = *t.Scanner.Parser;
  EXPECT_EQ(p.ActiveEncoding, "");
  t.Load("<?xml version='1.0' encoding='iso-8859-1'?>");
  t.Scan();
  EXPECT_EQ(p.ActiveEncoding, "ISO-8859-1");
  EXPECT_EQ(p.DeclaredEncoding, "iso-8859-1");
  t.Load("<?xml version='1.0'?>");
  t.Scan();
  EXPECT_EQ(p.ActiveEncoding, "UTF-8");
  EXPECT_EQ(p.DeclaredVersion, "1.0");
  // Neither a new load nor a new scan forgets it.
  t.Load("<a/>");
  t.Scan();
  EXPECT_EQ(p.ActiveEncoding, "UTF-8");
}

TEST(Parts, PartPositionsCoverTheWholeMarkup) {
  testing::TracedScanner t;
  t.Load("ab <!-- c --><x/>");
  TXmlParser& p = *t.Scanner.Parser;
  p.RestartScan();
  const char* text = p.TextStart();
  ASSERT_TRUE(p.NextPart());
  EXPECT_EQ(p.PartKind, pkText);
  EXPECT_EQ(p.PartStart(), text);
  EXPECT_EQ(p.PartEnd(), text + 2);
  ASSERT_TRUE(p.NextPart());
  EXPECT_EQ(p.PartKind, pkComment);
  EXPECT_EQ(p.PartStart(), text + 3);
  EXPECT_EQ(p.PartEnd(), text + 12);
  ASSERT_TRUE(p.NextPart());
  EXPECT_EQ(p.PartKind, pkEmptyTag);
  EXPECT_FALSE(p.NextPart());
  EXPECT_EQ(p.PartStart(), text + 17);  // at the terminating NUL
  EXPECT_FALSE(p.NextPart());           // and it stays at the end
}

}  // namespace
}  // namespace wf
