#pragma once
// The records a document type declaration builds. They are owned by the parser's
// lists and live until the next load; events hand them out for reading only.

#include <string>
#include <variant>
#include <vector>

#include "xml/NameLists.h"
#include "xml/XmlTypes.h"

namespace wf {

// One attribute of an attribute-list declaration. Value is the default or fixed
// value (empty when none).
struct TAttrDef : TNvpNode {
  using TNvpNode::TNvpNode;
  std::string TypeText;      // the type word as written, or the enumeration without parentheses and whitespace
  std::string NotationList;  // the names of a NOTATION type, without parentheses and whitespace
  TAttrKind AttrKind = akUnknown;
  TAttrDefaultKind DefaultKind = dfDefault;
};

// An element declaration; the list holds its attribute declarations by name.
class TElemDef : public TNvpList<TAttrDef> {
 public:
  std::string Name;
  TElemContentKind ContentKind = ckAny;
  std::string ContentModel;  // whitespace removed, parameter references expanded
  // The attribute declarations that the latest attribute-list declaration for
  // this element made (and that are still in force), in name order: what that
  // declaration added, where the list holds what all of them added.
  std::vector<const TAttrDef*> LastDeclared;
};

using TElemList = TNameList<TElemDef>;

// Value is the replacement text of an internal entity, empty for an external one.
struct TEntityDef : TNvpNode {
  using TNvpNode::TNvpNode;
  std::string SystemId;
  std::string PublicId;
  std::string NotationName;  // the name after NDATA of an unparsed entity
};

// Value is the system identifier.
struct TNotationDef : TNvpNode {
  using TNvpNode::TNvpNode;
  std::string PublicId;
};

// An external identifier (SYSTEM or PUBLIC) read at a position.
class TExternalID {
 public:
  explicit TExternalID(const char* at);

  std::string PublicId;
  std::string SystemId;
  // Where reading stopped: a literal's closing quote, or the NUL, ">" or "[" that
  // was met instead of a literal; `at` itself when no keyword stands there.
  const char* EndAt;

 private:
  bool ReadLiteral(const char* from, std::string& into);
};

// One item met while a document type declaration is read. DeclStart and DeclEnd
// are its first and last characters; an item that ran on through a parameter
// entity's text may end in another text than it began in.
struct TDeclarationInfo {
  const char* DeclStart = nullptr;
  const char* DeclEnd = nullptr;
  TDeclKind DeclKind = declError;
  std::variant<std::monostate, const TElemDef*, const TEntityDef*, const TNotationDef*> Definition;
  std::string PITarget;
  std::string PIContent;
  const TAttrList* PIAttributes = nullptr;
  const char* ErrorAt = nullptr;
};

}  // namespace wf
