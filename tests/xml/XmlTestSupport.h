#pragma once
// Scanning documents in tests: every event becomes one xmltrace line.

#include <string>
#include <string_view>
#include <vector>

#include "XmlTrace.h"
#include "xml/XmlScanner.h"

namespace wf::testing {

using Lines = std::vector<std::string>;

class TracedScanner {
 public:
  TracedScanner() {
    xmltrace::BindTrace(Scanner, [this](const std::string& line) { Events.push_back(line); });
  }
  // Loads the text as the document; `sourceName` decides where relative system
  // identifiers are looked for.
  void Load(std::string_view document, bool raw = false, const std::string& sourceName = "<test>") {
    Scanner.Parser->LoadText(document, sourceName);
    if (raw) Scanner.SetNormalize(false);
  }
  void LoadFile(const std::string& path, bool raw = false) {
    Scanner.SetFilename(path);
    if (raw) Scanner.SetNormalize(false);
  }
  Lines Scan() {
    Events.clear();
    Scanner.Scan();
    return Events;
  }

  TXmlScanner Scanner;
  Lines Events;
};

inline Lines Trace(std::string_view document, bool raw = false) {
  TracedScanner t;
  t.Load(document, raw);
  return t.Scan();
}

inline Lines TraceFile(const std::string& path, bool raw = false) {
  TracedScanner t;
  t.LoadFile(path, raw);
  return t.Scan();
}

}  // namespace wf::testing
