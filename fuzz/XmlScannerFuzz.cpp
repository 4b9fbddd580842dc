// libFuzzer entry for the XML scanner. The input is the document; its last byte
// also chooses the options: whitespace mode, what external texts the hook
// supplies, whether the encoding hook is bound, and an early stop.

#include <cstddef>
#include <cstdint>
#include <string>

#include "xml/CodePage1252.h"
#include "xml/XmlScanner.h"

namespace {

// Touches every byte a handler may read, so the sanitizers check it.
volatile size_t g_sink;
void UseOne(const std::string& s) {
  g_sink = g_sink + s.size() + (s.empty() ? 0 : static_cast<unsigned char>(s.back()));
}
void UseOne(const wf::TAttrList& list) {
  for (const wf::TAttr& a : list) {
    UseOne(a.Name);
    UseOne(a.Value);
  }
}
template <class... T>
void Use(const T&... values) {
  (UseOne(values), ...);
}

const char kExternalText[] =
    "<?xml version='1.0' encoding='UTF-8'?><!ENTITY ext 'e&amp;x'><!ATTLIST f a CDATA 'd'>"
    "<x a='&lt;\xC3\xA4'>in &ext; \xE2\x82\xAC</x>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t options = size > 0 ? data[size - 1] : 0;
  const std::string document(reinterpret_cast<const char*>(data), size);

  wf::TXmlScanner scanner;
  int events = 0;
  auto count = [&](wf::TCustomXmlScanner& sender) {
    if ((options & 0x80) && ++events == (options & 0x0F)) sender.StopRequested = true;
  };
  scanner.OnXmlProlog = [&](wf::TCustomXmlScanner& s, const std::string& v, const std::string& e, bool) {
    Use(v, e); count(s);
  };
  scanner.OnComment = [&](wf::TCustomXmlScanner& s, const std::string& c) { Use(c); count(s); };
  scanner.OnPI = [&](wf::TCustomXmlScanner& s, const std::string& t, const std::string& c,
                     const wf::TAttrList& a) { Use(t, c, a); count(s); };
  scanner.OnDtdRead = [&](wf::TCustomXmlScanner& s, const std::string& n) { Use(n); count(s); };
  scanner.OnStartTag = [&](wf::TCustomXmlScanner& s, const std::string& n, const wf::TAttrList& a) {
    Use(n, a); count(s);
  };
  scanner.OnEmptyTag = scanner.OnStartTag;
  scanner.OnEndTag = [&](wf::TCustomXmlScanner& s, const std::string& n) { Use(n); count(s); };
  scanner.OnContent = [&](wf::TCustomXmlScanner& s, const std::string& t) { Use(t); count(s); };
  scanner.OnCData = scanner.OnContent;
  scanner.OnElement = [&](wf::TCustomXmlScanner& s, const wf::TElemDef& d) {
    Use(d.Name, d.ContentModel); count(s);
    for (const wf::TAttrDef& a : d) Use(a.Name, a.Value, a.TypeText, a.NotationList);
  };
  scanner.OnAttList = scanner.OnElement;
  scanner.OnEntity = [&](wf::TCustomXmlScanner& s, const wf::TEntityDef& d) {
    Use(d.Name, d.Value, d.SystemId, d.PublicId, d.NotationName); count(s);
  };
  scanner.OnNotation = [&](wf::TCustomXmlScanner& s, const wf::TNotationDef& d) {
    Use(d.Name, d.Value, d.PublicId); count(s);
  };
  scanner.OnDtdError = [&](wf::TCustomXmlScanner& s, const char* at) {
    Use(std::string(at)); count(s);  // may be read up to the NUL of its text
  };
  // Never the file system: no text, the document itself, or a fixed text.
  scanner.OnLoadExternal = [&](wf::TCustomXmlScanner&, const std::string& systemId, const std::string&,
                               const std::string&, std::unique_ptr<wf::TXmlParser>& result) {
    const int supply = (options >> 4) & 3;  // 0 never, 1 always, else by the identifier
    if (supply == 0 || (supply > 1 && systemId.size() % 2)) return;
    result = std::make_unique<wf::TXmlParser>();
    const bool itself = !systemId.empty() && (static_cast<unsigned char>(systemId[0]) & 1);
    result->LoadText(itself ? document : std::string(kExternalText));
  };
  if (options & 0x40)
    scanner.OnTranslateEncoding = [](wf::TCustomXmlScanner&, const std::string& encoding,
                                     const std::string& source) {
      return encoding == "UTF-8" ? wf::DecodeUtf8(source, '?') : source;
    };

  scanner.Parser->LoadText(document, "<fuzz>");
  if (options & 1) scanner.SetNormalize(false);
  scanner.Scan();
  scanner.Scan();  // the second scan passes over the declaration read by the first
  return 0;
}
