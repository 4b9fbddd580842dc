#pragma once
// The configuration store: ordered key/value pairs read from configtravel.xml
// and written back whole, at once.
//
// A file is rewritten only when the rewrite keeps every pair it holds. One that
// could not be read completely and exactly at start is left as it is for the
// whole run; the first save that would have written it raises an error saying
// why, later ones change the pairs in memory only.
//
// Every write takes in what another program changed in the file meanwhile: it
// reads the file again and applies to it the changes made since the store last
// read or wrote it, and no older ones. When that read fails (an editor holds
// the file, a comment is left open, the file is empty or ends before its root
// element does, as while another program rewrites it in place), the pairs held
// stay as they are, the file is not written that time, and the changes wait
// for the next write.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wf {

class TXmlScanner;
class TCustomXmlScanner;
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
  // Writes every pair held, as it stands, and remembers the name for later
  // saves; raises EInOutError when the file cannot be written, leaving the
  // previous file as it was. A file left alone is not written: the first
  // time, an Exception tells why.
  void SaveToFile(const std::string& fileName);

  // Appends a pair at the end, duplicates allowed; not a change to be saved.
  void AddPair(std::string key, std::string value);

  const TPair* FindPair(std::string_view key) const;
  std::string GetValue(std::string_view key) const;
  int32_t GetInteger(std::string_view key) const;

  // Changes held in memory until the next Save: the key's first pair takes
  // the value (a new pair at the end when there is none), and with
  // `onlyPair` the key's later pairs go.
  void SetValue(std::string_view key, std::string value, bool onlyPair = false);
  // A change that removes every pair of the key.
  void RemoveKey(std::string_view key);
  // Writes the changes since the file was last read or written into what the
  // file holds now. Raises as SaveToFile does, and once, with the reason, when
  // the file cannot be read again.
  void Save();

  // One change, saved at once.
  void SetInteger(std::string_view key, int32_t value);
  void SetString(std::string_view key, std::string value);

  const std::vector<std::unique_ptr<TPair>>& Pairs() const { return FPairs; }
  const std::string& FileName() const { return FFileName; }

  // The whole file as SaveToFile writes it.
  std::string FileText() const;

  // Why the file last loaded is left as it is; empty while it may be rewritten.
  const std::string& LeftAloneReason() const { return FLeftAlone; }

 private:
  struct TChange {
    std::string Key;
    std::optional<std::string> Value;  // none: the key's pairs go
    bool OnlyPair = false;
  };

  TPair* MutablePair(std::string_view key);
  void Apply(const TChange& change);
  // Reads the file's pairs and appends them, noting why it must be left alone.
  void ReadFile(const std::string& fileName);
  // What a read of the file gave: its bytes, or the system's text for the failure.
  void TakeFile(std::optional<std::string> bytes, const std::string& failure, const std::string& fileName);
  void ReadText(const std::string& text, const std::string& sourceName, bool utf8);
  void TakeConfigTag(TCustomXmlScanner& sender, const TAttrList& attributes);
  void LeaveAlone(std::string reason, const char* at = nullptr);
  // The line of a position in the document being read; 0 outside it.
  int LineAt(const char* at) const;
  // Reads the file again when another program changed it since this store
  // last read or wrote it, and applies the changes since then to what it
  // holds now; false when it could not be read and must not be written now.
  bool TakeInOutsideChanges();
  bool ReadsBackExactly(const std::string& text) const;

  std::vector<std::unique_ptr<TPair>> FPairs;
  std::unique_ptr<TXmlScanner> FScanner;
  std::string FFileName;
  // The file's bytes as last read or written; none while it does not exist.
  std::optional<std::string> FFileBytes;
  std::string FLeftAlone;
  std::string FLeftAloneFile;
  bool FLeftAloneTold = false;
  // The changes made since the file was last read or written, in order.
  std::vector<TChange> FChanges;
  // The last read of the file during the run failed and the user was told.
  bool FRereadTold = false;
  // While a document is read: its text is UTF-8 whatever it declares, and
  // where the code page could not hold a converted text.
  bool FUtf8Text = false;
  const char* FUnheldAt = nullptr;
  // The elements open where the scanner is, and whether the document's root
  // element has ended: an empty document or one cut short has not.
  int FOpenElements = 0;
  bool FRootEnded = false;
};

}  // namespace wf
