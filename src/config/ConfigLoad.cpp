// Reading the configuration file through the XML scanner, and noticing
// everything that keeps the read from being complete and exact.

#include <algorithm>

#include "common/Errors.h"
#include "config/Config.h"
#include "config/TextEncoding.h"
#include "platform/Files.h"
#include "xml/CodePage1252.h"
#include "xml/TextRules.h"
#include "xml/XmlScanner.h"

namespace wf {

namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A tag as written: "<", an optional "/", a name, attributes of the form
// name="value" or name='value' with no "<" in a value, and ">" or "/>". A tag
// that is not is one the scanner only guessed at (a missing quote or ">" makes
// it run into the next one), and the pairs read from there on are not the
// file's.
bool WellFormedTag(std::string_view raw) {
  size_t i = 1;
  const bool end = raw.size() > 1 && raw[1] == '/';
  if (end) ++i;
  auto nameEnd = [&] {
    const size_t from = i;
    while (i < raw.size() && !Blank(raw[i]) && raw[i] != '/' && raw[i] != '>' && raw[i] != '<' &&
           raw[i] != '=' && raw[i] != '"' && raw[i] != '\'')
      ++i;
    return i > from;
  };
  auto skipBlanks = [&] {
    const size_t from = i;
    while (i < raw.size() && Blank(raw[i])) ++i;
    return i > from;
  };
  if (raw.empty() || raw[0] != '<' || !nameEnd()) return false;
  for (;;) {
    const bool blank = skipBlanks();
    if (i >= raw.size()) return false;
    if (raw[i] == '>') return i + 1 == raw.size();
    if (raw[i] == '/') return !end && i + 2 == raw.size() && raw[i + 1] == '>';
    if (end || !blank || !nameEnd()) return false;
    skipBlanks();
    if (i >= raw.size() || raw[i] != '=') return false;
    ++i;
    skipBlanks();
    if (i >= raw.size() || (raw[i] != '"' && raw[i] != '\'')) return false;
    const size_t close = raw.find(raw[i], i + 1);
    if (close == std::string_view::npos || raw.substr(i, close - i).find('<') != std::string_view::npos)
      return false;
    i = close + 1;
  }
}

// An attribute value as written, its entity references expanded, in the code
// page: its character references become the characters they name, and UTF-8
// text is decoded. Nothing when one of its characters is not in the code page.
std::optional<std::string> SettingText(std::string_view expanded, bool utf8) {
  std::string text;
  bool held = true;
  WalkCharRefs(
      expanded,
      [&](std::string_view run) {
        if (!utf8) {
          text += run;
        } else if (std::optional<std::string> decoded = Utf8ToCodePage(run)) {
          text += *decoded;
        } else {
          held = false;
        }
      },
      [&](uint32_t number) {
        if (std::optional<unsigned char> byte = CodePageByte(number))
          text += static_cast<char>(*byte);
        else
          held = false;
      });
  if (!held) return std::nullopt;
  return FoldWhitespace(text, false);
}

}  // namespace

TConfig::TConfig() : FScanner(std::make_unique<TXmlScanner>()) {}

TConfig::~TConfig() { ClearPairs(); }

void TConfig::LoadFromFile(const std::string& fileName) {
  FFileName = fileName;
  FChanges.clear();
  ReadFile(fileName);
}

void TConfig::ReadFile(const std::string& fileName) {
  std::string failure;
  std::optional<std::string> bytes =
      platform::ReadWholeFile(fileName, platform::ShareMode::DenyNone, nullptr, UINT64_MAX, &failure);
  TakeFile(std::move(bytes), failure, fileName);
}

