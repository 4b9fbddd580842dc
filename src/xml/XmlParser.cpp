#include "xml/XmlParser.h"

#include <cstring>
#include <limits>
#include <new>

#include "xml/CodePage1252.h"
#include "xml/TextRules.h"
#include "xml/XmlLimits.h"
#include "xml/XmlText.h"

namespace wf {

using namespace xmltext;

TXmlParser::TXmlParser() { ClearDocument(); }

TXmlParser::~TXmlParser() { ClearDocument(); }

bool TXmlParser::LoadDocument(const std::string& FileName, platform::ShareMode OpenMode) {
  ClearDocument();
  bool held = false;
  try {
    std::optional<std::string> data = platform::ReadWholeFile(FileName, OpenMode);
    held = data && HoldText(*data);
  } catch (const std::bad_alloc&) {
    // too large to hold: the same as a file that cannot be read
  }
  if (!held) {
    ClearDocument();
    return false;
  }
  SourceName = FileName;
  return true;
}

void TXmlParser::LoadText(std::string_view text, const std::string& sourceName) {
  ClearDocument();
  if (HoldText(text)) SourceName = sourceName;
}

bool TXmlParser::HoldText(std::string_view text) {
  if (text.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) return false;
  const size_t size = text.size() + 1;
  buffer_.reset(new (std::nothrow) char[size]);
  if (!buffer_) return false;
  if (!text.empty()) std::memcpy(buffer_.get(), text.data(), text.size());
  buffer_[text.size()] = '\0';
  bufferSize_ = static_cast<int32_t>(size);
  ResetBudget();
  return true;
}

void TXmlParser::ClearDocument() {
  Inputs.Clear();
  buffer_.reset();
  bufferSize_ = 0;
  SourceName.clear();
  DeclaredVersion.clear();
  DeclaredEncoding.clear();
  DoctypeName.clear();
  DeclaredStandalone = false;
  doctypesRead_.clear();
  doctypeNext_ = nullptr;
  Normalize = true;
  ElementDecls.Clear();
  GeneralEntities.Clear();
  ParameterEntities.Clear();
  NotationDecls.Clear();
  retiredEntities_.clear();
  PartAttributes.Clear();
  // The positions pointed into the old text; reading from them again would read
  // freed memory, so a NextPart without RestartScan starts at the beginning.
  partStart_ = nullptr;
  partNext_ = nullptr;
  TextsChanged();
  ResetBudget();
}

void TXmlParser::RestartScan() {
  PartKind = pkNone;
  PartName.clear();
  PartText.clear();
  partStart_ = nullptr;
  partNext_ = nullptr;
  PartAttributes.Clear();
  Inputs.Clear();
  ResetBudget();
}

const char* TXmlParser::TextStart() const { return buffer_ ? buffer_.get() : ""; }

bool TXmlParser::NextPart() {
  for (;;) {
    partStart_ = partStart_ ? partNext_ : TextStart();
    while (*partStart_ == '\0' && !Inputs.Empty()) partStart_ = Inputs.Pop();
    partNext_ = partStart_;
    if (*partStart_ == '\0') {
      partStart_ = TextEnd(TextStart());
      partNext_ = partStart_;
      Inputs.Clear();
      return false;
    }
    if (ReadPart()) return true;
  }
}

bool TXmlParser::ReadPart() {
  const char* p = partStart_;
  if (StartsWith(p, "<?xml") && IsSpace(p[5])) {
    ReadXmlDeclaration();
  } else if (StartsWith(p, "<?")) {
    PartKind = pkPI;
    partNext_ = CutProcessingInstruction(p);
  } else if (StartsWith(p, "<!--")) {
    ReadComment();
  } else if (StartsWith(p, "<!DOCTYPE")) {
    ReadDoctype();
  } else if (StartsWith(p, "<![CDATA[")) {
    ReadCData();
  } else if (*p != '<') {
    return ReadCharacterData();
  } else {
    ReadTag();
  }
  return true;
}

void TXmlParser::ReadXmlDeclaration() {
  const char* stop = PartAttributes.ParseAttributes(partStart_ + 5);
  if (Inputs.Empty()) {
    DeclaredVersion = PartAttributes.ValueOf("version");
    DeclaredEncoding = PartAttributes.ValueOf("encoding");
    DeclaredStandalone = PartAttributes.ValueOf("standalone") == "yes";
  }
  const char* close = Find(stop, "?>");
  partNext_ = close ? close + 2 : TextEnd(stop);
  std::string encoding = UpperCaseAscii(PartAttributes.ValueOf("encoding"));
  ActiveEncoding = encoding.empty() ? "UTF-8" : encoding;
  PartKind = pkXmlProlog;
  PartName.clear();
  PartText.clear();
}

void TXmlParser::ReadComment() {
  PartKind = pkComment;
  const char* close = Find(partStart_ + 4, "-->");
  partNext_ = close ? close + 3 : TextEnd(partStart_ + 4);
}

const char* TXmlParser::CutProcessingInstruction(const char* at) {
  const char* close = Find(at + 2, "?>");
  const char* next = close ? close + 2 : TextEnd(at + 2);
  const char* target = at + 2;
  const char* targetEnd = TokenEnd(target, ccTargetStop);
  PartName.assign(target, targetEnd);
  // Up to two characters before the part's end: the "?>" when there is one,
  // and the last two characters of an unterminated instruction.
  const char* textEnd = next - 2;
  if (Within(textEnd, targetEnd, next))
    PartText.assign(targetEnd, textEnd);
  else
    PartText.clear();
  PartAttributes.ParseAttributes(targetEnd);
  return next;
}

void TXmlParser::ReadCData() {
  PartKind = pkCData;
  const char* text = partStart_ + 9;
  const char* close = Find(text, "]]>");
  const char* textEnd = close ? close : TextEnd(text);
  partNext_ = close ? close + 3 : textEnd;
  PartText = ConvertText(std::string(text, textEnd));
}

void TXmlParser::ReadTag() {
  PartKind = pkStartTag;
  const char* p = partStart_ + 1;
  if (*p == '/') {
    PartKind = pkEndTag;
    ++p;
  }
  const char* nameEnd = TokenEnd(p, ccTagNameStop);
  PartName.assign(p, nameEnd);
  const char* stop = PartAttributes.ParseAttributes(nameEnd);
  if (*stop == '/') PartKind = pkEmptyTag;
  const char* close = Find(stop, '>');
  partNext_ = close ? close + 1 : TextEnd(stop);
  if (PartKind != pkEndTag) ApplyAttributeRules();
}

void TXmlParser::ApplyAttributeRules() {
  if (const TElemDef* element = ElementDecls.FindByName(PartName)) {
    for (TAttrDef& decl : *element) {
      if (!Spend(xmllimits::kDeclaredAttributeCost + static_cast<int64_t>(decl.Value.size()))) break;
      TAttr* attr = PartAttributes.FindByName(decl.Name);
      if (!attr && !decl.Value.empty()) {
        auto added = std::make_unique<TAttr>(decl.Name, decl.Value);
        added->ValueKind = avDefault;
        attr = added.get();
        PartAttributes.AddSorted(std::move(added));
      }
      if (!attr) continue;
      if (decl.DefaultKind == dfImplied) attr->ValueKind = avImplied;
      if (decl.DefaultKind == dfFixed) {
        attr->ValueKind = avFixed;
        attr->Value = decl.Value;
      }
      attr->AttrKind = decl.AttrKind;
    }
  }
  for (TAttr& attr : PartAttributes) {
    std::string value = ExpandCharRefs(ExpandEntityRefs(attr.Value));
    if (attr.AttrKind != akUnknown && attr.AttrKind != akCData)
      value = TrimWhitespace(FoldWhitespace(value, true));
    else
      value = FoldWhitespace(value, false);
    attr.Value = ConvertText(value);
  }
}

std::string TXmlParser::ConvertText(const std::string& Source) {
  if (ActiveEncoding == "UTF-8") return DecodeUtf8(Source, 191);
  return Source;
}

void TXmlParser::DeclarationFound(const TDeclarationInfo&) {}

void TXmlParser::ResetBudget() {
  budgetLeft_ = xmllimits::kBudgetBase +
                xmllimits::kBudgetPerDocumentByte * int64_t{bufferSize_};
  budgetSpent_ = false;
  // A file may have changed since the last scan: the next one reads it again.
  externalFiles_.clear();
  externalBytesRead_ = 0;
}

bool TXmlParser::Spend(int64_t cost) {
  if (budgetSpent_) return false;
  if (cost > budgetLeft_) {
    budgetSpent_ = true;
    budgetLeft_ = 0;
    return false;
  }
  budgetLeft_ -= cost;
  return true;
}

const char* TXmlParser::FindSemicolon(const char* from) {
  // Without this, every "&" or "%" of a long text that has no ";" after it
  // would search to the end again.
  if (noSemicolonGeneration_ == textGeneration_ && noSemicolonFrom_ &&
      Within(from, noSemicolonFrom_, noSemicolonTo_))
    return nullptr;
  const char* p = from;
  while (*p != '\0' && *p != ';') ++p;
  if (*p == ';') return p;
  noSemicolonGeneration_ = textGeneration_;
  noSemicolonFrom_ = from;
  noSemicolonTo_ = p;
  return nullptr;
}

}  // namespace wf
