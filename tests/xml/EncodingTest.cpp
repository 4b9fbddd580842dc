// Conversion of document text to code page 1252: UTF-8 decoding, which texts it
// applies to, the encoding an entity's own declaration governs, and the hook.

#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "xml/CodePage1252.h"

namespace wf {
namespace {

using testing::Lines;
using testing::Trace;
using testing::TracedScanner;

std::string Utf8(uint32_t code) {
  std::string s;
  if (code < 0x80) {
    s += static_cast<char>(code);
  } else if (code < 0x800) {
    s += static_cast<char>(0xC0 | (code >> 6));
    s += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (code >> 12));
    s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (code & 0x3F));
  }
  return s;
}

TEST(Encoding, CodePageTableHasTheCodePagesOwnCharacters) {
  const std::pair<int, uint16_t> spots[] = {
      {0x41, 0x41},     {0x80, 0x20AC}, {0x81, 0x81},   {0x82, 0x201A}, {0x8A, 0x0160}, {0x8D, 0x8D},
      {0x8E, 0x017D},   {0x8F, 0x8F},   {0x90, 0x90},   {0x92, 0x2019}, {0x99, 0x2122}, {0x9D, 0x9D},
      {0x9F, 0x0178},   {0xA0, 0xA0},   {0xE4, 0xE4},   {0xFF, 0xFF},
  };
  for (auto [byte, code] : spots) EXPECT_EQ(CodePage1252[byte], code) << byte;
  // Every byte comes back from the UTF-8 text of its character.
  for (int b = 0; b < 256; ++b)
    EXPECT_EQ(DecodeUtf8(Utf8(CodePage1252[b]), 191), std::string(1, static_cast<char>(b))) << b;
}

TEST(Encoding, DecodeUtf8ReplacesWhatTheCodePageLacksOrCannotBeRead) {
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"\xC3\xA4", "\xE4"},
      {"\xE2\x82\xAC", "\x80"},               // euro sign
      {"\xF0\x9F\x98\x80x", "\xBFx"},         // four bytes: one replacement, the next character stays
      {"\xF8\x80\x80\x80\x80y", "\xBFy"},
      {"\x80z", "\xBFz"},                     // lone continuation byte
      {"a\xC3", "a\xBF"},                     // lead byte at the end
      {"a\xE2\x82", "a\xBF"},
      {"\xFFq", "\xBFq"},                     // 255 skips one byte only
      {"\xFE", "\xBF"},
      {"\xC2\x80", "\xBF"},                   // U+0080 is not in the code page
      {"\xC2\x81", "\x81"},                   // an unassigned position maps to itself
      {"\xE4\xB8\x80", "\xBF"},               // a character outside the code page
      {"\xC3\x41", "\xC1"},                   // continuation bytes are not checked
      {std::string("\xC3\0b", 3), std::string("\xC0" "b", 2)},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeUtf8(c.in, 191), c.out) << c.in;
  EXPECT_EQ(DecodeUtf8("\x80", '?'), "?");
}

