// Entity references in attribute values and parameter references in
// declaration texts, expanded into new strings; and the opening of external texts.

#include <algorithm>
#include <new>

#include "xml/XmlLimits.h"
#include "xml/XmlParser.h"
#include "xml/XmlText.h"

namespace wf {

using namespace xmltext;

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

}  // namespace

// A system identifier as a file name: relative ones are taken against the
// directory of the document that names them. Both "/" and "\" separate, so the
// same document works on every system.
std::string ResolveSystemId(const std::string& sourceName, const std::string& systemId) {
  std::string path = systemId;
  for (char& c : path)
    if (IsSeparator(c)) c = kSeparator;
#ifdef _WIN32
  bool absolute = (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) ||
                  (path.size() >= 2 && path[1] == ':');
  const char* directoryEnds = "\\/:";
#else
  bool absolute = !path.empty() && path[0] == kSeparator;
  const char* directoryEnds = "/";
#endif
  if (absolute || (!sourceName.empty() && sourceName[0] == '<')) return path;
  size_t cut = sourceName.find_last_of(directoryEnds);
  return (cut == std::string::npos ? std::string() : sourceName.substr(0, cut + 1)) + path;
}

std::unique_ptr<TXmlParser> TXmlParser::OpenExternal(const std::string& SystemId,
                                                     const std::string&, const std::string&) {
  const std::string path = ResolveSystemId(SourceName, SystemId);
  auto text = std::make_unique<TXmlParser>();
  if (const std::string* read = ExternalFileText(path)) text->LoadText(*read, path);
  return text;
}

const std::string* TXmlParser::ExternalFileText(const std::string& path) {
  // A document that names one file many times would otherwise read it from
  // disk for every reference.
  auto [at, added] = externalFiles_.try_emplace(path);
  std::optional<std::string>& kept = at->second;
  if (added) {
    try {
      kept = platform::ReadWholeFile(path, platform::ShareMode::DenyNone, nullptr,
                                     xmllimits::kMaxExternalText);
    } catch (const std::bad_alloc&) {
      // too large to hold: the same as a file that cannot be read
    }
    if (kept) {
      externalBytesRead_ += kept->size();
      // No reader goes past a NUL: the bytes after it were only read, so they
      // are charged here, and not kept.
      size_t used = std::min(kept->find('\0'), kept->size());
      if (Spend(static_cast<int64_t>(kept->size() - used)))
        kept->resize(used);
      else
        kept.reset();
    }
  }
  return kept ? &*kept : nullptr;
}

std::unique_ptr<TXmlParser> TXmlParser::OpenBudgeted(const std::string& systemId,
                                                     const std::string& publicId,
                                                     const std::string& notationId) {
  if (!Spend(xmllimits::kExternalTextCost)) return nullptr;
  std::unique_ptr<TXmlParser> text = OpenExternal(systemId, publicId, notationId);
  TextsChanged();
  if (!text) return nullptr;
  // The whole text that is held, also past a NUL in it.
  const uint64_t size = text->BufferSize() > 0 ? static_cast<uint64_t>(text->BufferSize()) - 1 : 0;
  if (size > xmllimits::kMaxExternalText || !Spend(static_cast<int64_t>(size))) return nullptr;
  return text;
}

std::string TXmlParser::ExpandEntityRefs(const std::string& S) {
  std::vector<const TEntityDef*> open;
  return ExpandEntityRefsIn(S, open);
}

std::string TXmlParser::ExpandEntityRefsIn(const std::string& S,
                                           std::vector<const TEntityDef*>& open) {
  std::string out;
  size_t pos = 0;
  for (;;) {
    size_t amp = S.find('&', pos);
    if (amp == std::string::npos) break;
    size_t semi = S.find(';', amp + 2);
    if (semi == std::string::npos) break;
    out.append(S, pos, amp - pos);
    std::string_view name(S.data() + amp + 1, semi - amp - 1);
    if (int c = PredefinedEntity(name); c >= 0)
      out += static_cast<char>(c);
    else if (const TEntityDef* entity = GeneralEntities.FindByName(name))
      out += ReferencedText(*entity, open);
    else
      out.append(S, amp, semi - amp + 1);
    pos = semi + 1;
  }
  out.append(S, pos, std::string::npos);
  return out;
}

std::string TXmlParser::ReferencedText(const TEntityDef& entity,
                                       std::vector<const TEntityDef*>& open) {
  if (std::find(open.begin(), open.end(), &entity) != open.end() ||
      open.size() >= xmllimits::kMaxEntityDepth)
    return std::string();
  std::string text;
  if (!entity.Value.empty()) {
    if (!Spend(xmllimits::kReferenceCost + static_cast<int64_t>(entity.Value.size())))
      return std::string();
    text = entity.Value;
  } else {
    std::unique_ptr<TXmlParser> external =
        OpenBudgeted(entity.SystemId, entity.PublicId, entity.NotationName);
    if (!external) return std::string();
    text = external->TextStart();
  }
  open.push_back(&entity);
  std::string expanded = ExpandEntityRefsIn(text, open);
  open.pop_back();
  return expanded;
}

std::string TXmlParser::ExpandParameterRefs(const std::string& S) {
  std::vector<const TEntityDef*> open;
  return ExpandParameterRefsIn(S, open);
}

std::string TXmlParser::ExpandParameterRefsIn(const std::string& S,
                                              std::vector<const TEntityDef*>& open) {
  std::string out;
  size_t pos = 0;
  for (;;) {
    size_t percent = S.find('%', pos);
    if (percent == std::string::npos) break;
    size_t semi = S.find(';', percent + 2);
    if (semi == std::string::npos) break;
    out.append(S, pos, percent - pos);
    std::string_view name(S.data() + percent + 1, semi - percent - 1);
    if (const TEntityDef* entity = ParameterEntities.FindByName(name)) {
      bool refused = std::find(open.begin(), open.end(), entity) != open.end() ||
                     open.size() >= xmllimits::kMaxEntityDepth ||
                     !Spend(xmllimits::kReferenceCost + static_cast<int64_t>(entity->Value.size()));
      if (!refused) {
        open.push_back(entity);
        out += ExpandParameterRefsIn(entity->Value, open);
        open.pop_back();
      }
    } else {
      out.append(S, percent, semi - percent + 1);
    }
    pos = semi + 1;
  }
  out.append(S, pos, std::string::npos);
  return out;
}

}  // namespace wf
