// Bounded work on hostile documents: entities that refer to themselves,
// exponential expansion, deep nesting, and inputs that would cost quadratic time
// if searches were repeated. None of these tests measures time; a regression
// shows as a test that never finishes.

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "XmlTestSupport.h"
#include "xml/XmlLimits.h"

namespace wf {
namespace {

using namespace testing;

// Ten entities, each referring ten times to the next; the last one is `leaf`.
std::string Laughs(const std::string& leaf, bool parameter) {
  std::string pct = parameter ? "% " : "";
  std::string ref = parameter ? "%" : "&";
  std::string decls = "<!ENTITY " + pct + "e0 '" + leaf + "'>";
  for (int i = 1; i <= 9; ++i) {
    decls += "<!ENTITY " + pct + "e" + std::to_string(i) + " '";
    for (int k = 0; k < 10; ++k) decls += ref + "e" + std::to_string(i - 1) + ";";
    decls += "'>";
  }
  return decls;
}

int64_t BudgetFor(const std::string& doc) {
  return xmllimits::kBudgetBase + xmllimits::kBudgetPerDocumentByte * static_cast<int64_t>(doc.size() + 1);
}

TEST(Limits, SelfReferencesExpandToNothingAndTheScanGoesOn) {
  const std::string decls = "<!ENTITY a 'x&a;y'><!ENTITY b '1&c;2'><!ENTITY c '3&b;4'>";
  EXPECT_EQ(Trace("<!DOCTYPE d [" + decls + "]><t v='&a;|&b;'>&a;|&b;</t>"),
            (Lines{"Entity \"a\" \"x&a;y\" \"\" \"\" \"\"", "Entity \"b\" \"1&c;2\" \"\" \"\" \"\"",
                   "Entity \"c\" \"3&b;4\" \"\" \"\" \"\"", "DtdRead \"d\"",
                   "StartTag \"t\" \"v\"=\"xy|1342\"/Normal/Unknown", "Content \"xy|1342\"", "EndTag \"t\""}));
  // Parameter references: read in place and expanded in declaration texts.
  EXPECT_EQ(Trace("<!DOCTYPE d [<!ENTITY % p '%p;<!ELEMENT x EMPTY>'><!ENTITY % q '(%q;|a)'>"
                  "%p;<!ELEMENT y %q;>]><x/>"),
            (Lines{"Entity \"p\" \"%p;<!ELEMENT x EMPTY>\" \"\" \"\" \"\"", "Entity \"q\" \"(%q;|a)\" \"\" \"\" \"\"",
                   "Element \"x\" \"Empty\" \"EMPTY\"", "Element \"y\" \"Childs only\" \"(|a)\"", "DtdRead \"d\"",
                   "EmptyTag \"x\""}));
}

TEST(Limits, ExponentialExpansionStopsAtTheBudget) {
  // The full expansion would be a thousand million leaves.
  const std::pair<std::string, const char*> cases[] = {
      {"lol", "<t>&e9;</t>"}, {"lol", "<t v='&e9;'/>"}, {std::string(1000, 'L'), "<t>&e9;</t>"}};
  for (const auto& [leaf, body] : cases) {
    SCOPED_TRACE(::testing::Message() << leaf.size() << " " << body);
    std::string doc = "<!DOCTYPE d [" + Laughs(leaf, false) + "]>" + body;
    ASSERT_LT(doc.size(), 4000u);
    TracedScanner t;
    size_t produced = 0;
    auto count = [&](const std::string& text) {
      produced += text.size();
      EXPECT_EQ(text.size() % leaf.size(), 0u);
      EXPECT_EQ(text.find_first_not_of(leaf), std::string::npos);
    };
    t.Scanner.OnContent = [&](TCustomXmlScanner&, const std::string& text) { count(text); };
    t.Scanner.OnEmptyTag = [&](TCustomXmlScanner&, const std::string&, const TAttrList& a) {
      count(a.ValueOf("v"));
    };
    t.Load(doc);
    t.Scan();
    EXPECT_GT(produced, 0u) << body;
    EXPECT_LE(static_cast<int64_t>(produced), BudgetFor(doc)) << body;
  }
}

TEST(Limits, ExpansionBudgetIsSpentOncePerScanAndEndsLaterReferences) {
  std::string doc = "<!DOCTYPE d [" + Laughs("lol", false) + "]><t>&e9;</t><u>&e0;</u>";
  TracedScanner t;
  t.Load(doc);
  for (int scan = 0; scan < 2; ++scan) {
    Lines lines = t.Scan();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 2], "StartTag \"u\"");  // no Content for &e0; any more
    EXPECT_EQ(lines.back(), "EndTag \"u\"");
    EXPECT_NE(lines[lines.size() - 4].find("Content \"lollol"), std::string::npos);
  }
}

