#include "xml/XmlScanner.h"

#include "common/Errors.h"

namespace wf {

std::unique_ptr<TXmlParser> TScannerXmlParser::OpenExternal(const std::string& SystemId,
                                                            const std::string& PublicId,
                                                            const std::string& NotationId) {
  if (!Scanner.OnLoadExternal) return TXmlParser::OpenExternal(SystemId, PublicId, NotationId);
  std::unique_ptr<TXmlParser> result;
  Scanner.OnLoadExternal(Scanner, SystemId, PublicId, NotationId, result);
  return result;
}

std::string TScannerXmlParser::ConvertText(const std::string& Source) {
  if (!Scanner.OnTranslateEncoding) return TXmlParser::ConvertText(Source);
  return Scanner.OnTranslateEncoding(Scanner, ActiveEncoding, Source);
}

void TScannerXmlParser::DeclarationFound(const TDeclarationInfo& Info) {
  switch (Info.DeclKind) {
    case declElement:
      if (auto def = std::get_if<const TElemDef*>(&Info.Definition)) Scanner.FireElement(**def);
      break;
    case declAttList:
      // An attribute list without an element name has nothing to hand out.
      if (auto def = std::get_if<const TElemDef*>(&Info.Definition)) Scanner.FireAttList(**def);
      break;
    case declEntity:
      if (auto def = std::get_if<const TEntityDef*>(&Info.Definition)) Scanner.FireEntity(**def);
      break;
    case declNotation:
      if (auto def = std::get_if<const TNotationDef*>(&Info.Definition)) Scanner.FireNotation(**def);
      break;
    case declPI:
      Scanner.FirePI(Info.PITarget, Info.PIContent, *Info.PIAttributes);
      break;
    case declComment:
      Scanner.FireComment(std::string(Info.DeclStart, Info.DeclEnd + 1));
      break;
    case declError:
      Scanner.FireDtdError(Info.ErrorAt);
      break;
  }
}

TCustomXmlScanner::TCustomXmlScanner() : Parser(std::make_unique<TScannerXmlParser>(*this)) {}

TCustomXmlScanner::~TCustomXmlScanner() = default;

void TCustomXmlScanner::RefuseWhileScanning(const char* what) const {
  if (scanning_) throw Exception(std::string("The XML scanner cannot ") + what + " while it scans");
}

void TCustomXmlScanner::SetFilename(const std::string& value) {
  RefuseWhileScanning("load a document");
  Parser->LoadDocument(value, platform::ShareMode::DenyNone);
}

void TCustomXmlScanner::Scan() {
  RefuseWhileScanning("start another scan");
  struct Guard {
    bool& flag;
    explicit Guard(bool& f) : flag(f) { flag = true; }
    ~Guard() { flag = false; }
  } guard(scanning_);

  StopRequested = false;
  TScannerXmlParser& p = *Parser;
  p.RestartScan();
  while (p.NextPart() && !StopRequested) {
    switch (p.PartKind) {
      case pkXmlProlog:
        FireXmlProlog(p.DeclaredVersion, p.DeclaredEncoding, p.DeclaredStandalone);
        break;
      case pkComment:
        FireComment(std::string(p.PartStart(), p.PartNext()));
        break;
      case pkPI:
        FirePI(p.PartName, p.PartText, p.PartAttributes);
        break;
      case pkDtdDeclaration:
        FireDtdRead(p.DoctypeName);
        break;
      case pkStartTag:
        FireStartTag(p.PartName, p.PartAttributes);
        break;
      case pkEmptyTag:
        FireEmptyTag(p.PartName, p.PartAttributes);
        break;
      case pkEndTag:
        FireEndTag(p.PartName);
        break;
      case pkText:
        FireContent(p.PartText);
        break;
      case pkCData:
        FireCData(p.PartText);
        break;
      case pkNone:
        break;
    }
  }
}

void TCustomXmlScanner::FireXmlProlog(const std::string& XmlVersion, const std::string& Encoding,
                                      bool Standalone) {
  if (OnXmlProlog) OnXmlProlog(*this, XmlVersion, Encoding, Standalone);
}
void TCustomXmlScanner::FireComment(const std::string& Comment) {
  if (OnComment) OnComment(*this, Comment);
}
void TCustomXmlScanner::FirePI(const std::string& Target, const std::string& Content,
                               const TAttrList& Attributes) {
  if (OnPI) OnPI(*this, Target, Content, Attributes);
}
void TCustomXmlScanner::FireDtdRead(const std::string& RootElementName) {
  if (OnDtdRead) OnDtdRead(*this, RootElementName);
}
void TCustomXmlScanner::FireStartTag(const std::string& TagName, const TAttrList& Attributes) {
  if (OnStartTag) OnStartTag(*this, TagName, Attributes);
}
void TCustomXmlScanner::FireEmptyTag(const std::string& TagName, const TAttrList& Attributes) {
  if (OnEmptyTag) OnEmptyTag(*this, TagName, Attributes);
}
void TCustomXmlScanner::FireEndTag(const std::string& TagName) {
  if (OnEndTag) OnEndTag(*this, TagName);
}
void TCustomXmlScanner::FireContent(const std::string& Content) {
  if (OnContent) OnContent(*this, Content);
}
void TCustomXmlScanner::FireCData(const std::string& Content) {
  if (OnCData) OnCData(*this, Content);
}
void TCustomXmlScanner::FireElement(const TElemDef& ElemDef) {
  if (OnElement) OnElement(*this, ElemDef);
}
void TCustomXmlScanner::FireAttList(const TElemDef& ElemDef) {
  if (OnAttList) OnAttList(*this, ElemDef);
}
void TCustomXmlScanner::FireEntity(const TEntityDef& EntityDef) {
  if (OnEntity) OnEntity(*this, EntityDef);
}
void TCustomXmlScanner::FireNotation(const TNotationDef& NotationDef) {
  if (OnNotation) OnNotation(*this, NotationDef);
}
void TCustomXmlScanner::FireDtdError(const char* ErrorPos) {
  if (OnDtdError) OnDtdError(*this, ErrorPos);
}

}  // namespace wf
