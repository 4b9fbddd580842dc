#pragma once
// The document reader under the scanner component: loads a whole file into one
// NUL-terminated block and walks it part by part (XML declaration, comment,
// processing instruction, document type declaration, tags, character data,
// CDATA). It keeps no tree: a part's fields hold only the current part.
//
// Positions are pointers into the text being read: the loaded block, an
// entity's replacement text or an external entity's text held by `Inputs`.
// Every such text ends in a NUL, and no reader moves past it.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"
#include "xml/Declarations.h"
#include "xml/EntityStack.h"
#include "xml/NameLists.h"
#include "xml/XmlTypes.h"

namespace wf {

// A system identifier as the file name OpenExternal loads: relative to the
// directory of `sourceName` unless it is absolute or the source name begins with
// "<"; "/" and "\" both separate.
std::string ResolveSystemId(const std::string& sourceName, const std::string& systemId);

class TXmlParser {
 public:
  TXmlParser();
  virtual ~TXmlParser();
  TXmlParser(const TXmlParser&) = delete;
  TXmlParser& operator=(const TXmlParser&) = delete;

  // Reads the whole file as the document (after ClearDocument); false, leaving
  // the parser empty, when it cannot be opened, sized, held or read.
  bool LoadDocument(const std::string& FileName,
                    platform::ShareMode OpenMode = platform::ShareMode::DenyNone);
  // The same for a text already in memory; a source name beginning with "<"
  // marks a document without a directory of its own.
  void LoadText(std::string_view text, const std::string& sourceName = "<text>");
  void ClearDocument();

  // Must be called after every load before the first NextPart.
  void RestartScan();
  // Moves to the next part and fills the part fields; false at the end.
  bool NextPart();
  // The loaded text, or an empty text when nothing is loaded.
  const char* TextStart() const;

  // The text of an external entity or external subset, as a new parser the
  // caller owns. System identifiers are taken relative to the document's own
  // directory; "/" and "\" both separate. Each file is read at most once per
  // scan, and not at all when it is longer than xmllimits::kMaxExternalText.
  virtual std::unique_ptr<TXmlParser> OpenExternal(const std::string& SystemId,
                                                   const std::string& PublicId,
                                                   const std::string& NotationId);
  // Document text in the program's code page: UTF-8 is decoded to code page
  // 1252 when the active encoding is "UTF-8"; anything else passes unchanged.
  virtual std::string ConvertText(const std::string& Source);
  // Called for every item met in a document type declaration.
  virtual void DeclarationFound(const TDeclarationInfo& Info);

  // Entity references of an attribute value replaced (one level at a time; a
  // replacement is not examined again at this level).
  std::string ExpandEntityRefs(const std::string& S);
  // Parameter-entity references of a declaration text replaced.
  std::string ExpandParameterRefs(const std::string& S);

  // Bytes read from external files since the current scan began.
  uint64_t ExternalBytesRead() const { return externalBytesRead_; }

  const char* Buffer() const { return buffer_.get(); }
  int32_t BufferSize() const { return bufferSize_; }
  const char* PartStart() const { return partStart_; }
  // The first character after the current part: where the next part begins.
  const char* PartNext() const { return partNext_; }
  // The last character of the current part (the one before PartNext; for
  // character data that ended at the very start of an entity's text this is not
  // a character of any text, so read PartNext instead).
  const char* PartEnd() const {
    return partNext_ ? reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(partNext_) - 1)
                     : nullptr;
  }
  // The last character of the document type declaration once it has been read.
  const char* DoctypeEnd() const { return doctypeNext_ ? doctypeNext_ - 1 : nullptr; }

  std::string SourceName;
  std::string DeclaredVersion;
  std::string DeclaredEncoding;
  bool DeclaredStandalone = false;
  std::string DoctypeName;
  bool Normalize = true;
  TEntityStack Inputs{*this};
  std::string ActiveEncoding;
  TElemList ElementDecls;
  TNvpList<TEntityDef> GeneralEntities;
  TNvpList<TEntityDef> ParameterEntities;
  TNvpList<TNotationDef> NotationDecls;
  TPartKind PartKind = pkNone;
  std::string PartName;
  std::string PartText;
  TAttrList PartAttributes;