TEST(Encoding, UtfEightDocumentsAreDecodedInTextCDataAndAttributeValues) {
  const std::string body = "<a v='\xC3\xA4'>\xC3\xA4<![CDATA[\xE2\x82\xAC]]></a>";
  const Lines decoded = {"StartTag \"a\" \"v\"=\"\\xe4\"/Normal/Unknown", "Content \"\\xe4\"",
                         "CData \"\\x80\"", "EndTag \"a\""};
  const Lines asWritten = {"StartTag \"a\" \"v\"=\"\\xc3\\xa4\"/Normal/Unknown", "Content \"\\xc3\\xa4\"",
                           "CData \"\\xe2\\x82\\xac\"", "EndTag \"a\""};
  struct Case {
    const char* declaration;
    const Lines& expected;
  };
  const Case cases[] = {
      {"<?xml version='1.0' encoding='UTF-8'?>", decoded},
      {"<?xml version='1.0' encoding='utf-8'?>", decoded},
      {"<?xml version='1.0'?>", decoded},  // no encoding named: UTF-8
      {"<?xml version='1.0' encoding='UTF8'?>", asWritten},
      {"<?xml version='1.0' encoding='ISO-8859-1'?>", asWritten},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.declaration);
    Lines got = Trace(std::string(c.declaration) + body);
    ASSERT_FALSE(got.empty());
    got.erase(got.begin());
    EXPECT_EQ(got, c.expected) << c.declaration;
  }
  EXPECT_EQ(Trace(body), asWritten);  // a fresh scanner and no declaration: bytes as they are
  // Names, comments and instructions are never converted.
  EXPECT_EQ(Trace("<?xml version='1.0'?><\xC3\xA4/><!--\xC3\xA4-->"),
            (Lines{"XmlProlog \"1.0\" \"\" false", "EmptyTag \"\\xc3\\xa4\"", "Comment \"<!--\\xc3\\xa4-->\""}));
}

TEST(Encoding, ReferencesProduceBytesThatAreNotConverted) {
  EXPECT_EQ(Trace("<?xml version='1.0'?><a>&#195;&#164;</a>")[2], "Content \"\\xc3\\xa4\"");
}

TEST(Encoding, AnEntitysOwnDeclarationGovernsOnlyItsText) {
  TracedScanner t;
  t.Scanner.OnLoadExternal = [](TCustomXmlScanner&, const std::string&, const std::string&,
                                const std::string&, std::unique_ptr<TXmlParser>& result) {
    result = std::make_unique<TXmlParser>();
    result->LoadText("<?xml version='2.0' encoding='UTF-8'?><in>\xC3\xA4</in>");
  };
  t.Load("<!DOCTYPE d [<!ENTITY e SYSTEM 'e.xml'>]><a>&e;</a><b>\xC3\xA4</b>");
  EXPECT_EQ(t.Scan(), (Lines{"Entity \"e\" \"\" \"e.xml\" \"\" \"\"", "DtdRead \"d\"", "StartTag \"a\"",
                             // the entity's declaration reports the document's own values
                             "XmlProlog \"\" \"\" false", "StartTag \"in\"", "Content \"\\xe4\"",
                             "EndTag \"in\"", "EndTag \"a\"", "StartTag \"b\"", "Content \"\\xc3\\xa4\"",
                             "EndTag \"b\""}));
  EXPECT_EQ(t.Scanner.Parser->ActiveEncoding, "");
  EXPECT_EQ(t.Scanner.Parser->DeclaredVersion, "");
}

TEST(Encoding, TranslateHookTakesEveryConvertedTextWithTheCurrentEncoding) {
  TracedScanner t;
  Lines calls;
  t.Scanner.OnTranslateEncoding = [&](TCustomXmlScanner& sender, const std::string& encoding,
                                      const std::string& source) {
    EXPECT_EQ(&sender, &t.Scanner);
    calls.push_back(encoding + ":" + source);
    return "<" + source + ">";
  };
  t.Load("<a v='x'>t&amp;u<![CDATA[c]]></a>");
  EXPECT_EQ(t.Scan(), (Lines{"StartTag \"a\" \"v\"=\"<x>\"/Normal/Unknown", "Content \"<t>&<u>\"",
                             "CData \"<c>\"", "EndTag \"a\""}));
  EXPECT_EQ(calls, (Lines{":x", ":t", ":u", ":c"}));
  calls.clear();
  t.Load("<?xml version='1.0' encoding='latin1'?><a>t</a>");
  t.Scan();
  EXPECT_EQ(calls, (Lines{"LATIN1:t"}));
  calls.clear();
  t.Load("<a>t</a>");  // a later document without declaration: the last encoding seen
  t.Scan();
  EXPECT_EQ(calls, (Lines{"LATIN1:t"}));
}

}  // namespace
}  // namespace wf
