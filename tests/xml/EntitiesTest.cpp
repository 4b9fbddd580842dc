// Entities: internal ones read in place of their references, external ones read
// from files beside the document, and the hook that can supply external texts.

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "XmlTestSupport.h"

namespace wf {
namespace {

using namespace testing;

std::string WithEntities(const std::string& decls, const std::string& body) {
  return "<!DOCTYPE d [" + decls + "]>" + body;
}

// The lines after the declaration's own events and DtdRead.
Lines BodyOf(const Lines& all) {
  Lines body;
  bool seen = false;
  for (const std::string& line : all) {
    if (seen) body.push_back(line);
    if (line.rfind("DtdRead", 0) == 0) seen = true;
  }
  return body;
}

TEST(Entities, InternalEntityTextIsReadAsDocumentText) {
  EXPECT_EQ(BodyOf(Trace(WithEntities("<!ENTITY who '<b>World</b>'>", "Hello &who;!"), true)),
            (Lines{"Content \"Hello \"", "StartTag \"b\"", "Content \"World\"", "EndTag \"b\"",
                   "Content \"!\""}));
  // Character data in the replacement joins the part it stands in.
  EXPECT_EQ(BodyOf(Trace(WithEntities("<!ENTITY e 'big'>", "<a>a &e; b</a>"))),
            (Lines{"StartTag \"a\"", "Content \"a big b\"", "EndTag \"a\""}));
  // References in the replacement are handled in turn.
  EXPECT_EQ(BodyOf(Trace(WithEntities("<!ENTITY a 'x&b;y'><!ENTITY b '[&c;&lt;]'><!ENTITY c 'C'>",
                                      "<t>&a;</t>"))),
            (Lines{"StartTag \"t\"", "Content \"x[C<]y\"", "EndTag \"t\""}));
  // Character references are expanded when the entity is declared, so this one
  // is read again as a reference when it is used.
  EXPECT_EQ(BodyOf(Trace(WithEntities("<!ENTITY lt2 '&#38;lt;'>", "<t>&lt2;</t>"))),
            (Lines{"StartTag \"t\"", "Content \"<\"", "EndTag \"t\""}));
}

TEST(Entities, AttributeValuesHaveEntityTextsExpandedInto) {
  EXPECT_EQ(BodyOf(Trace(WithEntities("<!ENTITY e 'v&lt;w'><!ENTITY f '[&e;]'>",
                                      "<t a='&e;' b='&f;' c='&e' d='&#38;e;'/>"))),
            (Lines{"EmptyTag \"t\" \"a\"=\"v<w\"/Normal/Unknown \"b\"=\"[v<w]\"/Normal/Unknown "
                   "\"c\"=\"&e\"/Normal/Unknown \"d\"=\"&e;\"/Normal/Unknown"}));
}

TEST(Entities, ExternalEntitiesAreReadFromBesideTheDocument) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path() / "sub");
  dir.Write("sub/ext.xml", "<x>from file &amp; more</x>");
  dir.Write("plain.txt", "plain");
  std::string doc = dir.Write(
      "doc.xml", WithEntities("<!ENTITY ext SYSTEM 'sub\\ext.xml'><!ENTITY p SYSTEM \"plain.txt\">"
                              "<!ENTITY gone SYSTEM 'missing.xml'>",
                              "<a>[&ext;|&p;|&gone;]</a><t v='&p;&gone;'/>"));
  EXPECT_EQ(BodyOf(TraceFile(doc)),
            (Lines{"StartTag \"a\"", "Content \"[\"", "StartTag \"x\"", "Content \"from file & more\"",
                   "EndTag \"x\"", "Content \"|plain|]\"", "EndTag \"a\"",
                   "EmptyTag \"t\" \"v\"=\"plain\"/Normal/Unknown"}));
}

TEST(Entities, LoadExternalHookSuppliesTheTexts) {
  TracedScanner t;
  Lines asked;
  t.Scanner.OnLoadExternal = [&](TCustomXmlScanner& sender, const std::string& systemId,
                                 const std::string& publicId, const std::string& notationId,
                                 std::unique_ptr<TXmlParser>& result) {
    EXPECT_EQ(&sender, &t.Scanner);
    asked.push_back(systemId + "|" + publicId + "|" + notationId);
    if (systemId == "none") return;  // no text: read as empty
    result = std::make_unique<TXmlParser>();
    result->LoadText("<" + systemId + "/>");
  };
  t.Load(WithEntities("<!ENTITY a SYSTEM 'one'><!ENTITY b PUBLIC 'pub' 'two'><!ENTITY c SYSTEM 'none'>"
                      "<!ENTITY u SYSTEM 'pic' NDATA gif>",
                      "&a;&b;&c;&u;<t v='&a;'/>"));
  EXPECT_EQ(BodyOf(t.Scan()), (Lines{"EmptyTag \"one\"", "EmptyTag \"two\"", "EmptyTag \"pic\"",
                                     "EmptyTag \"t\" \"v\"=\"<one/>\"/Normal/Unknown"}));
  EXPECT_EQ(asked, (Lines{"one||", "two|pub|", "none||", "pic||gif", "one||"}));
}

TEST(Entities, SystemIdentifiersAreTakenAgainstTheDocumentsDirectory) {
  struct Case {
    const char* source;
    const char* systemId;
    const char* expected;
  };
  const Case cases[] = {
#ifdef _WIN32
      {"C:\\docs\\a.xml", "b.dtd", "C:\\docs\\b.dtd"},
      {"C:\\docs\\a.xml", "sub/b.dtd", "C:\\docs\\sub\\b.dtd"},
      {"C:/docs/a.xml", "b.dtd", "C:/docs/b.dtd"},
      {"C:\\docs\\a.xml", "D:/x.dtd", "D:\\x.dtd"},
      {"C:\\docs\\a.xml", "//srv/x.dtd", "\\\\srv\\x.dtd"},
      {"C:a.xml", "b.dtd", "C:b.dtd"},
      {"<memory>", "b.dtd", "b.dtd"},
      {"a.xml", "b.dtd", "b.dtd"},
#else
      {"/docs/a.xml", "b.dtd", "/docs/b.dtd"},
      {"/docs/a.xml", "sub\\b.dtd", "/docs/sub/b.dtd"},
      {"/docs/a.xml", "../up/b.dtd", "/docs/../up/b.dtd"},
      {"/docs/a.xml", "/abs/b.dtd", "/abs/b.dtd"},
      {"/docs/a.xml", "\\abs\\b.dtd", "/abs/b.dtd"},
      {"<memory>", "b.dtd", "b.dtd"},
      {"a.xml", "b.dtd", "b.dtd"},
#endif
  };
  for (const Case& c : cases) EXPECT_EQ(ResolveSystemId(c.source, c.systemId), c.expected) << c.systemId;
}

TEST(Entities, UnknownEntityInCharacterDataGivesItsBareName) {
  EXPECT_EQ(Trace("<a>&nope;</a>"), (Lines{"StartTag \"a\"", "Content \"nope\"", "EndTag \"a\""}));
}

}  // namespace
}  // namespace wf
