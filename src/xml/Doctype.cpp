// The document type declaration: the root name, the external and internal
// subsets and the four kinds of markup declaration in them.

#include <algorithm>

#include "xml/TextRules.h"
#include "xml/XmlLimits.h"
#include "xml/XmlParser.h"
#include "xml/XmlText.h"

namespace wf {

using namespace xmltext;

namespace {

// The openers of the four kinds of markup declaration; each reader starts
// right after its own.
constexpr std::string_view kElementOpener = "<!ELEMENT";
constexpr std::string_view kAttListOpener = "<!ATTLIST";
constexpr std::string_view kEntityOpener = "<!ENTITY";
constexpr std::string_view kNotationOpener = "<!NOTATION";

// Where a reader goes on after an external identifier read at `at`: past the
// closing quote of its literal, or at the delimiter met instead (that ">", "["
// or NUL is the caller's to read), or one further when nothing was read.
const char* AfterExternalID(const TExternalID& id, const char* at) {
  if (id.EndAt == at) return at + 1;
  return IsQuote(*id.EndAt) ? id.EndAt + 1 : id.EndAt;
}

// The position after the first ">" at or after p, or p's NUL.
const char* PastClosingGt(const char* p) {
  const char* gt = Find(p, '>');
  return gt ? gt + 1 : TextEnd(p);
}

TElemContentKind ContentKindOf(const std::string& model) {
  if (model == "EMPTY") return ckEmpty;
  if (model == "ANY") return ckAny;
  if (model.rfind("(#PCDATA", 0) == 0) return ckMixed;
  if (!model.empty() && model[0] == '(') return ckChildrenOnly;
  return ckAny;
}

TAttrKind AttrKindOf(std::string_view word) {
  static const struct {
    const char* word;
    TAttrKind kind;
  } kinds[] = {{"CDATA", akCData},       {"ID", akId},         {"IDREF", akIdRef},
               {"IDREFS", akIdRefs},     {"ENTITY", akEntity}, {"ENTITIES", akEntities},
               {"NMTOKEN", akNmToken},   {"NMTOKENS", akNmTokens}};
  for (const auto& k : kinds)
    if (word == k.word) return k.kind;
  return akUnknown;
}

}  // namespace

TExternalID::TExternalID(const char* at) : EndAt(at) {
  if (StartsWith(at, "SYSTEM")) {
    ReadLiteral(at, SystemId);
  } else if (StartsWith(at, "PUBLIC")) {
    if (ReadLiteral(at, PublicId)) ReadLiteral(EndAt + 1, SystemId);
  }
}

bool TExternalID::ReadLiteral(const char* from, std::string& into) {
  const char* p = from;
  while (*p != '\0' && !IsQuote(*p) && *p != '>' && *p != '[') ++p;
  EndAt = p;
  if (!IsQuote(*p)) return false;
  const char* close = Find(p + 1, *p);
  if (!close) {  // the literal runs to the end of the text
    into.assign(p + 1);
    EndAt = TextEnd(p + 1);
    return false;
  }
  into.assign(p + 1, close);
  EndAt = close;
  return true;
}

const char* TXmlParser::ReportDeclaration(TDeclKind kind, const char* at, const char* r,
                                          TDefinition definition) {
  const char* next = PastClosingGt(r);
  TDeclarationInfo info;
  info.DeclKind = kind;
  info.DeclStart = at;
  info.DeclEnd = next - 1;
  info.Definition = definition;
  Report(info);
  return next;
}

void TXmlParser::ReportError(const char* at) {
  TDeclarationInfo info;
  info.DeclKind = declError;
  info.DeclStart = partStart_;
  info.DeclEnd = at;
  info.ErrorAt = at;
  Report(info);
}

void TXmlParser::ReadDoctype() {
  PartKind = pkDtdDeclaration;
  for (const TDoctypeRead& read : doctypesRead_) {
    if (read.Start == partStart_) {  // read by an earlier scan of this document
      partNext_ = read.Next;
      return;
    }
  }
  // Inside an entity's text the suspended positions below stay: the
  // declaration is read from the depth it was met at.
  const bool inDocument = Inputs.Empty();
  const size_t base = Inputs.Count();
  const size_t outerBase = declBase_;
  declBase_ = base;

  enum { kName, kExternal, kSubset, kAfterSubset } phase = kName;
  const char* r = partStart_ + 9;
  for (;;) {
    char c = *r;
    // Only the declaration's own text can close it: a "]" or ">" that a
    // parameter entity brings is an ordinary character.
    const bool ownText = Inputs.Count() <= base;
    if (c == '>' && ownText) break;
    if (c == '\0') {
      if (ownText) break;
      r = Inputs.Pop();
    } else if (c == '%') {
      r = ParameterReference(r);
    } else if (c == '[') {
      phase = kSubset;
      r = ReadMarkupDecls(r + 1);
    } else if (c == ']' && ownText) {
      phase = kAfterSubset;
      ++r;
    } else if (IsSpace(c)) {
      ++r;
    } else if (phase == kName) {
      if (IsNameStart(c)) {
        const char* end = TokenEnd(r, ccDoctypeNameStop);
        DoctypeName.assign(r, end);
        r = end;
        phase = kExternal;
      } else {
        ++r;
      }
    } else if (phase == kExternal) {
      if (StartsWith(r, "SYSTEM") || StartsWith(r, "PUBLIC")) {
        TExternalID id(r);
        ReadExternalSubset(id);
        r = AfterExternalID(id, r);
      } else {
        ++r;
      }
    } else {
      ReportError(r);
      ++r;
    }
  }

  PartKind = pkDtdDeclaration;
  PartName.clear();
  PartText.clear();
  Inputs.TruncateTo(base);
  declBase_ = outerBase;
  partNext_ = *r == '\0' ? r : r + 1;
  doctypeNext_ = partNext_;
  if (inDocument) doctypesRead_.push_back({partStart_, partNext_});
}

void TXmlParser::ReadExternalSubset(const TExternalID& id) {
  std::unique_ptr<TXmlParser> subset = OpenBudgeted(id.SystemId, id.PublicId, std::string());
  if (!subset) return;
  if (const char* first = Find(subset->TextStart(), "<!")) {
    // Parameter references inside the subset resume inside its text, which is
    // freed below: none of them may outlive the reading.
    const size_t depth = Inputs.Count();
    const size_t outerBase = declBase_;
    declBase_ = depth;
    ReadMarkupDecls(first);
    Inputs.TruncateTo(depth);
    declBase_ = outerBase;
  }
  subset.reset();
  TextsChanged();
}

const char* TXmlParser::ReadMarkupDecls(const char* q) {
  for (;;) {
    char c = *q;
    if (c == '\0') {
      if (Inputs.Count() <= declBase_) return q;
      q = Inputs.Pop();
    } else if (c == '%') {
      q = ParameterReference(q);
    } else if ((c == '>' || c == ']') && Inputs.Count() <= declBase_) {
      return q;  // the subset's own end; one inside a parameter entity's text is passed over
    } else if (c != '<') {
      ++q;
    } else if (StartsWith(q, kElementOpener)) {
      q = ReadElementDecl(q);
    } else if (StartsWith(q, kAttListOpener)) {
      q = ReadAttListDecl(q);
    } else if (StartsWith(q, kEntityOpener)) {
      q = ReadEntityDecl(q);
    } else if (StartsWith(q, kNotationOpener)) {
      q = ReadNotationDecl(q);
    } else if (StartsWith(q, "<?")) {
      const char* next = CutProcessingInstruction(q);
      TDeclarationInfo info;
      info.DeclKind = declPI;
      info.DeclStart = q;
      info.DeclEnd = next - 1;
      info.PITarget = PartName;
      info.PIContent = PartText;
      info.PIAttributes = &PartAttributes;
      Report(info);
      q = next;
    } else if (StartsWith(q, "<!--")) {
      const char* close = Find(q + 4, "-->");
      const char* next = close ? close + 3 : TextEnd(q + 4);
      TDeclarationInfo info;
      info.DeclKind = declComment;
      info.DeclStart = q;
      info.DeclEnd = next - 1;
      Report(info);
      q = next;
    } else {
      TDeclarationInfo info;
      info.DeclKind = declError;
      info.DeclStart = info.DeclEnd = info.ErrorAt = q;
      Report(info);
      ++q;
    }
  }
}

const char* TXmlParser::ParameterReference(const char* at) {
  const char* semi = FindSemicolon(at);
  if (!semi) return at + 1;  // a "%" with no ";" after it is an ordinary character
  const char* next = semi + 1;
  std::string_view name(at + 1, static_cast<size_t>(semi - at - 1));
  const TEntityDef* entity = ParameterEntities.FindByName(name);
  // External parameter entities have no text here and are never opened.
  if (!entity || entity->Value.empty()) return next;
  if (Inputs.IsOpen(entity, true) || Inputs.Count() >= xmllimits::kMaxEntityDepth ||
      !Spend(xmllimits::kReferenceCost + static_cast<int64_t>(entity->Value.size())))
    return next;
  Inputs.Push(nullptr, next, entity, true);
  return entity->Value.c_str();
}

const char* TXmlParser::ReadElementDecl(const char* at) {
  auto element = std::make_unique<TElemDef>();
  const char* r = at + kElementOpener.size();
  while (*r != '\0' && *r != '>' && !IsNameStart(*r)) ++r;
  std::string model;
  if (*r != '\0' && *r != '>') {
    const char* nameEnd = TokenEnd(r, ccSpace);
    element->Name.assign(r, nameEnd);
    const char* gt = Find(nameEnd, '>');
    const char* modelEnd = gt ? gt : TextEnd(nameEnd);
    model.assign(nameEnd, modelEnd);
    r = modelEnd;
  }
  element->ContentModel = ExpandParameterRefs(RemoveWhitespace(model));
  element->ContentKind = ContentKindOf(element->ContentModel);

  // A later declaration replaces the earlier one with its attribute declarations.
  if (int old = ElementDecls.IndexOfName(element->Name); old >= 0) ElementDecls.Delete(old);
  const TElemDef* added = element.get();
  ElementDecls.AddSorted(std::move(element));

  return ReportDeclaration(declElement, at, r, added);
}

const char* TXmlParser::ReadAttListDecl(const char* at) {
  enum { kElement, kAttribute, kType, kNotation, kDefault } phase = kElement;
  TElemDef* element = nullptr;
  TAttrDef* attr = nullptr;
  std::vector<std::string> declared;
  const char* r = at + kAttListOpener.size();
  for (;;) {
    char c = *r;
    if (IsSpace(c)) {
      ++r;
      continue;
    }
    if (c == '%') {
      r = ParameterReference(r);
      continue;
    }
    if (c == '\0') {
      if (Inputs.Count() <= declBase_) break;
      r = Inputs.Pop();
      continue;
    }
    if (c == '>') break;

    switch (phase) {
      case kElement: {
        const char* end = TokenEnd(r, ccAttListStop);
        std::string name(r, end);
        element = ElementDecls.FindByName(name);
        if (!element) {
          auto created = std::make_unique<TElemDef>();
          created->Name = name;
          created->ContentModel = "ANY";
          created->ContentKind = ckAny;
          element = created.get();
          ElementDecls.AddSorted(std::move(created));
        }
        element->LastDeclared.clear();
        r = end;
        phase = kAttribute;
        break;
      }
      case kAttribute: {
        const char* end = TokenEnd(r, ccAttListStop);
        auto created = std::make_unique<TAttrDef>(std::string(r, end), std::string());
        // The last declaration of an attribute wins.
        if (int old = element->IndexOfName(created->Name); old >= 0) element->Delete(old);
        attr = created.get();
        declared.push_back(attr->Name);
        element->AddSorted(std::move(created));
        r = end;
        phase = kType;
        break;
      }
      case kType:
        if (c == '(') {
          // The enumeration is read whole and passed over: stepping through its
          // characters again would let overlapping lists cost quadratic time.
          const char* close = Find(r + 1, ')');
          const char* end = close ? close : TextEnd(r + 1);
          attr->TypeText = ExpandCharRefs(ExpandParameterRefs(RemoveWhitespace(std::string(r + 1, end))));
          attr->AttrKind = akEnumeration;
          r = close ? close + 1 : end;
        } else if (StartsWith(r, "NOTATION")) {
          attr->AttrKind = akNotation;
          r += 8;  // past the keyword and the character after it
          if (*r != '\0') ++r;
          phase = kNotation;
          break;
        } else {
          const char* end = TokenEnd(r, ccAttListStop);
          attr->TypeText.assign(r, end);
          attr->AttrKind = AttrKindOf(attr->TypeText);
          ++r;  // the rest of the word is passed over as part of the default
        }
        phase = kDefault;
        break;
      case kNotation: {
        const char* close = Find(r, ')');
        const char* end = close ? close : TextEnd(r);
        const char* listStart = close == r ? r : r + 1;
        attr->NotationList = RemoveWhitespace(ExpandParameterRefs(std::string(listStart, end)));
        r = close ? close + 1 : end;
        phase = kDefault;
        break;
      }
      case kDefault:
        if (IsQuote(c)) {
          const char* close = Find(r + 1, c);
          const char* end = close ? close : TextEnd(r + 1);
          attr->Value = ExpandCharRefs(ExpandParameterRefs(std::string(r + 1, end)));
          r = close ? close + 1 : end;
          phase = kAttribute;
          attr = nullptr;
        } else if (c == '#') {
          const char* end = TokenEnd(r, ccEntityNameStop);
          std::string keyword = ExpandParameterRefs(std::string(r, end));
          r = end;
          if (keyword == "#REQUIRED" || keyword == "#IMPLIED") {
            attr->DefaultKind = keyword == "#REQUIRED" ? dfRequired : dfImplied;
            phase = kAttribute;
            attr = nullptr;
          } else if (keyword == "#FIXED") {
            attr->DefaultKind = dfFixed;
          }
        } else {
          ++r;
        }
        break;
    }
  }

  TDefinition definition;
  if (element) {
    std::sort(declared.begin(), declared.end());
    declared.erase(std::unique(declared.begin(), declared.end()), declared.end());
    for (const std::string& name : declared)
      if (const TAttrDef* decl = element->FindByName(name)) element->LastDeclared.push_back(decl);
    definition = static_cast<const TElemDef*>(element);
  }
  return ReportDeclaration(declAttList, at, r, definition);
}

const char* TXmlParser::ReadEntityDecl(const char* at) {
  enum { kName, kValue, kExternal, kNotation, kDone } phase = kName;
  auto entity = std::make_unique<TEntityDef>();
  bool parameter = false;
  const char* r = at + kEntityOpener.size();
  for (;;) {
    char c = *r;
    if (c == '>' || c == '\0') break;
    if (IsSpace(c)) {
      ++r;
    } else if (c == '%') {
      parameter = true;
      ++r;
    } else if (phase == kName && IsNameStart(c)) {
      const char* end = TokenEnd(r, ccEntityNameStop);
      entity->Name.assign(r, end);
      r = end;
      phase = kValue;
    } else if (phase == kValue && IsQuote(c)) {
      const char* close = Find(r + 1, c);
      const char* end = close ? close : TextEnd(r + 1);
      entity->Value.assign(r + 1, end);
      r = close ? close + 1 : end;
      phase = kDone;
    } else if (phase == kValue && (StartsWith(r, "SYSTEM") || StartsWith(r, "PUBLIC"))) {
      TExternalID id(r);
      entity->SystemId = id.SystemId;
      entity->PublicId = id.PublicId;
      r = AfterExternalID(id, r);
      phase = kExternal;
    } else if (phase == kExternal && StartsWith(r, "NDATA")) {
      r += 5;
      phase = kNotation;
    } else if (phase == kNotation && IsNameStart(c)) {
      const char* end = TokenEnd(r, ccSpaceOrGt);
      entity->NotationName.assign(r, end);
      r = end;
      phase = kDone;
    } else {
      ++r;
    }
  }

  TNvpList<TEntityDef>& list = parameter ? ParameterEntities : GeneralEntities;
  Retire(list, entity->Name);
  TEntityDef* added = entity.get();
  list.AddSorted(std::move(entity));
  if (!parameter) added->Value = ExpandParameterRefs(added->Value);
  added->Value = ExpandCharRefs(added->Value);

  return ReportDeclaration(declEntity, at, r, added);
}

void TXmlParser::Retire(TNvpList<TEntityDef>& list, const std::string& name) {
  if (int old = list.IndexOfName(name); old >= 0) retiredEntities_.push_back(list.Extract(old));
}

const char* TXmlParser::ReadNotationDecl(const char* at) {
  enum { kName, kIdentifier, kDone } phase = kName;
  auto notation = std::make_unique<TNotationDef>();
  const char* r = at + kNotationOpener.size();
  for (;;) {
    char c = *r;
    if (c == '\0' || c == '>') break;
    if (IsSpace(c)) {
      ++r;
    } else if (phase == kName) {
      const char* end = TokenEnd(r, ccSpaceOrGt);
      notation->Name.assign(r, end);
      r = end;
      phase = kIdentifier;
    } else if (phase == kIdentifier) {
      TExternalID id(r);
      notation->Value = id.SystemId;
      notation->PublicId = id.PublicId;
      r = AfterExternalID(id, r);
      phase = kDone;
    } else {
      ++r;
    }
  }
  const TNotationDef* added = notation.get();
  NotationDecls.AddSorted(std::move(notation));  // an earlier one of the same name stays too

  return ReportDeclaration(declNotation, at, r, added);
}

}  // namespace wf
