#include <algorithm>
#include <map>
#include <tuple>

#include "common/Errors.h"
#include "common/IntegerText.h"
#include "mapdata/Map.h"
#include "mapdata/MapTable.h"
#include "places/ImportReport.h"
#include "places/MarkerFormats.h"
#include "places/PlaceNames.h"
#include "platform/Desktop.h"
#include "platform/FileDialogs.h"
#include "platform/Files.h"
#include "ui/Locations.h"
#include "ui/MapForm.h"
#include "ui/PlaceCell.h"

namespace wf::ui {

namespace {

using places::TPlace;
using places::TPlacesFormat;
using places::TReadResult;

const std::vector<platform::TFileType> kImportTypes = {
    {"Places and marker files (*.txt;*.map;*.csv)", "*.txt;*.map;*.csv"},
    {"All files (*.*)", "*.*"},
};

// In the order of the save dialog's types.
const std::vector<platform::TFileType> kExportTypes = {
    {"Marker CSV, UTF-8 (*.csv)", "*.csv"},
    {"Marker file (*.map)", "*.map"},
};
const char* const kExportExtensions[] = {".csv", ".map"};

bool IsBlankOrComment(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos || line.starts_with("//");
}

// A places file of this program, another one's or an older copy, read by the
// rules the program reads its own by; what those rules skip, or what gives no
// place a map can hold, counts as not understood.
TReadResult ReadPlacesFile(std::string_view text) {
  TReadResult result;
  const std::vector<std::string> lines = TextLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int lineNumber = static_cast<int>(i + 1);
    if (IsBlankOrComment(lines[i])) continue;
    const TLocationLine read = ReadLocationLine(lines[i]);
    const std::vector<std::string> items = ParseCommaText(read.Place.Coords);
    std::optional<int32_t> x, y, z;
    if (items.size() >= 2) x = TryParseInteger(items[0]), y = TryParseInteger(items[1]);
    if (items.size() >= 3) z = TryParseInteger(items[2]);
    if (read.What != TLocationLine::Kind::Place || read.Place.Name.empty() || !x || !y ||
        (items.size() >= 3 && !z) || !places::IsPlausibleCell(*x, *y) ||
        read.Place.MapNo > places::kHighestMap) {
      result.Refuse(lineNumber);
      continue;
    }
    result.Places.push_back({read.Place.Name, *x, *y, z, read.Place.MapNo});
  }
  return result;
}

// Where a place lies, for telling whether an imported one is there already.
using TCellKey = std::tuple<uint16_t, int32_t, int32_t>;

}  // namespace

