// Character data, and the references met in it.

#include "xml/TextRules.h"
#include "xml/XmlLimits.h"
#include "xml/XmlParser.h"
#include "xml/XmlText.h"

namespace wf {

using namespace xmltext;

bool TXmlParser::ReadCharacterData() {
  PartKind = pkText;
  PartText.clear();
  const char* p = partStart_;
  const char* run = p;  // document text not yet converted and appended
  auto flush = [&] { PartText += ConvertText(std::string(run, p)); };
  for (;;) {
    char c = *p;
    if (c == '\0' && !Inputs.Empty()) {
      flush();
      p = run = Inputs.Pop();
    } else if (c == '&') {
      flush();
      p = run = CharacterDataReference(p);
    } else if (c == '<' || c == '\0') {
      break;
    } else {
      ++p;
    }
  }
  flush();
  partNext_ = p;
  if (Normalize) {
    PartText = FoldWhitespace(TrimWhitespace(PartText), true);
    if (PartText.empty()) return false;
  }
  return true;
}

const char* TXmlParser::CharacterDataReference(const char* at) {
  const char* semi = FindSemicolon(at);
  if (!semi) return at + 1;  // the "&" is dropped
  std::string_view name(at + 1, static_cast<size_t>(semi - at - 1));
  const char* next = semi + 1;

  if (at[1] == '#') {
    uint32_t number;
    if (at[2] == 'x' || at[2] == 'X')
      number = ReadHexReference(name.substr(2)).value_or(32);
    else
      number = ReadDecimalReference(name.substr(1)).value_or(32);
    PartText += static_cast<char>(number & 0xFF);
    return next;
  }
  if (int c = PredefinedEntity(name); c >= 0) {
    PartText += static_cast<char>(c);
    return next;
  }

  const TEntityDef* entity = GeneralEntities.FindByName(name);
  if (!entity) {
    PartText.append(name);
    return next;
  }
  // An entity met again inside its own text, or nested too deep, reads as empty.
  if (Inputs.IsOpen(entity, false) || Inputs.Count() >= xmllimits::kMaxEntityDepth) return next;
  if (!entity->Value.empty()) {
    if (!Spend(xmllimits::kReferenceCost + static_cast<int64_t>(entity->Value.size()))) return next;
    Inputs.Push(nullptr, next, entity);
    return entity->Value.c_str();
  }
  std::unique_ptr<TXmlParser> text =
      OpenBudgeted(entity->SystemId, entity->PublicId, entity->NotationName);
  if (!text) return next;
  const char* start = text->TextStart();
  Inputs.Push(std::move(text), next, entity);
  return start;
}

}  // namespace wf
