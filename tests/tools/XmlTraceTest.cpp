#include <gtest/gtest.h>

#include <sstream>

#include "TempDir.h"
#include "XmlTrace.h"

namespace wf {
namespace {

using wf::testing::TempDir;

TEST(XmlTrace, QuotedEscapesBackslashQuoteAndUnprintableBytes) {
  struct Case {
    std::string in;
    const char* out;
  };
  const Case cases[] = {
      {"", "\"\""},
      {"plain text ~!", "\"plain text ~!\""},
      {"a\\b\"c", "\"a\\\\b\\\"c\""},
      {"\t\n\r", "\"\\t\\n\\r\""},
      {std::string("\0\x01\x1F\x7F\x80\xE4\xFF", 7), "\"\\x00\\x01\\x1f\\x7f\\x80\\xe4\\xff\""},
      {"' <>", "\"' <>\""},
  };
  for (const Case& c : cases) EXPECT_EQ(xmltrace::Quoted(c.in), c.out) << c.in;
}

TEST(XmlTrace, AttributesShowNameValueAndBothKinds) {
  TAttrList list;
  list.ParseAttributes("lang='en' b='\"'");
  list.FindByName("lang")->ValueKind = avDefault;
  list.FindByName("lang")->AttrKind = akCData;
  EXPECT_EQ(xmltrace::AttributesText(list), " \"b\"=\"\\\"\"/Normal/Unknown \"lang\"=\"en\"/Default/CDATA");
}

TEST(XmlTrace, ErrorTextIsAtMostSixteenBytesAndStopsAtNul) {
  EXPECT_EQ(xmltrace::ErrorText("<!FOO> and much more after it"), "<!FOO> and much ");
  EXPECT_EQ(xmltrace::ErrorText("]>"), "]>");
  EXPECT_EQ(xmltrace::ErrorText(""), "");
}

int RunTrace(std::vector<const char*> args, std::string& out, std::string& err) {
  args.insert(args.begin(), "xmltrace");
  std::ostringstream o, e;
  int code = xmltrace::RunXmlTrace(static_cast<int>(args.size()), args.data(), o, e);
  out = o.str();
  err = e.str();
  return code;
}

TEST(XmlTrace, BadArgumentsGiveUsageAndExitCodeTwo) {
  const std::vector<std::vector<const char*>> bad = {
      {}, {"--raw"}, {"a.xml", "b.xml"}, {"--raw", "a.xml", "b.xml"}, {"-x", "a.xml"}, {"--verbose"}, {""},
      {"a.xml", "--raw"}};
  for (const auto& args : bad) {
    SCOPED_TRACE(::testing::Message() << "case " << &args - bad.data());
    std::string out, err;
    EXPECT_EQ(RunTrace(args, out, err), 2);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err.rfind("usage: xmltrace [--raw] FILE\n", 0), 0u);
  }
}

TEST(XmlTrace, PrintsOneLinePerEventAndNothingForAMissingFile) {
  TempDir dir;
  std::string file = dir.Write("doc.xml", "<a k='v'>\n x </a>");
  std::string out, err;
  EXPECT_EQ(RunTrace({file.c_str()}, out, err), 0);
  EXPECT_EQ(out, "StartTag \"a\" \"k\"=\"v\"/Normal/Unknown\nContent \"x\"\nEndTag \"a\"\n");
  EXPECT_EQ(RunTrace({"--raw", file.c_str()}, out, err), 0);
  EXPECT_EQ(out, "StartTag \"a\" \"k\"=\"v\"/Normal/Unknown\nContent \"\\n x \"\nEndTag \"a\"\n");
  std::string missing = dir.File("missing.xml");
  EXPECT_EQ(RunTrace({missing.c_str()}, out, err), 0);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, "");
}

TEST(XmlTrace, AttListShowsWhatEachDeclarationDeclared) {
  struct Case {
    const char* name;
    const char* decls;
    std::string expected;
  };
  const Case cases[] = {
      {"a second declaration for the element", "<!ATTLIST e a CDATA 'x' b CDATA 'y'><!ATTLIST e a CDATA 'z'>",
       "AttList \"e\" [\"a\" \"x\" \"CDATA\" \"\" CDATA Default] [\"b\" \"y\" \"CDATA\" \"\" CDATA Default]\n"
       "AttList \"e\" [\"a\" \"z\" \"CDATA\" \"\" CDATA Default]\n"
       "DtdRead \"d\"\nEmptyTag \"e\" \"a\"=\"z\"/Default/CDATA \"b\"=\"y\"/Default/CDATA\n"},
      {"one attribute twice in one declaration", "<!ATTLIST e b CDATA '1' a ID #IMPLIED b CDATA '3'>",
       "AttList \"e\" [\"a\" \"\" \"ID\" \"\" ID Implied] [\"b\" \"3\" \"CDATA\" \"\" CDATA Default]\n"
       "DtdRead \"d\"\nEmptyTag \"e\" \"b\"=\"3\"/Default/CDATA\n"},
      {"after an element declaration dropped the earlier ones",
       "<!ATTLIST e a CDATA 'x'><!ELEMENT e ANY><!ATTLIST e c CDATA 'w'>",
       "AttList \"e\" [\"a\" \"x\" \"CDATA\" \"\" CDATA Default]\nElement \"e\" \"Any\" \"ANY\"\n"
       "AttList \"e\" [\"c\" \"w\" \"CDATA\" \"\" CDATA Default]\n"
       "DtdRead \"d\"\nEmptyTag \"e\" \"c\"=\"w\"/Default/CDATA\n"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string file = dir.Write("doc.xml", std::string("<!DOCTYPE d [") + c.decls + "]><e/>");
    std::string out, err;
    EXPECT_EQ(RunTrace({file.c_str()}, out, err), 0);
    EXPECT_EQ(out, c.expected);
  }
}

TEST(XmlTrace, OutputGrowsWithTheDocumentNotWithTheSquareOfItsAttributeLists) {
  std::string doc = "<!DOCTYPE d [";
  for (int i = 0; i < 2000; ++i) doc += "<!ATTLIST e a" + std::to_string(i) + " CDATA #IMPLIED>";
  doc += "]><e/>";
  TempDir dir;
  std::string file = dir.Write("doc.xml", doc);
  std::string out, err;
  EXPECT_EQ(RunTrace({file.c_str()}, out, err), 0);
  EXPECT_LT(out.size(), 3 * doc.size());
}

}  // namespace
}  // namespace wf
