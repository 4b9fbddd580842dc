#pragma once
// The scanner's enumerations and their display names. The names are part of the
// scanner's public vocabulary (xmltrace prints them) even though the program's
// own windows never show them.

#include <cstdint>

namespace wf {

enum TPartKind : uint8_t {
  pkNone,
  pkXmlProlog,
  pkComment,
  pkPI,
  pkDtdDeclaration,
  pkStartTag,
  pkEmptyTag,
  pkEndTag,
  pkText,
  pkCData,
};

enum TAttrValueKind : uint8_t {
  avNormal,   // written in the tag
  avImplied,  // declared #IMPLIED
  avFixed,    // declared #FIXED: the declared value was forced in
  avDefault,  // missing from the tag, added with the declared default
};

enum TAttrKind : uint8_t {
  akUnknown,  // attribute of an undeclared element, or an unknown type word
  akCData,
  akId,
  akIdRef,
  akIdRefs,
  akEntity,
  akEntities,
  akNmToken,
  akNmTokens,
  akNotation,
  akEnumeration,
};

enum TElemContentKind : uint8_t {
  ckEmpty,
  ckAny,
  ckChildrenOnly,
  ckMixed,
};

enum TAttrDefaultKind : uint8_t {
  dfDefault,
  dfRequired,
  dfImplied,
  dfFixed,
};

enum TDeclKind : uint8_t {
  declElement,
  declAttList,
  declEntity,
  declNotation,
  declPI,
  declComment,
  declError,
};

extern const char* const PartKindNames[10];
extern const char* const AttrValueKindNames[4];
extern const char* const AttrKindNames[11];
extern const char* const ElemContentKindNames[4];
extern const char* const DefaultKindNames[4];

}  // namespace wf