  // Called whenever a text may have been freed or entered, so that remembered
  // search results are not applied to another text.
  void TextsChanged() { ++textGeneration_; }

 private:
  bool ReadPart();
  void ReadXmlDeclaration();
  void ReadComment();
  const char* CutProcessingInstruction(const char* at);
  void ReadCData();
  void ReadTag();
  void ApplyAttributeRules();
  bool ReadCharacterData();
  const char* CharacterDataReference(const char* at);

  void ReadDoctype();
  void ReadExternalSubset(const TExternalID& id);
  const char* ReadMarkupDecls(const char* from);
  const char* ReadElementDecl(const char* at);
  const char* ReadAttListDecl(const char* at);
  const char* ReadEntityDecl(const char* at);
  const char* ReadNotationDecl(const char* at);
  const char* ParameterReference(const char* at);
  void Report(const TDeclarationInfo& info) { DeclarationFound(info); }
  using TDefinition = decltype(TDeclarationInfo::Definition);
  // Reports the declaration from `at` to the '>' at or after `r` and returns
  // the place after that '>'.
  const char* ReportDeclaration(TDeclKind kind, const char* at, const char* r,
                                TDefinition definition);
  void ReportError(const char* at);
  void Retire(TNvpList<TEntityDef>& list, const std::string& name);

  std::string ExpandEntityRefsIn(const std::string& S, std::vector<const TEntityDef*>& open);
  std::string ExpandParameterRefsIn(const std::string& S, std::vector<const TEntityDef*>& open);
  // The text an entity reference stands for in an attribute value, or nothing
  // when the entity is already being expanded or the budget is spent.
  std::string ReferencedText(const TEntityDef& entity, std::vector<const TEntityDef*>& open);
  // The text of an external entity or subset, or none; spends its cost.
  std::unique_ptr<TXmlParser> OpenBudgeted(const std::string& systemId,
                                           const std::string& publicId,
                                           const std::string& notationId);
  // An external file's text as far as a reader goes (to its first NUL), read
  // from disk only the first time a scan asks; none when it cannot be read.
  const std::string* ExternalFileText(const std::string& path);
  bool Spend(int64_t cost);
  void ResetBudget();
  const char* FindSemicolon(const char* from);

  // The document followed by its NUL, in a block of exactly that size (so that
  // a sanitizer sees any read past the NUL); none when nothing is loaded.
  std::unique_ptr<char[]> buffer_;
  int32_t bufferSize_ = 0;
  bool HoldText(std::string_view text);
  const char* partStart_ = nullptr;
  const char* partNext_ = nullptr;  // the first character after the current part

  // Document type declarations of the loaded text that were read, so that a
  // later scan passes over them; the last one's end is DoctypeEnd.
  struct TDoctypeRead {
    const char* Start;
    const char* Next;
  };
  std::vector<TDoctypeRead> doctypesRead_;
  const char* doctypeNext_ = nullptr;

  // Entities replaced by a later declaration stay alive until the next load:
  // their text may still be being read, and DoctypeEnd may point into it.
  std::vector<std::unique_ptr<TEntityDef>> retiredEntities_;

  // While a declaration is read, the depth of Inputs that counts as empty.
  size_t declBase_ = 0;

  int64_t budgetLeft_ = 0;
  bool budgetSpent_ = false;

  // The external files this scan has read, by resolved path; none for one that
  // could not be read.
  std::map<std::string, std::optional<std::string>> externalFiles_;
  uint64_t externalBytesRead_ = 0;

  // A range of one text known to hold no ";", valid for one generation of texts.
  uint64_t textGeneration_ = 0;
  uint64_t noSemicolonGeneration_ = 0;
  const char* noSemicolonFrom_ = nullptr;
  const char* noSemicolonTo_ = nullptr;
};

}  // namespace wf
