#include "config/Config.h"

#include "common/Errors.h"
#include "common/IntegerText.h"
#include "platform/Files.h"

namespace wf {

namespace {

// Attribute value text that the scanner reads back as exactly these bytes: the
// delimiting quote, "<" and "&" are written as references, everything else as
// held. "&amp;" would be read back as "&" and then, followed by "#", taken for a
// character reference, so there "&" is written as "&#38;".
std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case '&': out += (i + 1 < text.size() && text[i + 1] == '#') ? "&#38;" : "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '<': out += "&lt;"; break;
      default: out += text[i];
    }
  }
  return out;
}

}  // namespace

void TConfig::ClearPairs() { FPairs.clear(); }

void TConfig::AddPair(std::string key, std::string value) {
  FPairs.push_back(std::make_unique<TPair>(TPair{std::move(key), std::move(value)}));
}

const TPair* TConfig::FindPair(std::string_view key) const {
  for (const auto& pair : FPairs)
    if (pair->Key == key) return pair.get();
  return nullptr;
}

TPair* TConfig::MutablePair(std::string_view key) {
  return const_cast<TPair*>(static_cast<const TConfig&>(*this).FindPair(key));
}

std::string TConfig::GetValue(std::string_view key) const {
  const TPair* pair = FindPair(key);
  return pair ? pair->Value : std::string();
}

int32_t TConfig::GetInteger(std::string_view key) const {
  const TPair* pair = FindPair(key);
  return pair ? ParseIntegerOrZero(pair->Value) : 0;
}

void TConfig::SetInteger(std::string_view key, int32_t value) {
  if (TPair* pair = MutablePair(key))
    pair->Value = NumberText(value);
  else
    AddPair(std::string(key), NumberText(value));
  SaveToFile(FFileName);
}

std::string TConfig::FileText() const {
  std::string text = "<configuration>\r\n";
  for (const auto& pair : FPairs)
    text += "<config key=\"" + Escaped(pair->Key) + "\" value=\"" + Escaped(pair->Value) + "\" />\r\n";
  text += "</configuration>\r\n";
  return text;
}

void TConfig::SaveToFile(const std::string& fileName) {
  FFileName = fileName;
  if (int code = platform::ReplaceFileContents(fileName, FileText())) throw EInOutError(code);
}

}  // namespace wf
