// Malformed and random input: never a crash, a hang or a read outside the text
// (the sanitized build checks the last), and the behaviour the rules give.

#include <gtest/gtest.h>

#include <random>

#include "XmlTestSupport.h"
#include "xml/XmlText.h"

namespace wf {
namespace {

using testing::Lines;
using testing::Trace;
using testing::TracedScanner;

TEST(BadInput, TruncatedMarkupGivesWhatWasReadAndEnds) {
  struct Case {
    std::string doc;
    Lines expected;
  };
  const Case cases[] = {
      {"<!", {"StartTag \"!\""}},
      {"<![", {"StartTag \"![\""}},
      {"<![CDATA", {"StartTag \"![CDATA\""}},
      {"<!-", {"StartTag \"!-\""}},
      {"<?xml ", {"XmlProlog \"\" \"\" false"}},
      {"<?xml version=", {"XmlProlog \"\" \"\" false"}},
      {"&", {}},
      {"&#", {"Content \"#\""}},
      {"]]>", {"Content \"]]>\""}},
      {">", {"Content \">\""}},
      {"<a b=", {"StartTag \"a\""}},
      {"<a b=\"", {"StartTag \"a\" \"b\"=\"\"/Normal/Unknown"}},
      {"<a\0>", {"StartTag \"a\""}},
      {std::string("<a b='x\0'/>", 11), {"StartTag \"a\" \"b\"=\"x\"/Normal/Unknown"}},
      {std::string("\x01\x7F<\x80\xFF>\x1B", 7), {"Content \"\\x01\\x7f\"", "StartTag \"\\x80\\xff\"",
                                                   "Content \"\\x1b\""}},
  };
  for (const Case& c : cases) EXPECT_EQ(Trace(c.doc), c.expected) << c.doc;
}

// Documents the random mutations start from: every kind of part and declaration.
const char* const kSeeds[] = {
    "<configuration>\r\n<config key=\"map\" value=\"C:\\UO\\map0.mul\" />\r\n"
    "<config key=\"CurrentMap\" value=\"2\" />\r\n</configuration>\r\n",
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<!-- c --><?pi a='1'?>"
    "<r a='x &lt; &#65;&#x42;'>t &amp; \xC3\xA4<![CDATA[ <x> ]]><e/></r>",
    "<!DOCTYPE note SYSTEM 'n.dtd' [\n<!ELEMENT note (to,from)>\n"
    "<!ATTLIST note lang CDATA 'en' id ID #IMPLIED f CDATA #FIXED 'x' e (a|b) 'a' n NOTATION (g) #REQUIRED>\n"
    "<!ENTITY who '<b>World</b>'><!ENTITY % pe 'CDATA'><!ENTITY ext SYSTEM 'ext.xml'>\n"
    "<!ENTITY logo SYSTEM 'logo.gif' NDATA gif><!NOTATION gif PUBLIC 'p' 's'><?dpi x?><!-- d -->\n"
    "<!ATTLIST t a %pe; #IMPLIED>%pe;<!FOO>]>\n<note>Hello &who;! &ext; &#xZZ; &nope;</note>",
    "<!DOCTYPE d [<!ENTITY a 'x&a;y'><!ENTITY % p '%p;<!ELEMENT x EMPTY>'>%p;"
    "<!ENTITY e0 'lol'><!ENTITY e1 '&e0;&e0;&e0;'><!ENTITY e2 '&e1;&e1;&e1;'>]><t v='&e2;&a;'>&e2;&a;</t>",
};

std::string Mutate(std::string doc, std::mt19937& rng) {
  static const char kAlphabet[] = "<>&;%'\"[]!-?/#xX=\0 \t\n\xC3\xA4\xFF""ELEMENTATTLISTENTITYDOCTYPECDATA";
  auto pick = [&](size_t n) { return static_cast<size_t>(rng() % (n ? n : 1)); };
  int edits = 1 + static_cast<int>(pick(4));
  for (int i = 0; i < edits; ++i) {
    size_t at = pick(doc.size() + 1);
    switch (pick(6)) {
      case 0: if (at < doc.size()) doc[at] = kAlphabet[pick(sizeof kAlphabet - 1)]; break;
      case 1: doc.insert(at, 1, kAlphabet[pick(sizeof kAlphabet - 1)]); break;
      case 2: doc.erase(at, pick(8)); break;
      case 3: doc.insert(at, doc.substr(pick(doc.size() + 1), pick(24))); break;
      case 4: doc.resize(at); break;
      case 5: if (at < doc.size()) doc[at] = static_cast<char>(rng()); break;
    }
  }
  return doc;
}

// Scans with every event bound, external texts supplied from memory (none, the
// document itself or a small text, by the identifier), in both whitespace
// modes, three times.
void ScanAllWays(const std::string& doc) {
  for (bool raw : {false, true}) {
    TracedScanner t;
    t.Scanner.OnLoadExternal = [&](TCustomXmlScanner&, const std::string& systemId, const std::string&,
                                   const std::string&, std::unique_ptr<TXmlParser>& result) {
      if (systemId.size() % 3 == 0) return;
      result = std::make_unique<TXmlParser>();
      result->LoadText(systemId.size() % 3 == 1 ? doc : "<x a='&who;'>in &amp; out</x>");
    };
    t.Load(doc, raw);
    Lines first = t.Scan();
    for (const std::string& line : first) {
      if (raw || line.rfind("Content \"", 0) != 0) continue;
      // Normalized text: no whitespace at either end, no runs, only spaces.
      std::string text = line.substr(9, line.size() - 10);
      ASSERT_FALSE(text.empty()) << doc;
      EXPECT_NE(text.front(), ' ') << doc;
      EXPECT_NE(text.back(), ' ') << doc;
      EXPECT_EQ(text.find("  "), std::string::npos) << doc;
      EXPECT_EQ(text.find("\\t"), std::string::npos) << doc;
    }
    // Later scans skip the declaration read by the first, and then agree.
    Lines second = t.Scan();
    EXPECT_EQ(t.Scan(), second) << doc;
  }
}

TEST(BadInput, RandomBytesNeverBreakTheScanner) {
  std::mt19937 rng(20240601);
  for (int i = 0; i < 2000; ++i) {
    std::string doc(rng() % 160, '\0');
    const bool markupHeavy = i % 2 == 0;
    for (char& c : doc) c = markupHeavy ? "<>&;%'\"[]!-?/#= aZ\0"[rng() % 19] : static_cast<char>(rng());
    ScanAllWays(doc);
    if (HasFatalFailure()) return;
  }
}

TEST(BadInput, MutatedDocumentsNeverBreakTheScanner) {
  std::mt19937 rng(1977);
  for (int i = 0; i < 3000; ++i) {
    std::string doc = Mutate(kSeeds[static_cast<size_t>(i) % std::size(kSeeds)], rng);
    if (i % 7 == 0) doc = Mutate(doc + kSeeds[rng() % std::size(kSeeds)], rng);
    ScanAllWays(doc);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace wf