void TConfig::TakeFile(std::optional<std::string> bytes, const std::string& failure, const std::string& fileName) {
  if (FLeftAloneFile != fileName) {
    FLeftAlone.clear();
    FLeftAloneTold = false;
  }
  if (!bytes) {
    FFileBytes.reset();
    // A missing file holds nothing to lose; the first save creates it.
    if (platform::FileExists(fileName)) {
      FLeftAloneFile = fileName;
      LeaveAlone("it could not be read (" + failure + ")");
    }
    return;
  }
  FFileBytes = std::move(bytes);
  FLeftAloneFile = fileName;
  const std::string& file = *FFileBytes;
  const TextMark mark = MarkOf(file);
  if (mark == TextMark::None) {
    ReadText(file, fileName, false);
    return;
  }
  // Marked text is read as the text it is, whatever its declaration says.
  const std::optional<std::string> text = MarkedTextAsUtf8(file, mark);
  if (!text) {
    LeaveAlone(NotAsMarkedReason(mark));
    return;
  }
  ReadText(*text, fileName, true);
}

void TConfig::ReadText(const std::string& text, const std::string& sourceName, bool utf8) {
  TScannerXmlParser& parser = *FScanner->Parser;
  parser.LoadText(text, sourceName);
  // A text that could not be held is a document the scanner cannot read at all.
  if (parser.BufferSize() == 0 && !text.empty()) {
    LeaveAlone("it is too large to be read");
    return;
  }
  parser.ActiveEncoding.clear();
  FUtf8Text = utf8;
  FUnheldAt = nullptr;
  FOpenElements = 0;
  FRootEnded = false;

  FScanner->OnTranslateEncoding = [this](TCustomXmlScanner& sender, const std::string& encoding,
                                         const std::string& source) {
    if (!FUtf8Text && encoding != "UTF-8") return source;
    if (std::optional<std::string> held = Utf8ToCodePage(source)) return *held;
    FUnheldAt = sender.Parser->PartStart();
    return DecodeUtf8(source, 191);
  };
  auto checkTag = [this](TCustomXmlScanner& sender) {
    const TXmlParser& p = *sender.Parser;
    if (!WellFormedTag(std::string_view(p.PartStart(), static_cast<size_t>(p.PartNext() - p.PartStart()))))
      LeaveAlone("a tag is not well-formed", p.PartStart());
  };
  FScanner->OnEmptyTag = [this, checkTag](TCustomXmlScanner& sender, const std::string& tagName,
                                          const TAttrList& attributes) {
    checkTag(sender);
    if (FOpenElements == 0) FRootEnded = true;
    if (tagName == "config") TakeConfigTag(sender, attributes);
  };
  FScanner->OnStartTag = [this, checkTag](TCustomXmlScanner& sender, const std::string& tagName,
                                          const TAttrList&) {
    checkTag(sender);
    ++FOpenElements;
    if (tagName == "config")
      LeaveAlone("a config tag is written as a start and an end tag, which gives no setting",
                 sender.Parser->PartStart());
  };
  FScanner->OnEndTag = [this, checkTag](TCustomXmlScanner& sender, const std::string&) {
    checkTag(sender);
    if (FOpenElements > 0 && --FOpenElements == 0) FRootEnded = true;
  };
  // A comment, processing instruction or CDATA section that is not closed runs
  // to the end of the document and hides every setting after it.
  auto closedBy = [this](TCustomXmlScanner& sender, std::string_view raw, std::string_view close,
                         size_t opening) {
    if (raw.size() < opening + close.size() || !raw.ends_with(close))
      LeaveAlone("a comment, processing instruction or section is never closed", sender.Parser->PartStart());
  };
  FScanner->OnComment = [closedBy](TCustomXmlScanner& sender, const std::string& comment) {
    closedBy(sender, comment, "-->", 4);
  };
  auto rawPart = [](const TXmlParser& p) {
    return std::string_view(p.PartStart(), static_cast<size_t>(p.PartNext() - p.PartStart()));
  };
  FScanner->OnPI = [closedBy, rawPart](TCustomXmlScanner& sender, const std::string&,
                                       const std::string&, const TAttrList&) {
    if (sender.Parser->PartKind == pkPI) closedBy(sender, rawPart(*sender.Parser), "?>", 2);
  };
  FScanner->OnXmlProlog = [closedBy, rawPart](TCustomXmlScanner& sender, const std::string&,
                                              const std::string&, bool) {
    closedBy(sender, rawPart(*sender.Parser), "?>", 5);
  };
  FScanner->OnCData = [closedBy, rawPart](TCustomXmlScanner& sender, const std::string&) {
    closedBy(sender, rawPart(*sender.Parser), "]]>", 9);
  };
  FScanner->OnDtdRead = [closedBy, rawPart](TCustomXmlScanner& sender, const std::string&) {
    closedBy(sender, rawPart(*sender.Parser), ">", 9);
  };
  FScanner->OnDtdError = [this](TCustomXmlScanner&, const char* errorPos) {
    LeaveAlone("the document type declaration has an error", errorPos);
  };
  FScanner->Scan();

  // The scan ends at the text's first byte 0; a file has more after it.
  const char* stop = parser.PartStart();
  const char* start = parser.TextStart();
  if (stop && stop >= start && stop < start + (parser.BufferSize() - 1))
    LeaveAlone(*stop == '\0' ? "the file holds a byte 0, which is not text"
                             : "the scanner read no further",
               stop);
}

