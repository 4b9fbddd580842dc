#pragma once
// xmltrace's output: one line per scanner event, in document order.
//
//   XmlProlog "VERSION" "ENCODING" true|false      Comment "TEXT"
//   PI "TARGET" "CONTENT" ATTRS                    DtdRead "ROOT"
//   StartTag "NAME" ATTRS   EmptyTag "NAME" ATTRS  EndTag "NAME"
//   Content "TEXT"   CData "TEXT"
//   Element "NAME" "KIND" "MODEL"
//   AttList "NAME" ["NAME" "VALUE" "TYPETEXT" "NOTATIONLIST" ATTRKIND DEFAULTKIND]...
//   Entity "NAME" "VALUE" "SYSTEMID" "PUBLICID" "NOTATIONNAME"
//   Notation "NAME" "VALUE" "PUBLICID"             DtdError "TEXT"
//
// ATTRS is, per attribute in list order, ` "NAME"="VALUE"/VALUEKIND/ATTRKIND`.
// AttList shows the attribute declarations that one declaration made, in name
// order; those of earlier declarations for the element were shown with them.

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

#include "xml/XmlScanner.h"

namespace wf::xmltrace {

// In double quotes: "\\" and "\"" escaped, bytes 9, 10, 13 as \t \n \r, every
// other byte below 32 or above 126 as \x and two lower-case hex digits.
std::string Quoted(std::string_view text);

// ` "NAME"="VALUE"/VALUEKIND/ATTRKIND` for each attribute.
std::string AttributesText(const TAttrList& attributes);

// The text an OnDtdError position shows: at most 16 bytes, ending early at NUL.
std::string ErrorText(const char* errorPos);

// Binds every event but OnLoadExternal and OnTranslateEncoding (binding those
// would change what is read); each event hands its line, without line end, to `line`.
void BindTrace(TCustomXmlScanner& scanner, std::function<void(const std::string&)> line);

// The whole program: `xmltrace [--raw] FILE`. Returns the exit code: 0 after a
// scan (a missing file prints nothing), 2 with a usage message on bad arguments.
int RunXmlTrace(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace wf::xmltrace
