#pragma once
// The configuration store: ordered key/value pairs read from configtravel.xml
// and written back whole, at once, on every SetInteger and SetString.
//
// A file is rewritten only when the rewrite keeps every pair it holds. One that
// could not be read completely and exactly is left as it is for the whole run;
// the first save that would have written it raises an error saying why, later
// ones change the pairs in memory only.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wf {

class TXmlScanner;
class TAttrList;

struct TPair {
  std::string Key;
  std::string Value;
};

class TConfig {
 public:
  TConfig();
  ~TConfig();
  TConfig(const TConfig&) = delete;
  TConfig& operator=(const TConfig&) = delete;

  void ClearPairs();
  // Appends the pairs of the file (nothing when it is missing or unreadable)
  // and remembers the name for later saves.
  void LoadFromFile(const std::string& fileName);
  // Handler of the scanner's empty-element tags: one pair per "config" tag
  // that carries both "key" and "value".
  void ConfigEmptyTag(TXmlScanner& sender, const std::string& tagName,
                      const TAttrList& attributes);
  // Writes every pair; raises EInOutError when the file cannot be written,
  // leaving the previous file as it was. A file left alone is not written: the
  // first time, an Exception tells why.
  void SaveToFile(const std::string& fileName);

  // Appends a pair at the end, duplicates allowed.
  void AddPair(std::string key, std::string value);

  const TPair* FindPair(std::string_view key) const;
  std::string GetValue(std::string_view key) const;
  int32_t GetInteger(std::string_view key) const;
  void SetInteger(std::string_view key, int32_t value);
  // As SetInteger, for a value that is text.
  void SetString(std::string_view key, std::string value);

  const std::vector<std::unique_ptr<TPair>>& Pairs() const { return FPairs; }
  const std::string& FileName() const { return FFileName; }

  // The whole file as SaveToFile writes it.
  std::string FileText() const;

  // Why the file last loaded is left as it is; empty while it may be rewritten.
  const std::string& LeftAloneReason() const { return FLeftAlone; }

 private:
  TPair* MutablePair(std::string_view key);
  void SetValue(std::string_view key, std::string value);
  // Reads the file's pairs and appends them, noting why it must be left alone.
  void ReadFile(const std::string& fileName);
  void ReadText(const std::string& text, const std::string& sourceName, bool utf8);
  void LeaveAlone(std::string reason, const char* at = nullptr);
  // The line of a position in the document being read; 0 outside it.
  int LineAt(const char* at) const;
  // Another program changed the file since this store last read or wrote it:
  // read it again and apply this run's changes to what it holds now.
  void TakeInOutsideChanges();
  bool ReadsBackExactly(const std::string& text) const;

  std::vector<std::unique_ptr<TPair>> FPairs;
  std::unique_ptr<TXmlScanner> FScanner;
  std::string FFileName;
  // The file's bytes as last read or written; none while it does not exist.
  std::optional<std::string> FFileBytes;
  std::string FLeftAlone;
  std::string FLeftAloneFile;
  bool FLeftAloneTold = false;
  // What SetInteger and SetString set during this run, by key, in the order first set.
  std::vector<std::pair<std::string, std::string>> FChanges;
  // While a document is read: its text is UTF-8 whatever it declares, and
  // where the code page could not hold a converted text.
  bool FUtf8Text = false;
  const char* FUnheldAt = nullptr;
};

}  // namespace wf

