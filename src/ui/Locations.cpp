#include "ui/Locations.h"

#include <algorithm>
#include <cstring>

#include "common/IntegerText.h"
#include "config/TextEncoding.h"
#include "places/TextLines.h"
#include "platform/Files.h"

namespace wf::ui {

std::vector<std::string>& SplitString(std::string_view text, std::string_view delimiter,
                                      std::vector<std::string>& list) {
  if (!delimiter.empty()) {
    for (size_t at = text.find(delimiter); at != std::string_view::npos; at = text.find(delimiter)) {
      list.emplace_back(text.substr(0, at));
      text.remove_prefix(at + delimiter.size());
    }
  }
  list.emplace_back(text);
  return list;
}

int CompareLocations(const TLocation& a, const TLocation& b) {
  if (&a == &b) return 0;
  size_t common = std::min(a.Name.size(), b.Name.size());
  // memcmp compares as unsigned bytes, which puts bytes from 128 up after ASCII.
  int order = common ? std::memcmp(a.Name.data(), b.Name.data(), common) : 0;
  if (order == 0) order = a.Name.size() < b.Name.size() ? -1 : a.Name.size() > b.Name.size() ? 1 : 0;
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

void SortLocations(TLocationList& places) {
  std::sort(places.begin(), places.end(),
            [](const auto& a, const auto& b) { return CompareLocations(*a, *b) < 0; });
}

TLocationLine ReadLocationLine(std::string_view line) {
  TLocationLine result;
  if (line.empty()) return result;
  size_t comment = line.find("//");
  if (comment == 0) return result;
  if (comment != std::string_view::npos) line = line.substr(0, comment);

  // The parts are the ones cutting at every "=" and then at every space would
  // give, found without cutting the rest of the line.
  const auto part = [](std::string_view text, char delimiter, size_t index) {
    for (; index > 0 && text.find(delimiter) != std::string_view::npos; --index)
      text.remove_prefix(text.find(delimiter) + 1);
    return index == 0 ? std::optional(text.substr(0, text.find(delimiter))) : std::nullopt;
  };
  const std::optional<std::string_view> coordinates = part(line, '=', 1);
  if (!coordinates) return result;
  result.Place.Name = *part(line, '=', 0);
  result.Place.Coords = *part(*coordinates, ' ', 0);
  if (const std::optional<std::string_view> mapText = part(*coordinates, ' ', 1)) {
    // A number the map field cannot hold would be written back as another map.
    std::optional<int32_t> map = TryParseInteger(*mapText);
    if (!map || *map < 0 || *map > 0xFFFF) {
      result.What = TLocationLine::Kind::Unreadable;
      result.MapText = *mapText;
      return result;
    }
    result.Place.MapNo = static_cast<uint16_t>(*map);
  }
  result.What = TLocationLine::Kind::Place;
  return result;
}

EConvertError NotAMapNumber(std::string_view text) {
  if (!TryParseInteger(text)) return NotAnInteger(text);
  return EConvertError("'" + std::string(text) +
                       "' is not a valid map number: a map number is a whole number from 0 to 65535");
}

std::string_view TextBeforeZero(std::string_view text) { return text.substr(0, text.find('\0')); }

std::vector<std::string> TextLines(std::string_view text) {
  std::vector<std::string> lines;
  places::ForEachLine(TextBeforeZero(text), [&](std::string_view line, int) { lines.emplace_back(line); });
  return lines;
}

std::string_view UnreadRest(std::string_view text) {
  size_t end = text.find('\0');
  return end == std::string_view::npos ? std::string_view() : text.substr(end);
}

std::string LocationsFileText(const TLocationList& places,
                              const std::vector<std::string>& keptLines,
                              std::string_view unreadRest) {
  std::string text = "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n";
  for (const auto& place : places)
    text += place->Name + "=" + place->Coords + " " + NumberText(place->MapNo) + "\r\n";
  for (const auto& line : keptLines) text += line + "\r\n";
  text += unreadRest;
  return text;
}

std::vector<std::string> ParseCommaText(std::string_view text, size_t maxItems) {
  constexpr char kDelimiter = ',';
  constexpr char kQuote = '"';
  // The parse walks a zero-terminated text: a byte 0 ends it.
  text = text.substr(0, text.find('\0'));
  auto code = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  auto skipBlanks = [&](size_t& i) {
    while (i < text.size() && code(i) <= 32) ++i;
  };

  std::vector<std::string> items;
  size_t p = 0;
  skipBlanks(p);
  while (p < text.size() && items.size() < maxItems) {
    std::string item;
    if (text[p] == kQuote) {
      bool closed = false;
      for (++p; p < text.size();) {
        if (text[p] != kQuote) {
          item += text[p++];
        } else if (p + 1 < text.size() && text[p + 1] == kQuote) {
          item += kQuote;
          p += 2;
        } else {
          ++p;
          closed = true;
          break;
        }
      }
      // An unclosed item loses its last character, as if that were the quote.
      if (!closed && !item.empty()) item.pop_back();
    } else {
      size_t start = p;
      while (p < text.size() && code(p) > 32 && text[p] != kDelimiter) ++p;
      item.assign(text.substr(start, p - start));
    }
    items.push_back(std::move(item));
    skipBlanks(p);
    if (p < text.size() && text[p] == kDelimiter) {
      if (p + 1 == text.size() && items.size() < maxItems) items.emplace_back();
      ++p;
      skipBlanks(p);
    }
  }
  return items;
}

std::string UniqueLocationName(const TLocationList& places, const std::string& answer) {
  int n = 0;
  for (const auto& place : places) {
    if (n == 0) {
      if (place->Name == answer) n = 1;
    } else if (place->Name == answer + NumberText(n)) {
      ++n;
    }
  }
  return n > 0 ? answer + NumberText(n) : answer;
}

namespace {

bool HoldsLineEnd(const std::string& text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
}

}  // namespace

void CheckLocationName(const std::string& name) {
  if (name.find('=') != std::string::npos || name.find("//") != std::string::npos ||
      HoldsLineEnd(name))
    throw EPlaceRefused("The name '" + name +
                        "' cannot be used for a place: a place name must not contain \"=\", "
                        "\"//\" or a line break");
}

void CheckCoordinateText(const std::string& text) {
  if (text.find_first_of(" =") != std::string::npos || text.find("//") != std::string::npos ||
      HoldsLineEnd(text))
    throw EPlaceRefused("The coordinate '" + text +
                        "' cannot be stored: X, Y and Z must not contain a space, \"=\", \"//\" "
                        "or a line break");
}

void CheckPlaceCoordinates(const std::string& x, const std::string& y, const std::string& z) {
  struct Field {
    const char* name;
    const std::string& text;
    int32_t lowest, highest;
  };
  for (const Field& f : {Field{"X", x, 0, 65535}, Field{"Y", y, 0, 65535}, Field{"Z", z, -128, 127}}) {
    const std::optional<int32_t> value = TryParseInteger(f.text);
    if (!value || *value < f.lowest || *value > f.highest)
      throw EPlaceRefused("'" + f.text + "' cannot be stored as " + f.name + ": " + f.name +
                          " must be a whole number from " + NumberText(f.lowest) + " to " +
                          NumberText(f.highest));
  }
}

TPlacesText DecodePlacesText(std::string_view bytes) {
  TPlacesText text;
  const TextMark mark = MarkOf(bytes);
  if (mark == TextMark::Utf8) text.MarkLength = MarkLength(mark);
  if (mark != TextMark::Utf16LE && mark != TextMark::Utf16BE) return text;
  // The program holds text in the code page, so every line must fit it.
  const std::optional<std::string> utf8 = MarkedTextAsUtf8(bytes, mark);
  text.Converted = utf8 ? Utf8ToCodePage(*utf8) : std::nullopt;
  if (text.Converted) return text;
  text.Problem = NotAsMarkedReason(mark);
  if (!utf8) return text;
  text.Problem = "it holds a character that the program's code page cannot hold";
  bool found = false;
  places::ForEachLine(TextBeforeZero(*utf8), [&](std::string_view line, int number) {
    if (found || Utf8ToCodePage(line)) return;
    found = true;
    text.Problem = "line " + NumberText(number) + " holds a character that the program's code page cannot hold";
  });
  return text;
}

namespace {

std::string BoundText() {
  return "16 MiB (" + NumberText(static_cast<int64_t>(kMaxPlacesFileSize)) +
         " bytes), the most a file of places may hold";
}

}  // namespace

std::string PlacesFileTooLarge(const std::string& path, uint64_t size) {
  return "Nothing was changed: the places file " + path + " would hold " + NumberText(static_cast<int64_t>(size)) +
         " bytes, larger than " + BoundText();
}

std::optional<std::string> ReadPlacesFileBytes(const std::string& path, platform::ShareMode share,
                                               std::string* reason) {
  int code = 0;
  std::optional<std::string> bytes = platform::ReadWholeFile(path, share, &code, kMaxPlacesFileSize, reason);
  if (!bytes && code == platform::kFileTooLarge && reason) *reason = "it is larger than " + BoundText();
  return bytes;
}

namespace {

class FileStore : public IPlacesStore {
 public:
  bool Exists(const std::string& path) override { return platform::FileExists(path); }
  std::optional<std::string> Read(const std::string& path, std::string* reason) override {
    // Denying writers meanwhile keeps a half-written file from being read.
    return ReadPlacesFileBytes(path, platform::ShareMode::DenyWrite, reason);
  }
  int Replace(const std::string& path, std::string_view contents, std::string* reason) override {
    return platform::ReplaceFileContents(path, contents, reason);
  }
};

}  // namespace

IPlacesStore& FilePlacesStore() {
  static FileStore store;
  return store;
}

}  // namespace wf::ui
