#include "XmlTrace.h"

#include <cstring>
#include <memory>
#include <ostream>
#include <vector>

namespace wf::xmltrace {

std::string Quoted(std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (char ch : text) {
    auto b = static_cast<unsigned char>(ch);
    switch (b) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case 9: out += "\\t"; break;
      case 10: out += "\\n"; break;
      case 13: out += "\\r"; break;
      default:
        if (b < 32 || b > 126) {
          out += "\\x";
          out += kHex[b >> 4];
          out += kHex[b & 15];
        } else {
          out += ch;
        }
    }
  }
  out += '"';
  return out;
}

std::string AttributesText(const TAttrList& attributes) {
  std::string out;
  for (const TAttr& a : attributes) {
    out += ' ' + Quoted(a.Name) + '=' + Quoted(a.Value) + '/' + AttrValueKindNames[a.ValueKind] +
           '/' + AttrKindNames[a.AttrKind];
  }
  return out;
}

std::string ErrorText(const char* errorPos) {
  size_t n = 0;
  while (n < 16 && errorPos[n] != '\0') ++n;
  return std::string(errorPos, n);
}

void BindTrace(TCustomXmlScanner& scanner, std::function<void(const std::string&)> line) {
  auto emit = std::make_shared<std::function<void(const std::string&)>>(std::move(line));
  scanner.OnXmlProlog = [emit](TCustomXmlScanner&, const std::string& version,
                               const std::string& encoding, bool standalone) {
    (*emit)("XmlProlog " + Quoted(version) + ' ' + Quoted(encoding) + (standalone ? " true" : " false"));
  };
  scanner.OnComment = [emit](TCustomXmlScanner&, const std::string& comment) {
    (*emit)("Comment " + Quoted(comment));
  };
  scanner.OnPI = [emit](TCustomXmlScanner&, const std::string& target, const std::string& content,
                        const TAttrList& attributes) {
    (*emit)("PI " + Quoted(target) + ' ' + Quoted(content) + AttributesText(attributes));
  };
  scanner.OnDtdRead = [emit](TCustomXmlScanner&, const std::string& root) {
    (*emit)("DtdRead " + Quoted(root));
  };
  scanner.OnStartTag = [emit](TCustomXmlScanner&, const std::string& name, const TAttrList& attributes) {
    (*emit)("StartTag " + Quoted(name) + AttributesText(attributes));
  };
  scanner.OnEmptyTag = [emit](TCustomXmlScanner&, const std::string& name, const TAttrList& attributes) {
    (*emit)("EmptyTag " + Quoted(name) + AttributesText(attributes));
  };
  scanner.OnEndTag = [emit](TCustomXmlScanner&, const std::string& name) {
    (*emit)("EndTag " + Quoted(name));
  };
  scanner.OnContent = [emit](TCustomXmlScanner&, const std::string& text) {
    (*emit)("Content " + Quoted(text));
  };
  scanner.OnCData = [emit](TCustomXmlScanner&, const std::string& text) {
    (*emit)("CData " + Quoted(text));
  };
  scanner.OnElement = [emit](TCustomXmlScanner&, const TElemDef& def) {
    (*emit)("Element " + Quoted(def.Name) + ' ' + Quoted(ElemContentKindNames[def.ContentKind]) + ' ' +
            Quoted(def.ContentModel));
  };
  scanner.OnAttList = [emit](TCustomXmlScanner&, const TElemDef& def) {
    std::string text = "AttList " + Quoted(def.Name);
    // Only what this declaration declared: the element's whole list, again at
    // every declaration, would grow with the square of their number.
    for (const TAttrDef* a : def.LastDeclared)
      text += " [" + Quoted(a->Name) + ' ' + Quoted(a->Value) + ' ' + Quoted(a->TypeText) + ' ' +
              Quoted(a->NotationList) + ' ' + AttrKindNames[a->AttrKind] + ' ' +
              DefaultKindNames[a->DefaultKind] + ']';
    (*emit)(text);
  };
  scanner.OnEntity = [emit](TCustomXmlScanner&, const TEntityDef& def) {
    (*emit)("Entity " + Quoted(def.Name) + ' ' + Quoted(def.Value) + ' ' + Quoted(def.SystemId) + ' ' +
            Quoted(def.PublicId) + ' ' + Quoted(def.NotationName));
  };
  scanner.OnNotation = [emit](TCustomXmlScanner&, const TNotationDef& def) {
    (*emit)("Notation " + Quoted(def.Name) + ' ' + Quoted(def.Value) + ' ' + Quoted(def.PublicId));
  };
  scanner.OnDtdError = [emit](TCustomXmlScanner&, const char* pos) {
    (*emit)("DtdError " + Quoted(ErrorText(pos)));
  };
}

int RunXmlTrace(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  bool raw = false;
  if (!args.empty() && args[0] == "--raw") {
    raw = true;
    args.erase(args.begin());
  }
  if (args.size() != 1 || args[0].empty() || args[0] == "--raw" ||
      (args[0].size() > 1 && args[0][0] == '-')) {
    err << "usage: xmltrace [--raw] FILE\n"
           "Scans the XML document FILE and prints one line per scanner event.\n"
           "--raw  keep character data as written (no whitespace trimming)\n";
    return 2;
  }
  TXmlScanner scanner;
  scanner.SetFilename(args[0]);
  if (raw) scanner.SetNormalize(false);
  BindTrace(scanner, [&out](const std::string& line) { out << line << '\n'; });
  scanner.Scan();
  out.flush();
  return 0;
}

}  // namespace wf::xmltrace