void TConfig::LeaveAlone(std::string reason, const char* at) {
  if (!FLeftAlone.empty()) return;  // the first reason is where reading stopped
  if (!at) {
    FLeftAlone = std::move(reason);
    return;
  }
  const int line = LineAt(at);
  FLeftAlone = (line ? "reading stopped at line " + std::to_string(line) : std::string("reading stopped")) +
               ": " + reason;
}

int TConfig::LineAt(const char* at) const {
  const TXmlParser& parser = *FScanner->Parser;
  const char* start = parser.TextStart();
  if (!at || at < start || at >= start + std::max(parser.BufferSize(), 1)) return 0;
  return 1 + static_cast<int>(std::count(start, at, '\n'));
}

void TConfig::TakeConfigTag(TCustomXmlScanner& sender, const TAttrList& attributes) {
  TXmlParser& parser = *sender.Parser;
  const char* at = parser.PartStart();
  const TAttr* key = attributes.FindByName("key");
  const TAttr* value = attributes.FindByName("value");
  if (!key || !value) {
    LeaveAlone("a config tag has no key or no value", at);
    return;
  }
  std::string texts[] = {key->Value, value->Value};
  bool unheld = FUnheldAt == at;
  // The scanner cuts a character reference to the low byte of its number; the
  // setting takes the character it names, read again from the tag as written.
  // Where the document type declares the tag's attributes, its rules made the
  // values, and the scanner's stand.
  if (!parser.ElementDecls.FindByName("config")) {
    TAttrList written;
    written.ParseAttributes(at + 1 + std::string_view("config").size());
    const bool utf8 = FUtf8Text || parser.ActiveEncoding == "UTF-8";
    unheld = false;
    const char* const names[] = {"key", "value"};
    for (size_t i = 0; i < std::size(texts); ++i) {
      const TAttr* raw = written.FindByName(names[i]);
      std::optional<std::string> held = raw ? SettingText(parser.ExpandEntityRefs(raw->Value), utf8) : std::nullopt;
      if (held)
        texts[i] = std::move(*held);
      else
        unheld = true;
    }
  }
  if (unheld) LeaveAlone("a setting holds a character that the program's code page cannot hold", at);
  AddPair(std::move(texts[0]), std::move(texts[1]));
}

bool TConfig::ReadsBackExactly(const std::string& text) const {
  TConfig reader;
  reader.ReadText(text, "<" + FFileName + ">", false);
  if (!reader.FLeftAlone.empty() || reader.FPairs.size() != FPairs.size()) return false;
  for (size_t i = 0; i < FPairs.size(); ++i)
    if (reader.FPairs[i]->Key != FPairs[i]->Key || reader.FPairs[i]->Value != FPairs[i]->Value)
      return false;
  return true;
}

}  // namespace wf
