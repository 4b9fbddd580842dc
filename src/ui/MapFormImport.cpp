#include <unordered_set>

#include "common/Errors.h"
#include "common/IntegerText.h"
#include "mapdata/Map.h"
#include "mapdata/MapTable.h"
#include "places/ImportReport.h"
#include "places/MarkerFormats.h"
#include "platform/Desktop.h"
#include "platform/FileDialogs.h"
#include "platform/Files.h"
#include "ui/Locations.h"
#include "ui/MapForm.h"
#include "ui/PlaceCell.h"
#include "ui/PlacesImport.h"

namespace wf::ui {

namespace {

using places::TPlace;
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

}  // namespace

void TMapForm::ImportPlaces() {
  if (!s_.Files) return;
  const std::optional<std::string> path = s_.Files->OpenFile("Import places", kImportTypes);
  if (!path) return;
  std::string reason;
  const std::optional<std::string> bytes = ReadPlacesFileBytes(*path, platform::ShareMode::DenyNone, &reason);
  if (!bytes) throw EFOpenError(*path, reason);
  const TReadResult read = ReadPlacesToImport(*bytes, *path);

  // The places go into what the places file holds now, as every change does.
  std::optional<TLocation> selected;
  if (int index = c_.cbTravel.ItemIndex(); index >= 0 && static_cast<size_t>(index) < FLocations.size())
    selected = *FLocations[static_cast<size_t>(index)];
  const bool tookIn = TakeInOutsideChanges();

  const std::unordered_set<const TLocation*> held = [this] {
    std::unordered_set<const TLocation*> places;
    places.reserve(FLocations.size());
    for (const auto& place : FLocations) places.insert(place.get());
    return places;
  }();
  const places::TImportCounts counts =
      AddImportedPlaces(FLocations, read, [this](uint16_t mapNo, int32_t x, int32_t y) {
        const TMap* map = s_.Maps->Find(mapNo);
        return map && map->IsLoaded() ? map->GetAltitude(x, y) : 0;
      });
  std::string text;
  if (counts.Added > 0) {
    try {
      text = TextOfChange([&] {
        std::erase_if(FLocations, [&](const auto& place) { return !held.contains(place.get()); });
      });
    } catch (...) {
      // What the file held meanwhile is shown all the same.
      if (tookIn) FillTravelList();
      throw;
    }
  }

  if (counts.Added > 0 || tookIn) {
    FillTravelList();
    if (selected) c_.cbTravel.SetItemIndex(IndexOfSame(*selected));
    if (FShowPlaces) {
      DrawOverview();
      DrawDetail();
    }
  }
  if (counts.Added > 0) WriteLocationsAfterChange(std::move(text));
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
