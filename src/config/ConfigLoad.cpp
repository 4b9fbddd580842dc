// Reading the configuration file through the XML scanner.

#include "config/Config.h"
#include "xml/XmlScanner.h"

namespace wf {

TConfig::TConfig() : FScanner(std::make_unique<TXmlScanner>()) {}

TConfig::~TConfig() { ClearPairs(); }

void TConfig::LoadFromFile(const std::string& fileName) {
  FFileName = fileName;
  FScanner->SetFilename(fileName);  // a file that cannot be read leaves an empty document
  FScanner->OnEmptyTag = [this](TCustomXmlScanner&, const std::string& tagName,
                                const TAttrList& attributes) {
    ConfigEmptyTag(*FScanner, tagName, attributes);
  };
  FScanner->Scan();
}

void TConfig::ConfigEmptyTag(TXmlScanner&, const std::string& tagName, const TAttrList& attributes) {
  if (tagName != "config") return;
  const TAttr* key = attributes.FindByName("key");
  const TAttr* value = attributes.FindByName("value");
  if (!key || !value) return;
  AddPair(key->Value, value->Value);
}

}  // namespace wf