TEST(Limits, ParameterEntityExpansionIsBoundedToo) {
  // In place: every leaf is a comment, so the events count the leaves read.
  std::string doc = "<!DOCTYPE d [" + Laughs("<!-- x -->", true) + "%e9;]><x/>";
  TracedScanner t;
  int comments = 0;
  t.Scanner.OnComment = [&](TCustomXmlScanner&, const std::string&) { ++comments; };
  t.Load(doc);
  t.Scan();
  EXPECT_GT(comments, 0);
  EXPECT_LE(comments, BudgetFor(doc) / (xmllimits::kReferenceCost + 10));
  // Expanded into a declaration text.
  std::string doc2 = "<!DOCTYPE d [" + Laughs("lol", true) + "<!ENTITY g '%e9;'>]><x/>";
  TracedScanner u;
  u.Load(doc2);
  u.Scan();
  const TEntityDef* g = u.Scanner.Parser->GeneralEntities.FindByName("g");
  ASSERT_NE(g, nullptr);
  EXPECT_GT(g->Value.size(), 0u);
  EXPECT_LE(static_cast<int64_t>(g->Value.size()), BudgetFor(doc2));
}

TEST(Limits, NestingDeeperThanTheLimitExpandsToNothing) {
  std::string decls;
  const int levels = 40;
  for (int i = 0; i < levels; ++i)
    decls += "<!ENTITY e" + std::to_string(i) + " '[&e" + std::to_string(i + 1) + ";]'>";
  Lines got = Trace("<!DOCTYPE d [" + decls + "]><t v='&e0;'>&e0;</t>");
  const size_t depth = xmllimits::kMaxEntityDepth;
  std::string expected = std::string(depth, '[') + std::string(depth, ']');
  EXPECT_EQ(got[got.size() - 3], "StartTag \"t\" \"v\"=\"" + expected + "\"/Normal/Unknown");
  EXPECT_EQ(got[got.size() - 2], "Content \"" + expected + "\"");
}

TEST(Limits, PercentWithoutSemicolonIsAnOrdinaryCharacter) {
  EXPECT_EQ(Trace("<!DOCTYPE d [ % <!ELEMENT x EMPTY> %]><x/>"),
            (Lines{"Element \"x\" \"Empty\" \"EMPTY\"", "DtdRead \"d\"", "EmptyTag \"x\""}));
  EXPECT_EQ(Trace("<!DOCTYPE d [<!ATTLIST x a CDATA %>]><x/>"),
            (Lines{"AttList \"x\" [\"a\" \"\" \"CDATA\" \"\" CDATA Default]", "DtdRead \"d\"", "EmptyTag \"x\""}));
}

TEST(Limits, ExternalTextsNamingTheDocumentItselfOrADirectoryEnd) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path() / "sub");
  std::string doc = dir.Write(
      "doc.xml",
      "<!DOCTYPE d SYSTEM 'doc.xml' [<!ENTITY self SYSTEM 'doc.xml'><!ENTITY dir SYSTEM 'sub'>"
      "<!ENTITY up SYSTEM '.'>]><t v='&self;'>[&dir;&up;]&self;</t>");
  TracedScanner t;
  t.LoadFile(doc);
  Lines lines = t.Scan();
  int dtdReads = 0, closes = 0;
  for (const std::string& l : lines) {
    dtdReads += l.rfind("DtdRead", 0) == 0;
    closes += l == "EndTag \"t\"";
  }
  EXPECT_EQ(dtdReads, 2);  // the document, and the document again as the entity's text
  EXPECT_EQ(closes, 2);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "EndTag \"t\"");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Content \"[]\""), lines.end());
  // As an external subset the directory or a missing file contributes nothing.
  EXPECT_EQ(TraceFile(dir.Write("d2.xml", "<!DOCTYPE d SYSTEM 'sub'><x/>")), (Lines{"DtdRead \"d\"", "EmptyTag \"x\""}));
}

// A configuration whose one value refers `references` times to an external file.
std::string ConfigReferring(const std::string& file, int references) {
  std::string refs;
  for (int i = 0; i < references; ++i) refs += "&e;";
  return "<?xml version=\"1.0\"?>\n<!DOCTYPE configuration [<!ENTITY e SYSTEM '" + file +
         "'>]>\n<configuration>\n<config key=\"map0\" value=\"" + refs + "\"/>\n</configuration>\n";
}

