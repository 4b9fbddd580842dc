// Document type declarations: the records they build, the events they fire, and
// the defaults, fixed values and types that then take effect on tags.

#include <gtest/gtest.h>

#include "TempDir.h"
#include "XmlTestSupport.h"

namespace wf {
namespace {

using namespace testing;

TEST(Declarations, ElementAndAttributeDeclarationsGiveDefaultsToTags) {
  EXPECT_EQ(Trace("<!DOCTYPE note [\n"
                  "  <!ELEMENT note (to,from)>\n"
                  "  <!ATTLIST note lang CDATA 'en' id ID #IMPLIED>\n"
                  "]>\n"
                  "<note/><note id='  n1  ' lang='de'/>"),
            (Lines{"Element \"note\" \"Childs only\" \"(to,from)\"",
                   "AttList \"note\" [\"id\" \"\" \"ID\" \"\" ID Implied] [\"lang\" \"en\" \"CDATA\" \"\" CDATA Default]",
                   "DtdRead \"note\"",
                   "EmptyTag \"note\" \"lang\"=\"en\"/Default/CDATA",
                   "EmptyTag \"note\" \"id\"=\"n1\"/Implied/ID \"lang\"=\"de\"/Normal/CDATA"}));
}

TEST(Declarations, FixedValuesAndTypesTakeEffectOnTags) {
  Lines got = Trace("<!DOCTYPE t [<!ATTLIST t f CDATA #FIXED 'fx' n NMTOKENS #IMPLIED e (a|b) 'a' "
                    "r CDATA #REQUIRED w FOO 'x'>]>"
                    "<t f='other' n='  a   b ' r=' 1  2 '/><t/>");
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[0], "AttList \"t\" [\"e\" \"a\" \"a|b\" \"\" Enumeration Default] "
                    "[\"f\" \"fx\" \"CDATA\" \"\" CDATA Fixed] [\"n\" \"\" \"NMTOKENS\" \"\" NMTOKENS Implied] "
                    "[\"r\" \"\" \"CDATA\" \"\" CDATA Required] [\"w\" \"x\" \"FOO\" \"\" Unknown Default]");
  EXPECT_EQ(got[2], "EmptyTag \"t\" \"e\"=\"a\"/Default/Enumeration \"f\"=\"fx\"/Fixed/CDATA "
                    "\"n\"=\"a b\"/Implied/NMTOKENS \"r\"=\" 1  2 \"/Normal/CDATA \"w\"=\"x\"/Default/Unknown");
  EXPECT_EQ(got[3], "EmptyTag \"t\" \"e\"=\"a\"/Default/Enumeration \"f\"=\"fx\"/Fixed/CDATA "
                    "\"w\"=\"x\"/Default/Unknown");
}

TEST(Declarations, ContentModelsAreStoredWithoutWhitespaceAndClassified) {
  struct Case {
    const char* decl;
    const char* expected;
  };
  const Case cases[] = {
      {"<!ELEMENT x ( a , b )>", "Element \"x\" \"Childs only\" \"(a,b)\""},
      {"<!ELEMENT x (#PCDATA|b)*>", "Element \"x\" \"Mixed\" \"(#PCDATA|b)*\""},
      {"<!ELEMENT x EMPTY>", "Element \"x\" \"Empty\" \"EMPTY\""},
      {"<!ELEMENT x ANY>", "Element \"x\" \"Any\" \"ANY\""},
      {"<!ELEMENT x whatever>", "Element \"x\" \"Any\" \"whatever\""},
      {"<!ELEMENT x>", "Element \"x\" \"Any\" \"\""},
      {"<!ELEMENT 9 x>", "Element \"x\" \"Any\" \"\""},  // skipped to the first name character
      {"<!ELEMENT >", "Element \"\" \"Any\" \"\""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Trace(std::string("<!DOCTYPE d [") + c.decl + "]>")[0], c.expected) << c.decl;
}

TEST(Declarations, LaterDeclarationsReplaceEarlierOnesButNotationsAccumulate) {
  TracedScanner t;
  t.Load("<!DOCTYPE d [<!ATTLIST e a CDATA 'x' b CDATA 'y'><!ATTLIST e a CDATA 'z'>"
         "<!ELEMENT e EMPTY><!ENTITY n 'one'><!ENTITY n 'two'>"
         "<!NOTATION g SYSTEM 'first'><!NOTATION g PUBLIC 'pub' 'second'>]><e/>&n;");
  EXPECT_EQ(t.Scan(),
            (Lines{"AttList \"e\" [\"a\" \"x\" \"CDATA\" \"\" CDATA Default] [\"b\" \"y\" \"CDATA\" \"\" CDATA Default]",
                   "AttList \"e\" [\"a\" \"z\" \"CDATA\" \"\" CDATA Default]",
                   "Element \"e\" \"Empty\" \"EMPTY\"",  // drops the attribute declarations
                   "Entity \"n\" \"one\" \"\" \"\" \"\"", "Entity \"n\" \"two\" \"\" \"\" \"\"",
                   "Notation \"g\" \"first\" \"\"", "Notation \"g\" \"second\" \"pub\"", "DtdRead \"d\"",
                   "EmptyTag \"e\"", "Content \"two\""}));
  EXPECT_EQ(t.Scanner.Parser->NotationDecls.Count(), 2);
  EXPECT_EQ(t.Scanner.Parser->GeneralEntities.Count(), 1);
  // An attribute list for an undeclared element declares it with the model ANY.
  EXPECT_EQ(Trace("<!DOCTYPE d [<!ATTLIST u a CDATA 'v'>]><u/>")[2], "EmptyTag \"u\" \"a\"=\"v\"/Default/CDATA");
  TracedScanner u;
  u.Load("<!DOCTYPE d [<!ATTLIST u a CDATA 'v'>]>");
  u.Scan();
  ASSERT_NE(u.Scanner.Parser->ElementDecls.FindByName("u"), nullptr);
  EXPECT_EQ(u.Scanner.Parser->ElementDecls.FindByName("u")->ContentModel, "ANY");
}

TEST(Declarations, EntityDeclarationsRecordIdentifiersAndNotations) {
  EXPECT_EQ(Trace("<!DOCTYPE d [<!ENTITY logo SYSTEM \"logo.gif\" NDATA gif>"
                  "<!ENTITY p PUBLIC '-//P//EN' 'p.xml'><!ENTITY q PUBLIC 'only'>"
                  "<!ENTITY % pe 'CDATA'><!ENTITY c 'a&#65;&#x42;'>]>"),
            (Lines{"Entity \"logo\" \"\" \"logo.gif\" \"\" \"gif\"", "Entity \"p\" \"\" \"p.xml\" \"-//P//EN\" \"\"",
                   "Entity \"q\" \"\" \"\" \"only\" \"\"", "Entity \"pe\" \"CDATA\" \"\" \"\" \"\"",
                   "Entity \"c\" \"aAB\" \"\" \"\" \"\"", "DtdRead \"d\""}));
}

TEST(Declarations, ParameterEntitiesAreReadInPlaceAndExpandedInDeclarationTexts) {
  Lines got = Trace(
      "<!DOCTYPE d [<!ENTITY % pe 'CDATA'><!ENTITY % m '(a|b)'><!ENTITY % decls '<!ELEMENT x EMPTY>'>"
      "<!ENTITY % v 'dv'><!ENTITY g 'g%v;'>"
      "<!ATTLIST e a %pe; #IMPLIED c (%m;|c) '%v;'><!ELEMENT y %m;>%decls;]><e a=' 1  2 '/>");
  EXPECT_EQ(got, (Lines{"Entity \"pe\" \"CDATA\" \"\" \"\" \"\"", "Entity \"m\" \"(a|b)\" \"\" \"\" \"\"",
                        "Entity \"decls\" \"<!ELEMENT x EMPTY>\" \"\" \"\" \"\"", "Entity \"v\" \"dv\" \"\" \"\" \"\"",
                        "Entity \"g\" \"gdv\" \"\" \"\" \"\"",
                        "AttList \"e\" [\"a\" \"\" \"CDATA\" \"\" CDATA Implied] [\"c\" \"dv\" \"(a|b)|c\" \"\" Enumeration Default]",
                        "Element \"y\" \"Childs only\" \"(a|b)\"", "Element \"x\" \"Empty\" \"EMPTY\"",
                        "DtdRead \"d\"",
                        "EmptyTag \"e\" \"a\"=\" 1  2 \"/Implied/CDATA \"c\"=\"dv\"/Default/Enumeration"}));
}

TEST(Declarations, NotationTypesAndNotationDeclarations) {
  EXPECT_EQ(Trace("<!DOCTYPE d [<!NOTATION gif SYSTEM 'image/gif'><!NOTATION n>"
                  "<!ATTLIST img t NOTATION ( gif | png ) 'gif'>]>"),
            (Lines{"Notation \"gif\" \"image/gif\" \"\"", "Notation \"n\" \"\" \"\"",
                   "AttList \"img\" [\"t\" \"gif\" \"\" \"gif|png\" Notation Default]", "DtdRead \"d\""}));
}

TEST(Declarations, ProcessingInstructionsAndCommentsInsideAreReported) {
  EXPECT_EQ(Trace("<!DOCTYPE d [<?pi a='1'?><!-- c -->]><x/>"),
            (Lines{"PI \"pi\" \" a='1'\" \"a\"=\"1\"/Normal/Unknown", "Comment \"<!-- c -->\"", "DtdRead \"d\"",
                   "EmptyTag \"x\""}));
}

TEST(Declarations, UnknownMarkupAndStrayTextAreErrors) {
  // <!FOO>'s ">" ends the subset and the whole declaration: "]>" is text.
  EXPECT_EQ(Trace("<!DOCTYPE d [<!FOO>]><x/>"),
            (Lines{"DtdError \"<!FOO>]><x/>\"", "DtdRead \"d\"", "Content \"]>\"", "EmptyTag \"x\""}));
  EXPECT_EQ(Trace("<!DOCTYPE d [ ] junk><x/>"),
            (Lines{"DtdError \"junk><x/>\"", "DtdError \"unk><x/>\"", "DtdError \"nk><x/>\"", "DtdError \"k><x/>\"",
                   "DtdRead \"d\"", "EmptyTag \"x\""}));
}

TEST(Declarations, OnlyTheDocumentsOwnBracketAndGtEndTheDeclaration) {
  struct Case {
    const char* name;
    const char* doc;
    Lines expected;
  };
  const Case cases[] = {
      {"a closing text in the subset is passed over",
       "<!DOCTYPE d [<!ENTITY % e ']>'> %e; ]><config key='a' value='b'/>",
       {"Entity \"e\" \"]>\" \"\" \"\" \"\"", "DtdRead \"d\"",
        "EmptyTag \"config\" \"key\"=\"a\"/Normal/Unknown \"value\"=\"b\"/Normal/Unknown"}},
      {"declarations after it still count",
       "<!DOCTYPE d [<!ENTITY % e '>'>%e;<!ENTITY x 'X'>]><t>&x;</t>",
       {"Entity \"e\" \">\" \"\" \"\" \"\"", "Entity \"x\" \"X\" \"\" \"\" \"\"", "DtdRead \"d\"",
        "StartTag \"t\"", "Content \"X\"", "EndTag \"t\""}},
      {"a declaration and a close in one text",
       "<!DOCTYPE d [<!ENTITY % e \"<!ENTITY y 'Y'>]>\">%e;]><t>&y;</t>",
       {"Entity \"e\" \"<!ENTITY y 'Y'>]>\" \"\" \"\" \"\"", "Entity \"y\" \"Y\" \"\" \"\" \"\"",
        "DtdRead \"d\"", "StartTag \"t\"", "Content \"Y\"", "EndTag \"t\""}},
      {"after the subset it is stray text", "<!DOCTYPE d [<!ENTITY % e ']>'>] %e; ><t/>",
       {"Entity \"e\" \"]>\" \"\" \"\" \"\"", "DtdError \"]>\"", "DtdError \">\"", "DtdRead \"d\"",
        "EmptyTag \"t\""}},
      {"without its own end the declaration runs to the end of the input",
       "<!DOCTYPE d [<!ENTITY % e ']>'> %e; <x/>",
       {"Entity \"e\" \"]>\" \"\" \"\" \"\"", "DtdError \"<x/>\"", "DtdRead \"d\""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Trace(c.doc), c.expected);
  }
}

TEST(Declarations, ExternalSubsetIsReadBeforeTheInternalOne) {
  TempDir dir;
  dir.Write("ext.dtd", "<?xml version='1.0' encoding='UTF-8'?>\n<!ENTITY a 'external'><!ENTITY b 'ext-b'>"
                       "<!ATTLIST t x CDATA 'ex'>");
  std::string doc = dir.Write("doc.xml", "<!DOCTYPE t SYSTEM 'ext.dtd' [<!ENTITY a 'internal'>]><t>&a; &b;</t>");
  EXPECT_EQ(TraceFile(doc),
            (Lines{"Entity \"a\" \"external\" \"\" \"\" \"\"", "Entity \"b\" \"ext-b\" \"\" \"\" \"\"",
                   "AttList \"t\" [\"x\" \"ex\" \"CDATA\" \"\" CDATA Default]",
                   "Entity \"a\" \"internal\" \"\" \"\" \"\"", "DtdRead \"t\"",
                   "StartTag \"t\" \"x\"=\"ex\"/Default/CDATA", "Content \"internal ext-b\"", "EndTag \"t\""}));
  std::string missing = dir.Write("missing.xml", "<!DOCTYPE t PUBLIC 'p' 'nothing.dtd'><t/>");
  EXPECT_EQ(TraceFile(missing), (Lines{"DtdRead \"t\"", "EmptyTag \"t\""}));
}

TEST(Declarations, SecondScanKeepsTheEffectsWithoutReadingAgain) {
  TracedScanner t;
  t.Load("<!DOCTYPE d [<!ENTITY e 'E'><!ATTLIST t a CDATA 'v'>]><t>&e;</t>");
  Lines first = t.Scan();
  EXPECT_EQ(first.size(), 6u);
  EXPECT_EQ(t.Scan(), (Lines{"DtdRead \"d\"", "StartTag \"t\" \"a\"=\"v\"/Default/CDATA", "Content \"E\"",
                             "EndTag \"t\""}));
  const char* text = t.Scanner.Parser->TextStart();
  EXPECT_EQ(t.Scanner.Parser->DoctypeEnd(), text + std::string(text).find("]>") + 1);
}

TEST(Declarations, UnterminatedDeclarationsEndAtTheEndOfTheInput) {
  struct Case {
    const char* doc;
    Lines expected;
  };
  const Case cases[] = {
      {"<!DOCTYPE", {"DtdRead \"\""}},
      {"<!DOCTYPE d", {"DtdRead \"d\""}},
      {"<!DOCTYPE d [", {"DtdRead \"d\""}},
      {"<!DOCTYPE d [<!ELEMENT e (a", {"Element \"e\" \"Childs only\" \"(a\"", "DtdRead \"d\""}},
      {"<!DOCTYPE d [<!ATTLIST e a (x", {"AttList \"e\" [\"a\" \"\" \"x\" \"\" Enumeration Default]", "DtdRead \"d\""}},
      {"<!DOCTYPE d [<!ATTLIST e a NOTATION", {"AttList \"e\" [\"a\" \"\" \"\" \"\" Notation Default]", "DtdRead \"d\""}},
      {"<!DOCTYPE d [<!ATTLIST e a CDATA 'v", {"AttList \"e\" [\"a\" \"v\" \"CDATA\" \"\" CDATA Default]", "DtdRead \"d\""}},
      {"<!DOCTYPE d [<!ATTLIST", {"DtdRead \"d\""}},  // no element: nothing to report
      {"<!DOCTYPE d [<!ENTITY e 'v", {"Entity \"e\" \"v\" \"\" \"\" \"\"", "DtdRead \"d\""}},
      {"<!DOCTYPE d [<!ENTITY e SYSTEM", {"Entity \"e\" \"\" \"\" \"\" \"\"", "DtdRead \"d\""}},
      {"<!DOCTYPE d [<!ENTITY e PUBLIC 'p", {"Entity \"e\" \"\" \"\" \"p\" \"\"", "DtdRead \"d\""}},
      {"<!DOCTYPE d [<!NOTATION n SYSTEM", {"Notation \"n\" \"\" \"\"", "DtdRead \"d\""}},
      {"<!DOCTYPE d [<!-- c", {"Comment \"<!-- c\"", "DtdRead \"d\""}},
      {"<!DOCTYPE d [<?pi", {"PI \"pi\" \"\"", "DtdRead \"d\""}},
      {"<!DOCTYPE d [<", {"DtdError \"<\"", "DtdRead \"d\""}},
      {"<!DOCTYPE d SYSTEM", {"DtdRead \"d\""}},
      {"<!DOCTYPE d PUBLIC 'p'>x", {"DtdRead \"d\"", "Content \"x\""}},
      {"<!DOCTYPE d SYSTEM>x", {"DtdRead \"d\"", "Content \"x\""}},
  };
  for (const Case& c : cases) EXPECT_EQ(Trace(c.doc), c.expected) << c.doc;
}

}  // namespace
}  // namespace wf
