#include "ui/PlacesImport.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "common/IntegerText.h"
#include "places/PlaceNames.h"
#include "places/TextLines.h"
#include "ui/PlaceCell.h"

namespace wf::ui {

namespace {

using places::TPlace;
using places::TPlacesFormat;
using places::TReadResult;

bool IsBlankOrComment(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos || line.starts_with("//");
}

// A places file of this program, another one's or an older copy, read by the
// rules the program reads its own by; what those rules skip, or what gives no
// place a map can hold or "Neu" would store, counts as not understood.
TReadResult ReadPlacesFile(std::string_view text) {
  TReadResult result;
  places::ForEachLine(TextBeforeZero(text), [&](std::string_view line, int lineNumber) {
    if (IsBlankOrComment(line)) return;
    const TLocationLine read = ReadLocationLine(line);
    const std::vector<std::string> items = ParseCommaText(read.Place.Coords, 3);
    std::optional<int32_t> x, y, z;
    if (items.size() >= 2) x = TryParseInteger(items[0]), y = TryParseInteger(items[1]);
    if (items.size() >= 3) z = TryParseInteger(items[2]);
    if (read.What != TLocationLine::Kind::Place || read.Place.Name.empty() || !x || !y ||
        (items.size() >= 3 && (!z || *z < -128 || *z > 127)) || !places::IsPlausibleCell(*x, *y) ||
        read.Place.MapNo > places::kHighestMap) {
      result.Refuse(lineNumber);
      return;
    }
    result.Places.push_back({read.Place.Name, *x, *y, z, read.Place.MapNo});
  });
  return result;
}

// The names of the places at each cell, so that whether a name, or the name
// numbered as IsNumberedName tells, is at a cell is one look-up however many
// places share it. A name is held as its stem and its trailing digits: the
// numbered forms of a name have its stem and a tail that is its tail followed
// by a digit other than 0 and any digits.
class TNamesAtCells {
 public:
  void Add(uint16_t map, int32_t x, int32_t y, std::string_view name) { names_.insert(Key(map, x, y, name)); }

  bool Holds(uint16_t map, int32_t x, int32_t y, std::string_view name) const {
    TKey key = Key(map, x, y, name);
    if (names_.contains(key)) return true;
    std::string& tail = std::get<4>(key);
    tail += '1';
    const auto numbered = names_.lower_bound(key);
    tail.back() = '9' + 1;
    return numbered != names_.end() && *numbered < key;
  }

 private:
  using TKey = std::tuple<uint16_t, int32_t, int32_t, std::string, std::string>;
  static TKey Key(uint16_t map, int32_t x, int32_t y, std::string_view name) {
    const size_t stem = name.find_last_not_of("0123456789") + 1;  // 0 when all are digits
    return {map, x, y, std::string(name.substr(0, stem)), std::string(name.substr(stem))};
  }
  std::set<TKey> names_;
};

}  // namespace

TReadResult ReadPlacesToImport(std::string_view bytes, const std::string& fileName) {
  const TPlacesText decoded = DecodePlacesText(bytes);
  if (!decoded.Problem.empty())
    throw Exception("The file " + fileName + " is not imported, because " + decoded.Problem);
  const std::string_view text = decoded.Of(bytes);
  TReadResult own = ReadPlacesFile(text);
  TReadResult markers = places::ReadMarkerFile(text);
  TReadResult csv = places::ReadMarkerCsv(text);
  const TPlacesFormat format = places::ChooseFormat(
      {{TPlacesFormat::PlacesFile, &own}, {TPlacesFormat::MarkerFile, &markers}, {TPlacesFormat::MarkerCsv, &csv}},
      fileName);
  return std::move(format == TPlacesFormat::MarkerFile  ? markers
                   : format == TPlacesFormat::MarkerCsv ? csv
                                                        : own);
}

places::TImportCounts AddImportedPlaces(TLocationList& places, const TReadResult& read,
                                        const TAltitudeOf& altitude) {
  places::TImportCounts counts;
  counts.Unreadable = read.Unreadable;
  counts.FirstUnreadableLine = read.FirstUnreadableLine;

  TNamesAtCells present;
  std::unordered_set<std::string> taken;
  for (const auto& place : places) {
    taken.insert(place->Name);
    if (const auto cell = PlaceCell(*place)) present.Add(place->MapNo, cell->first, cell->second, place->Name);
  }
  // The lowest number not yet tried for each name that was taken.
  std::unordered_map<std::string, int> nextNumber;
  TLocationList added;
  for (const TPlace& incoming : read.Places) {
    const std::string safe = places::MakeNameSafe(incoming.Name);
    if (present.Holds(incoming.MapNo, incoming.X, incoming.Y, safe)) {
      ++counts.AlreadyThere;
      continue;
    }
    std::string name = safe;
    if (taken.contains(name)) {
      int& number = nextNumber.try_emplace(safe, 1).first->second;
      while (taken.contains(name = safe + NumberText(number))) ++number;
      ++number;
    }
    taken.insert(name);
    present.Add(incoming.MapNo, incoming.X, incoming.Y, name);
    const int32_t z = incoming.Z ? *incoming.Z : altitude(incoming.MapNo, incoming.X, incoming.Y);
    added.push_back(std::make_unique<TLocation>(
        TLocation{std::move(name), NumberText(incoming.X) + "," + NumberText(incoming.Y) + "," + NumberText(z),
                  incoming.MapNo}));
    ++counts.Added;
  }

  // Every added name is new, so their order among the places held is only by name.
  const auto byName = [](const auto& a, const auto& b) { return CompareLocations(*a, *b) < 0; };
  std::sort(added.begin(), added.end(), byName);
  const auto held = static_cast<std::ptrdiff_t>(places.size());
  places.insert(places.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
  std::inplace_merge(places.begin(), places.begin() + held, places.end(), byName);
  return counts;
}

}  // namespace wf::ui