void TMapForm::ImportPlaces() {
  if (!s_.Files) return;
  const std::optional<std::string> path = s_.Files->OpenFile("Import places", kImportTypes);
  if (!path) return;
  const std::optional<std::string> text =
      platform::ReadWholeFile(*path, platform::ShareMode::DenyNone);
  if (!text) throw EFOpenError(*path);

  const TReadResult own = ReadPlacesFile(*text);
  const TReadResult markers = places::ReadMarkerFile(*text);
  const TReadResult csv = places::ReadMarkerCsv(*text);
  const TPlacesFormat format = places::ChooseFormat(
      {{TPlacesFormat::PlacesFile, &own}, {TPlacesFormat::MarkerFile, &markers},
       {TPlacesFormat::MarkerCsv, &csv}},
      *path);
  const TReadResult& read = format == TPlacesFormat::MarkerFile  ? markers
                            : format == TPlacesFormat::MarkerCsv ? csv
                                                                 : own;

  // Names of the places at each cell; a place is there already when one of
  // them is its name, or its name numbered as a taken name is (so importing a
  // file twice adds nothing the second time).
  std::multimap<TCellKey, std::string> present;
  for (const auto& place : FLocations)
    if (auto cell = PlaceCell(*place)) present.emplace(TCellKey{place->MapNo, cell->first, cell->second}, place->Name);
  const auto isThere = [&](const TCellKey& key, const std::string& name) {
    auto [first, last] = present.equal_range(key);
    return std::any_of(first, last, [&](const auto& entry) {
      return entry.second == name || places::IsNumberedName(entry.second, name);
    });
  };
  const auto nameTaken = [&](const std::string& name) {
    return std::any_of(FLocations.begin(), FLocations.end(),
                       [&](const auto& place) { return place->Name == name; });
  };

  const TLocation* selected = nullptr;
  if (int index = c_.cbTravel.ItemIndex(); index >= 0 && static_cast<size_t>(index) < FLocations.size())
    selected = FLocations[static_cast<size_t>(index)].get();

  places::TImportCounts counts;
  counts.Unreadable = read.Unreadable;
  counts.FirstUnreadableLine = read.FirstUnreadableLine;
  for (const TPlace& incoming : read.Places) {
    const std::string safe = places::MakeNameSafe(incoming.Name);
    const TCellKey key{incoming.MapNo, incoming.X, incoming.Y};
    if (isThere(key, safe)) {
      ++counts.AlreadyThere;
      continue;
    }
    // The numbering "Neu" gives; where its single pass over the sorted names
    // lands on a name that is taken after all (Ort10 sorts before Ort2), the
    // count goes on until it is free.
    std::string name = UniqueLocationName(FLocations, safe);
    for (int n = 1; nameTaken(name); ++n) name = safe + NumberText(n);
    int32_t z = 0;
    if (incoming.Z) {
      z = *incoming.Z;
    } else if (const TMap* map = s_.Maps->Find(incoming.MapNo); map && map->IsLoaded()) {
      z = map->GetAltitude(incoming.X, incoming.Y);
    }
    auto place = std::make_unique<TLocation>();
    place->Name = name;
    place->Coords = NumberText(incoming.X) + "," + NumberText(incoming.Y) + "," + NumberText(z);
    place->MapNo = incoming.MapNo;
    const auto at = std::upper_bound(FLocations.begin(), FLocations.end(), place,
                                     [](const auto& a, const auto& b) { return CompareLocations(*a, *b) < 0; });
    FLocations.insert(at, std::move(place));
    present.emplace(key, name);
    ++counts.Added;
  }

  if (counts.Added > 0) {
    FillTravelList();
    for (size_t i = 0; selected && i < FLocations.size(); ++i)
      if (FLocations[i].get() == selected) c_.cbTravel.SetItemIndex(static_cast<int>(i));
    if (FShowPlaces) {
      DrawOverview();
      DrawDetail();
    }
    WriteLocationsAfterChange();
  }
  s_.Messages->ShowInformation("Import places", places::ImportReportText(counts));
}

void TMapForm::ExportPlaces() {
  if (!s_.Files) return;
  const std::optional<platform::IFileDialogs::TSaveChoice> choice =
      s_.Files->SaveFile("Export places", kExportTypes, "places.csv");
  if (!choice) return;
  const int type = choice->Type == 1 ? 1 : 0;
  const std::string path = places::WithDefaultExtension(choice->Path, kExportExtensions[type]);

  std::vector<TPlace> written;
  int leftOut = 0;
  for (const auto& place : FLocations) {
    const auto cell = PlaceCell(*place);
    if (!cell || !places::IsPlausibleCell(cell->first, cell->second)) {
      ++leftOut;
      continue;
    }
    written.push_back({place->Name, cell->first, cell->second, std::nullopt, place->MapNo});
  }
  const std::string text =
      type == 1 ? places::MarkerFileText(written) : places::MarkerCsvText(written);
  if (platform::ReplaceFileContents(path, text) != 0) throw EFCreateError(path);
  if (leftOut > 0)
    s_.Messages->ShowInformation(
        "Export places", places::ExportReportText(static_cast<int>(written.size()), leftOut));
}

}  // namespace wf::ui