TEST(Limits, ExternalFilesAreReadAtMostOncePerScanAndNeverWhenTooLong) {
  TempDir dir;
  const uint64_t cap = xmllimits::kMaxExternalText;
  // Files of these sizes start with a NUL (or "x" and a NUL) and are sparse.
  auto sized = [&](const char* name, const std::string& head, uint64_t size) {
    std::string file = dir.Write(name, head);
    std::filesystem::resize_file(file, size);
    return name;
  };
  struct Case {
    const char* name;
    const char* file;
    int references;
    uint64_t bytesRead;
    std::string value;
  };
  const Case cases[] = {
      {"64 references to 100 MB", sized("huge.bin", std::string(1, '\0'), 100u << 20), 64, 0, ""},
      {"1000 references to 100 MB", "huge.bin", 1000, 0, ""},
      {"one byte over the limit", sized("over.bin", "x", cap + 1), 64, 0, ""},
      {"64 references to the longest text read", sized("cap.bin", std::string("x\0", 2), cap), 64, cap,
       std::string(64, 'x')},
      {"a missing file", "missing.bin", 64, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TracedScanner t;
    t.LoadFile(dir.Write("configtravel.xml", ConfigReferring(c.file, c.references)));
    for (int scan = 0; scan < 2; ++scan) {  // each scan reads the file again, once
      Lines lines = t.Scan();
      EXPECT_EQ(t.Scanner.Parser->ExternalBytesRead(), c.bytesRead);
      ASSERT_GE(lines.size(), 3u);  // the value is in the one tag between two others
      EXPECT_EQ(lines[lines.size() - 2], "EmptyTag \"config\" \"key\"=\"map0\"/Normal/Unknown \"value\"=\"" + c.value +
                              "\"/Normal/Unknown");
    }
  }
}

TEST(Limits, ExternalTextsFromTheHookAreHeldToTheSameLimit) {
  for (uint64_t size : {xmllimits::kMaxExternalText, xmllimits::kMaxExternalText + 1}) {
    SCOPED_TRACE(size);
    TracedScanner t;
    t.Scanner.OnLoadExternal = [size](TCustomXmlScanner&, const std::string&, const std::string&,
                                      const std::string&, std::unique_ptr<TXmlParser>& result) {
      result = std::make_unique<TXmlParser>();
      result->LoadText(std::string(size, 'x'));
    };
    t.Load("<!DOCTYPE d [<!ENTITY e SYSTEM 'e'>]><t>&e;</t>");
    Lines lines = t.Scan();
    ASSERT_GE(lines.size(), 4u);  // entity, doctype, start tag, then the text or the end tag
    EXPECT_EQ(lines[3].size(), size <= xmllimits::kMaxExternalText ? size + 10 : 10);  // Content "..." or EndTag "t"
  }
}

TEST(Limits, DeclaredDefaultsAreNotMultipliedWithoutBound) {
  std::string decls = "<!ATTLIST t";
  for (int i = 0; i < 100; ++i) decls += " a" + std::to_string(i) + " CDATA 'value'";
  decls += ">";
  std::string body;
  for (int i = 0; i < 8000; ++i) body += "<t/>";
  std::string doc = "<!DOCTYPE d [" + decls + "]>" + body;
  TracedScanner t;
  int64_t attributes = 0, tags = 0;
  t.Scanner.OnEmptyTag = [&](TCustomXmlScanner&, const std::string&, const TAttrList& a) {
    if (tags++ == 0) {
      EXPECT_EQ(a.Count(), 100);  // the first tags get every default
    }
    attributes += a.Count();
  };
  t.Load(doc);
  t.Scan();
  EXPECT_EQ(tags, 8000);
  EXPECT_LE(attributes, BudgetFor(doc) / xmllimits::kDeclaredAttributeCost);
  EXPECT_LT(attributes, 100 * 8000);
}

TEST(Limits, LongRunsOfUnfinishedReferencesAreReadInLinearTime) {
  const size_t n = 1 << 18;
  EXPECT_EQ(Trace("<a>" + std::string(n, '&') + "</a>"), (Lines{"StartTag \"a\"", "EndTag \"a\""}));
  EXPECT_EQ(Trace("<!DOCTYPE d [" + std::string(n, '%') + "]><a/>"), (Lines{"DtdRead \"d\"", "EmptyTag \"a\""}));
  // Many attributes, written in descending name order.
  std::string tag = "<a";
  for (int i = 29999; i >= 0; --i) tag += " n" + std::to_string(i) + "=''";
  tag += "/>";
  TracedScanner t;
  int count = 0;
  t.Scanner.OnEmptyTag = [&](TCustomXmlScanner&, const std::string&, const TAttrList& a) { count = a.Count(); };
  t.Load(tag);
  t.Scan();
  EXPECT_EQ(count, 30000);
  // Enumerations that each run over the following declarations.
  std::string decl = "<!DOCTYPE d [<!ATTLIST e";
  for (int i = 0; i < 20000; ++i) decl += " a" + std::to_string(i) + " ( '' ";
  decl += ")>]><a/>";
  Lines lines = Trace(decl);
  EXPECT_EQ(lines.back(), "EmptyTag \"a\"");
}

}  // namespace
}  // namespace wf
