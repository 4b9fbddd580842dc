// The scan loop: dispatch to events, stopping, handler errors, refusing re-entry.

#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "common/Errors.h"

namespace wf {
namespace {

using testing::Lines;
using testing::TracedScanner;

TEST(Scan, UnboundEventsDoNothingAndSenderIsTheScanner) {
  TXmlScanner s;
  s.Parser->LoadText("<?xml version='1.0'?><!DOCTYPE a [<!ELEMENT a ANY>]><a x='1'>t<![CDATA[c]]></a>");
  s.Scan();  // nothing bound: nothing to observe but that it returns
  int calls = 0;
  s.OnEndTag = [&](TCustomXmlScanner& sender, const std::string& name) {
    EXPECT_EQ(&sender, &s);
    EXPECT_EQ(name, "a");
    ++calls;
  };
  s.Scan();
  EXPECT_EQ(calls, 1);
}

TEST(Scan, StopRequestedEndsTheScanAfterReadingTheNextPart) {
  TracedScanner t;
  t.Scanner.OnStartTag = [&](TCustomXmlScanner& sender, const std::string& name, const TAttrList&) {
    t.Events.push_back("StartTag " + name);
    sender.StopRequested = true;
  };
  t.Load("<a><b/><c/>");
  EXPECT_EQ(t.Scan(), (Lines{"StartTag a"}));
  // The empty tag b was read (it is the current part) but not delivered.
  EXPECT_EQ(t.Scanner.Parser->PartKind, pkEmptyTag);
  EXPECT_EQ(t.Scanner.Parser->PartName, "b");
  // The flag is reset by the next scan.
  t.Scanner.OnStartTag = nullptr;
  EXPECT_EQ(t.Scan(), (Lines{"EmptyTag \"b\"", "EmptyTag \"c\""}));
}

TEST(Scan, HandlerErrorsPassOutAndTheNextScanStartsAgain) {
  TracedScanner t;
  bool fail = true;
  t.Scanner.OnEmptyTag = [&](TCustomXmlScanner&, const std::string& name, const TAttrList&) {
    t.Events.push_back(name);
    if (fail && name == "b") throw EConvertError("stop");
  };
  t.Load("<a/><b/><c/>");
  EXPECT_THROW(t.Scan(), EConvertError);
  EXPECT_EQ(t.Events, (Lines{"a", "b"}));
  fail = false;
  EXPECT_EQ(t.Scan(), (Lines{"a", "b", "c"}));
}

TEST(Scan, ScanningOrLoadingFromInsideAHandlerIsRefused) {
  TXmlScanner s;
  s.Parser->LoadText("<a/><b/>");
  int seen = 0;
  s.OnEmptyTag = [&](TCustomXmlScanner& sender, const std::string&, const TAttrList&) {
    ++seen;
    EXPECT_THROW(sender.Scan(), Exception);
    EXPECT_THROW(s.SetFilename("other.xml"), Exception);
  };
  s.Scan();
  EXPECT_EQ(seen, 2);  // the refused calls changed nothing
}

// A scanner made for one purpose overrides the firing operations; that only
// works if every event, the declarations read inside the document type too,
// is delivered through its operation and never straight to the handler.
TEST(Scan, EveryEventGoesThroughItsFiringOperation) {
  struct Intercepting : TXmlScanner {
    Lines fired;
    void FireXmlProlog(const std::string&, const std::string&, bool) override { fired.push_back("XmlProlog"); }
    void FireComment(const std::string&) override { fired.push_back("Comment"); }
    void FirePI(const std::string&, const std::string&, const TAttrList&) override { fired.push_back("PI"); }
    void FireDtdRead(const std::string&) override { fired.push_back("DtdRead"); }
    void FireStartTag(const std::string&, const TAttrList&) override { fired.push_back("StartTag"); }
    void FireEmptyTag(const std::string&, const TAttrList&) override { fired.push_back("EmptyTag"); }
    void FireEndTag(const std::string&) override { fired.push_back("EndTag"); }
    void FireContent(const std::string&) override { fired.push_back("Content"); }
    void FireCData(const std::string&) override { fired.push_back("CData"); }
    void FireElement(const TElemDef&) override { fired.push_back("Element"); }
    void FireAttList(const TElemDef&) override { fired.push_back("AttList"); }
    void FireEntity(const TEntityDef&) override { fired.push_back("Entity"); }
    void FireNotation(const TNotationDef&) override { fired.push_back("Notation"); }
    void FireDtdError(const char*) override { fired.push_back("DtdError"); }
  } s;
  Lines handled;
  xmltrace::BindTrace(s, [&](const std::string& line) { handled.push_back(line); });
  // The declaration in error leaves the "]>" after it as text.
  s.Parser->LoadText(
      "<?xml version='1.0'?><!DOCTYPE a [<!ELEMENT a ANY><!ATTLIST a x CDATA #IMPLIED>"
      "<!ENTITY e 'v'><!NOTATION n SYSTEM 'n'><!-- c --><?p x?><!FOO>]>"
      "<!-- d --><?q y?><a x='1'>t<![CDATA[c]]><b/></a>");
  s.Scan();
  EXPECT_EQ(s.fired, (Lines{"XmlProlog", "Element", "AttList", "Entity", "Notation", "Comment", "PI",
                            "DtdError", "DtdRead", "Content", "Comment", "PI", "StartTag", "Content", "CData",
                            "EmptyTag", "EndTag"}));
  EXPECT_TRUE(handled.empty()) << handled.front();
}

TEST(Scan, EmptyTagFiresOnlyItsOwnEvent) {
  TracedScanner t;
  t.Load("<config key='CurrentMap' value='2'/>");
  EXPECT_EQ(t.Scan(), (Lines{"EmptyTag \"config\" \"key\"=\"CurrentMap\"/Normal/Unknown "
                             "\"value\"=\"2\"/Normal/Unknown"}));
}

}  // namespace
}  // namespace wf
