#include "places/MarkerFormats.h"

#include <algorithm>
#include <tuple>

#include "common/IntegerText.h"
#include "places/PlaceText.h"
#include "places/TextLines.h"

namespace wf::places {

namespace {

// The marker files' facets count from Felucca, where the maps count from 0;
// facet 0 stands for the first map as well.
constexpr int kFacetOfMapZero = 1;

bool IsBlank(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A decimal number and nothing else, spaces around it allowed.
std::optional<int32_t> Number(std::string_view text) {
  text = Trimmed(text);
  if (text.empty()) return std::nullopt;
  const size_t digits = text.front() == '-' || text.front() == '+' ? 1 : 0;
  if (digits == text.size() ||
      !std::all_of(text.begin() + digits, text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return TryParseInteger(text);
}

// The next run of characters up to a space or tab, which `text` then leaves behind.
std::string_view Word(std::string_view& text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  size_t end = 0;
  while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
  std::string_view word = text.substr(0, end);
  text.remove_prefix(end);
  return word;
}

std::optional<TPlace> MarkerLine(std::string_view line) {
  if (line.empty() || (line.front() != '+' && line.front() != '-')) return std::nullopt;
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view icon = Trimmed(line.substr(1, colon - 1));
  std::string_view rest = line.substr(colon + 1);
  const auto x = Number(Word(rest));
  const auto y = Number(Word(rest));
  const auto facet = Number(Word(rest));
  if (!x || !y || !facet || !IsPlausibleCell(*x, *y)) return std::nullopt;
  if (*facet < 0 || *facet > kHighestMap + kFacetOfMapZero) return std::nullopt;
  // One separator before the name, which runs to the end of the line as it stands.
  if (!rest.empty()) rest.remove_prefix(1);
  TPlace place;
  place.Name = std::string(rest.empty() ? icon : rest);
  if (IsBlank(place.Name)) return std::nullopt;
  place.X = *x;
  place.Y = *y;
  place.MapNo = static_cast<uint16_t>(*facet == 0 ? 0 : *facet - kFacetOfMapZero);
  return place;
}

// The fields of a line, up to one more than a marker line has: a line of
// nothing but commas is not cut into millions of them.
std::vector<std::string_view> Fields(std::string_view line) {
  constexpr size_t kEnough = 8;
  std::vector<std::string_view> fields;
  for (size_t at = line.find(','); at != std::string_view::npos && fields.size() < kEnough;
       at = line.find(',')) {
    fields.push_back(line.substr(0, at));
    line.remove_prefix(at + 1);
  }
  fields.push_back(line);
  return fields;
}

std::optional<TPlace> CsvLine(std::string_view line) {
  const std::vector<std::string_view> fields = Fields(line);
  if (fields.size() != 6 && fields.size() != 7) return std::nullopt;
  const auto x = Number(fields[0]);
  const auto y = Number(fields[1]);
  const auto map = Number(fields[2]);
  if (!x || !y || !map || !IsPlausibleCell(*x, *y) || *map < 0 || *map > kHighestMap ||
      IsBlank(fields[3]))
    return std::nullopt;
  TPlace place;
  place.Name = Utf8To1252(fields[3]);
  place.X = *x;
  place.Y = *y;
  place.MapNo = static_cast<uint16_t>(*map);
  return place;
}

// X Y and the map, decimal, as both formats write them.
std::string Decimal(int64_t value) { return NumberText(value); }

}  // namespace

void TReadResult::Refuse(int lineNumber) {
  if (Unreadable++ == 0) FirstUnreadableLine = lineNumber;
}

bool IsPlausibleCell(int64_t x, int64_t y) { return x >= 0 && x <= 0xFFFF && y >= 0 && y <= 0xFFFF; }

TReadResult ReadMarkerFile(std::string_view text) {
  TReadResult result;
  ForEachLine(text, [&](std::string_view line, int number) {
    if (IsBlank(line)) return;
    // The format number heads the file.
    if (number == 1 && Number(line)) return;
    if (auto place = MarkerLine(line))
      result.Places.push_back(std::move(*place));
    else
      result.Refuse(number);
  });
  return result;
}

TReadResult ReadMarkerCsv(std::string_view text) {
  TReadResult result;
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  ForEachLine(text, [&](std::string_view line, int number) {
    if (IsBlank(line)) return;
    if (auto place = CsvLine(line))
      result.Places.push_back(std::move(*place));
    else
      result.Refuse(number);
  });
  return result;
}

std::optional<TPlacesFormat> FormatOfExtension(std::string_view fileName) {
  const size_t dot = fileName.find_last_of(".\\/");
  if (dot == std::string_view::npos || fileName[dot] != '.') return std::nullopt;
  std::string extension(fileName.substr(dot + 1));
  for (char& c : extension) c = static_cast<char>(FoldCase1252(static_cast<unsigned char>(c)));
  if (extension == "txt") return TPlacesFormat::PlacesFile;
  if (extension == "map") return TPlacesFormat::MarkerFile;
  if (extension == "csv") return TPlacesFormat::MarkerCsv;
  return std::nullopt;
}

TPlacesFormat ChooseFormat(const std::vector<TFormatCandidate>& candidates,
                           std::string_view fileName) {
  const std::optional<TPlacesFormat> named = FormatOfExtension(fileName);
  const auto rank = [&](const TFormatCandidate& c) {
    // Understood lines first, then the extension, then the program's own file.
    return std::make_tuple(c.Read->Places.size(), named == c.Format,
                           c.Format == TPlacesFormat::PlacesFile);
  };
  const TFormatCandidate* best = nullptr;
  for (const TFormatCandidate& c : candidates)
    if (!best || rank(c) > rank(*best)) best = &c;
  return best ? best->Format : named.value_or(TPlacesFormat::PlacesFile);
}

std::string MarkerFileText(const std::vector<TPlace>& places) {
  std::string text = "3\r\n";
  for (const TPlace& place : places)
    text += "+place: " + Decimal(place.X) + " " + Decimal(place.Y) + " " +
            Decimal(int64_t{place.MapNo} + kFacetOfMapZero) + " " + place.Name + "\r\n";
  return text;
}

std::string MarkerCsvText(const std::vector<TPlace>& places) {
  std::string text;
  for (const TPlace& place : places) {
    std::string name = place.Name;
    std::replace(name.begin(), name.end(), ',', ' ');
    text += Decimal(place.X) + "," + Decimal(place.Y) + "," + Decimal(place.MapNo) + "," +
            Cp1252ToUtf8(name) + ",,white\r\n";
  }
  return text;
}

}  // namespace wf::places
