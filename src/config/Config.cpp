#include "config/Config.h"

#include <algorithm>

#include "common/Errors.h"
#include "common/IntegerText.h"
#include "platform/Files.h"

namespace wf {

namespace {

// Attribute value text that the scanner reads back as exactly these bytes: the
// delimiting quote, "<" and "&" are written as references, a byte 0 (which
// would end the document) as a character reference, everything else as held.
// "&amp;" would be read back as "&" and then, followed by "#", taken for a
// character reference, so there "&" is written as "&#38;". Tabs and line breaks
// read back as spaces however they are written; SaveToFile finds that out.
std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case '&': out += (i + 1 < text.size() && text[i + 1] == '#') ? "&#38;" : "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '<': out += "&lt;"; break;
      case '\0': out += "&#0;"; break;
      default: out += text[i];
    }
  }
  return out;
}

std::string LeftAloneMessage(const std::string& fileName, const std::string& reason) {
  return "The configuration file " + fileName + " is not changed by the program, because " + reason +
         "; settings changed now last only until the program ends";
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

void TConfig::SetValue(std::string_view key, std::string value) {
  if (TPair* pair = MutablePair(key))
    pair->Value = std::move(value);
  else
    AddPair(std::string(key), std::move(value));
}

void TConfig::SetInteger(std::string_view key, int32_t value) { SetString(key, NumberText(value)); }

void TConfig::SetString(std::string_view key, std::string value) {
  SetValue(key, value);
  auto change = std::find_if(FChanges.begin(), FChanges.end(),
                             [&](const auto& c) { return c.first == key; });
  if (change != FChanges.end())
    change->second = std::move(value);
  else
    FChanges.emplace_back(std::string(key), std::move(value));
  TakeInOutsideChanges();
  SaveToFile(FFileName);
}

void TConfig::TakeInOutsideChanges() {
  if (FFileName.empty() || (!FLeftAlone.empty() && FLeftAloneFile == FFileName)) return;
  std::optional<std::string> now = platform::ReadWholeFile(FFileName, platform::ShareMode::DenyNone);
  // A file deleted meanwhile holds nothing to merge: it is written anew from
  // the pairs held.
  if (now == FFileBytes || (!now && !platform::FileExists(FFileName))) return;
  ClearPairs();
  ReadFile(FFileName);
  for (const auto& [key, value] : FChanges) SetValue(key, value);
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
  if (FLeftAloneFile != fileName) {
    FLeftAlone.clear();
    FLeftAloneTold = false;
  }
  const std::string text = FileText();
  if (FLeftAlone.empty() && !ReadsBackExactly(text)) {
    FLeftAloneFile = fileName;
    FLeftAlone = "a setting could not be written so that it reads back as it is";
  }
  if (!FLeftAlone.empty()) {
    if (FLeftAloneTold) return;
    FLeftAloneTold = true;
    throw Exception(LeftAloneMessage(fileName, FLeftAlone));
  }
  if (int code = platform::ReplaceFileContents(fileName, text)) throw EInOutError(code);
  FFileBytes = text;
}

}  // namespace wf
