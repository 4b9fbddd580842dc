#include "xml/XmlTypes.h"

namespace wf {

const char* const PartKindNames[10] = {
    "",          "XML Prolog", "Comment",   "PI",       "DTD Declaration",
    "Start Tag", "Empty Tag",  "End Tag",   "Text",     "CDATA",
};

const char* const AttrValueKindNames[4] = {"Normal", "Implied", "Fixed", "Default"};

const char* const AttrKindNames[11] = {
    "Unknown", "CDATA",   "ID",       "IDREF",    "IDREFS",      "ENTITY",
    "ENTITIES", "NMTOKEN", "NMTOKENS", "Notation", "Enumeration",
};

const char* const ElemContentKindNames[4] = {"Empty", "Any", "Childs only", "Mixed"};

const char* const DefaultKindNames[4] = {"Default", "Required", "Implied", "Fixed"};

}  // namespace wf
