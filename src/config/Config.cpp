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

void TConfig::Apply(const TChange& change) {
  if (!change.Value) {
    std::erase_if(FPairs, [&](const auto& pair) { return pair->Key == change.Key; });
    return;
  }
  TPair* first = MutablePair(change.Key);
  if (!first) {
    AddPair(change.Key, *change.Value);
    return;
  }
  first->Value = *change.Value;
  if (change.OnlyPair)
    std::erase_if(FPairs, [&](const auto& pair) { return pair->Key == change.Key && pair.get() != first; });
}

void TConfig::SetValue(std::string_view key, std::string value, bool onlyPair) {
  FChanges.push_back({std::string(key), std::move(value), onlyPair});
  Apply(FChanges.back());
}

void TConfig::RemoveKey(std::string_view key) {
  FChanges.push_back({std::string(key), std::nullopt});
  Apply(FChanges.back());
}

void TConfig::SetInteger(std::string_view key, int32_t value) { SetString(key, NumberText(value)); }

void TConfig::SetString(std::string_view key, std::string value) {
  SetValue(key, std::move(value));
  Save();
}

void TConfig::Save() {
  if (TakeInOutsideChanges()) SaveToFile(FFileName);
}

bool TConfig::TakeInOutsideChanges() {
  if (FFileName.empty() || (!FLeftAlone.empty() && FLeftAloneFile == FFileName)) return true;
  std::string failure;
  std::optional<std::string> now =
      platform::ReadWholeFile(FFileName, platform::ShareMode::DenyNone, nullptr, UINT64_MAX, &failure);
  // A file deleted meanwhile holds nothing to merge: it is written anew from
  // the pairs held.
  if (now == FFileBytes || (!now && !platform::FileExists(FFileName))) return true;
  TConfig fresh;
  fresh.TakeFile(now, failure, FFileName);
  // At start such a file is read as it is; here it is most likely being
  // written, and what it holds is not yet what it will hold.
  if (fresh.FLeftAlone.empty() && !fresh.FRootEnded)
    fresh.FLeftAlone = "it is empty or ends before its root element does (another program may be writing it)";
  if (!fresh.FLeftAlone.empty()) {
    // What the file holds now is not known: the pairs held stay, and the
    // changes wait for a write that can read it.
    if (FRereadTold) return false;
    FRereadTold = true;
    throw Exception("The configuration file " + FFileName + " is not written now, because " + fresh.FLeftAlone +
                    "; the settings changed are kept and written once the file can be read again");
  }
  FRereadTold = false;
  FPairs = std::move(fresh.FPairs);
  FFileBytes = std::move(now);
  for (const TChange& change : FChanges) Apply(change);
  return true;
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
  FChanges.clear();
}

}  // namespace wf
