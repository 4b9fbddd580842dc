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

TEST(Scan, FiringOperationsCanBeOverridden) {
  struct Counting : TXmlScanner {
    int contents = 0;
    void FireContent(const std::string& text) override {
      ++contents;
      TXmlScanner::FireContent(text + "!");
    }
  } s;
  std::string seen;
  s.OnContent = [&](TCustomXmlScanner&, const std::string& text) { seen += text; };
  s.Parser->LoadText("<a>x</a><b>y</b>");
  s.Scan();
  EXPECT_EQ(s.contents, 2);
  EXPECT_EQ(seen, "x!y!");
}

TEST(Scan, EmptyTagFiresOnlyItsOwnEvent) {
  TracedScanner t;
  t.Load("<config key='CurrentMap' value='2'/>");
  EXPECT_EQ(t.Scan(), (Lines{"EmptyTag \"config\" \"key\"=\"CurrentMap\"/Normal/Unknown "
                             "\"value\"=\"2\"/Normal/Unknown"}));
}

}  // namespace
}  // namespace wf
