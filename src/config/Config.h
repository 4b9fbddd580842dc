#pragma once
// The configuration store: ordered key/value pairs read from configtravel.xml
// and written back whole, at once, on every SetInteger.

#include <cstdint>
#include <memory>
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
  // leaving the previous file as it was.
  void SaveToFile(const std::string& fileName);

  // Appends a pair at the end, duplicates allowed.
  void AddPair(std::string key, std::string value);

  const TPair* FindPair(std::string_view key) const;
  std::string GetValue(std::string_view key) const;
  int32_t GetInteger(std::string_view key) const;
  void SetInteger(std::string_view key, int32_t value);

  const std::vector<std::unique_ptr<TPair>>& Pairs() const { return FPairs; }
  const std::string& FileName() const { return FFileName; }

  // The whole file as SaveToFile writes it.
  std::string FileText() const;

 private:
  TPair* MutablePair(std::string_view key);

  std::vector<std::unique_ptr<TPair>> FPairs;
  std::unique_ptr<TXmlScanner> FScanner;
  std::string FFileName;
};

}  // namespace wf
