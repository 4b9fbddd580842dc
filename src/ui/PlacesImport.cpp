#include "ui/PlacesImport.h"

#include <algorithm>
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
// numbered as IsNumberedName tells, is at a cell takes one look-up however
// many places share it. A name is held as its stem and its trailing digits:
// the numbered forms of a name have its stem and a tail that is its tail
// followed by a digit other than 0 and any digits. The names added must
// outlive the index, which holds views of them.
class TNamesAtCells {
 public:
  void Add(uint16_t map, int32_t x, int32_t y, std::string_view name) { cells_[{map, x, y}].insert(Split(name)); }

  bool Holds(uint16_t map, int32_t x, int32_t y, std::string_view name) const {
    const auto cell = cells_.find({map, x, y});
    if (cell == cells_.end()) return false;
    const TName split = Split(name);
    if (cell->second.contains(split)) return true;
    // Its numbered forms sort together from the stem and the tail followed by
    // "1": the first name from there is one of them when any is there.
    const std::string numbers = std::string(split.second) + '1';
    const auto next = cell->second.lower_bound({split.first, numbers});
    return next != cell->second.end() && places::IsNumberedName(Whole(*next), name);
  }

 private:
  using TName = std::pair<std::string_view, std::string_view>;  // stem, tail
  using TCell = std::tuple<uint16_t, int32_t, int32_t>;
  struct TCellHash {
    size_t operator()(const TCell& c) const {
      const uint64_t xy = uint64_t{static_cast<uint32_t>(std::get<1>(c))} << 32 | static_cast<uint32_t>(std::get<2>(c));
      return std::hash<uint64_t>()(xy ^ uint64_t{std::get<0>(c)} * 0x9E3779B97F4A7C15u);
    }
  };
  static TName Split(std::string_view name) {
    const size_t stem = name.find_last_not_of("0123456789") + 1;  // 0 when all are digits
    return {name.substr(0, stem), name.substr(stem)};
  }
  // Both parts are views of one name, side by side.
  static std::string_view Whole(const TName& name) { return {name.first.data(), name.first.size() + name.second.size()}; }
  std::unordered_map<TCell, std::set<TName>, TCellHash> cells_;
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

  // Both look at the names of the places held and added, which stay where they are.
  TNamesAtCells present;
  std::unordered_set<std::string_view> taken;
  taken.reserve(places.size() + read.Places.size());
  for (const auto& place : places) {
    taken.insert(place->Name);
    if (const auto cell = PlaceCell(*place)) present.Add(place->MapNo, cell->first, cell->second, place->Name);
  }
  // The lowest number not yet tried for each name that was taken.
  std::unordered_map<std::string, int> nextNumber;
  // Held by value, side by side, so that sorting them by name reads memory in
  // order; room for all is made first, since the look-ups above hold views of
  // their names.
  std::vector<TLocation> added;
  added.reserve(read.Places.size());
  for (const TPlace& incoming : read.Places) {
    std::string name = places::MakeNameSafe(incoming.Name);
    if (present.Holds(incoming.MapNo, incoming.X, incoming.Y, name)) {
      ++counts.AlreadyThere;
      continue;
    }
    if (taken.contains(name)) {
      const std::string safe = std::move(name);
      int& number = nextNumber.try_emplace(safe, 1).first->second;
      while (taken.contains(name = safe + NumberText(number))) ++number;
      ++number;
    }
    const int32_t z = incoming.Z ? *incoming.Z : altitude(incoming.MapNo, incoming.X, incoming.Y);
    const TLocation& place = added.emplace_back(
        TLocation{std::move(name), NumberText(incoming.X) + "," + NumberText(incoming.Y) + "," + NumberText(z),
                  incoming.MapNo});
    taken.insert(place.Name);
    present.Add(incoming.MapNo, incoming.X, incoming.Y, place.Name);
    ++counts.Added;
  }

  // Every added name is new, so their order among the places held is only by name.
  std::sort(added.begin(), added.end(), [](const TLocation& a, const TLocation& b) { return CompareLocations(a, b) < 0; });
  const auto held = static_cast<std::ptrdiff_t>(places.size());
  places.reserve(places.size() + added.size());
  for (TLocation& place : added) places.push_back(std::make_unique<TLocation>(std::move(place)));
  std::inplace_merge(places.begin(), places.begin() + held, places.end(),
                     [](const auto& a, const auto& b) { return CompareLocations(*a, *b) < 0; });
  return counts;
}

}  // namespace wf::ui
