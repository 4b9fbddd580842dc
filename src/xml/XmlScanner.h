#pragma once
// The scanner component: loads a document through its parser and, in Scan,
// fires one event per part. Handlers are bound by assigning the On* slots and
// receive the scanner as Sender; an unbound slot makes its event do nothing.

#include <functional>
#include <memory>
#include <string>

#include "xml/Declarations.h"
#include "xml/NameLists.h"
#include "xml/XmlParser.h"

namespace wf {

class TCustomXmlScanner;

using TXmlPrologEvent = std::function<void(TCustomXmlScanner& Sender, const std::string& XmlVersion,
                                           const std::string& Encoding, bool Standalone)>;
using TCommentEvent = std::function<void(TCustomXmlScanner& Sender, const std::string& Comment)>;
using TPIEvent = std::function<void(TCustomXmlScanner& Sender, const std::string& Target,
                                    const std::string& Content, const TAttrList& Attributes)>;
using TDtdEvent = std::function<void(TCustomXmlScanner& Sender, const std::string& RootElementName)>;
using TStartTagEvent = std::function<void(TCustomXmlScanner& Sender, const std::string& TagName,
                                          const TAttrList& Attributes)>;
using TEndTagEvent = std::function<void(TCustomXmlScanner& Sender, const std::string& TagName)>;
using TContentEvent = std::function<void(TCustomXmlScanner& Sender, const std::string& Content)>;
using TElementEvent = std::function<void(TCustomXmlScanner& Sender, const TElemDef& ElemDef)>;
using TEntityEvent = std::function<void(TCustomXmlScanner& Sender, const TEntityDef& EntityDef)>;
using TNotationEvent = std::function<void(TCustomXmlScanner& Sender, const TNotationDef& NotationDef)>;
// ErrorPos points into the text being read; it may be read up to that text's NUL.
using TErrorEvent = std::function<void(TCustomXmlScanner& Sender, const char* ErrorPos)>;
// The handler puts the parser holding the external text into Result (or leaves
// it empty: the text then reads as empty).
using TExternalEvent = std::function<void(TCustomXmlScanner& Sender, const std::string& SystemId,
                                          const std::string& PublicId, const std::string& NotationId,
                                          std::unique_ptr<TXmlParser>& Result)>;
using TEncodingEvent = std::function<std::string(TCustomXmlScanner& Sender,
                                                 const std::string& CurrentEncoding,
                                                 const std::string& Source)>;

// The parser of a scanner: its hooks reach the scanner's events.
class TScannerXmlParser : public TXmlParser {
 public:
  explicit TScannerXmlParser(TCustomXmlScanner& scanner) : Scanner(scanner) {}

  std::unique_ptr<TXmlParser> OpenExternal(const std::string& SystemId, const std::string& PublicId,
                                           const std::string& NotationId) override;
  std::string ConvertText(const std::string& Source) override;
  void DeclarationFound(const TDeclarationInfo& Info) override;

  TCustomXmlScanner& Scanner;
};

class TCustomXmlScanner {
 public:
  TCustomXmlScanner();
  virtual ~TCustomXmlScanner();
  TCustomXmlScanner(const TCustomXmlScanner&) = delete;
  TCustomXmlScanner& operator=(const TCustomXmlScanner&) = delete;

  // Walks the loaded document from its beginning and fires the events. A
  // handler's exception passes out; the next Scan starts again. Scanning again,
  // or loading, from inside a handler is refused with an exception.
  void Scan();

  std::unique_ptr<TScannerXmlParser> Parser;

  TXmlPrologEvent OnXmlProlog;
  TCommentEvent OnComment;
  TPIEvent OnPI;
  TDtdEvent OnDtdRead;
  TStartTagEvent OnStartTag;
  TStartTagEvent OnEmptyTag;
  TEndTagEvent OnEndTag;
  TContentEvent OnContent;
  TContentEvent OnCData;
  TElementEvent OnElement;
  TElementEvent OnAttList;
  TEntityEvent OnEntity;
  TNotationEvent OnNotation;
  TErrorEvent OnDtdError;
  TExternalEvent OnLoadExternal;
  TEncodingEvent OnTranslateEncoding;

  // Set by a handler to end the running Scan; the part after it is still read.
  bool StopRequested = false;

  virtual void FireXmlProlog(const std::string& XmlVersion, const std::string& Encoding, bool Standalone);
  virtual void FireComment(const std::string& Comment);
  virtual void FirePI(const std::string& Target, const std::string& Content, const TAttrList& Attributes);
  virtual void FireDtdRead(const std::string& RootElementName);
  virtual void FireStartTag(const std::string& TagName, const TAttrList& Attributes);
  virtual void FireEmptyTag(const std::string& TagName, const TAttrList& Attributes);
  virtual void FireEndTag(const std::string& TagName);
  virtual void FireContent(const std::string& Content);
  virtual void FireCData(const std::string& Content);
  virtual void FireElement(const TElemDef& ElemDef);
  virtual void FireAttList(const TElemDef& ElemDef);
  virtual void FireEntity(const TEntityDef& EntityDef);
  virtual void FireNotation(const TNotationDef& NotationDef);
  virtual void FireDtdError(const char* ErrorPos);

 protected:
  // Loads the file as the document; a file that cannot be read leaves it empty.
  void SetFilename(const std::string& value);
  std::string Filename() const { return Parser->SourceName; }
  void SetNormalize(bool value) { Parser->Normalize = value; }
  bool Normalize() const { return Parser->Normalize; }

 private:
  void RefuseWhileScanning(const char* what) const;
  bool scanning_ = false;
};

// The scanner with its file name and whitespace option in public.
class TXmlScanner : public TCustomXmlScanner {
 public:
  using TCustomXmlScanner::Filename;
  using TCustomXmlScanner::Normalize;
  using TCustomXmlScanner::SetFilename;
  using TCustomXmlScanner::SetNormalize;
};

}  // namespace wf
