#include <algorithm>
#include <exception>
#include <iterator>

#include "common/Errors.h"
#include "common/IntegerText.h"
#include "config/Config.h"
#include "platform/Desktop.h"
#include "ui/Locations.h"
#include "ui/MapForm.h"

namespace wf::ui {

namespace {

// Keeps a list's redrawing suspended for one scope, also when it is left by an error.
class ListUpdate {
 public:
  explicit ListUpdate(IComboBox& list) : list_(list) { list_.BeginUpdate(); }
  ~ListUpdate() { list_.EndUpdate(); }
  ListUpdate(const ListUpdate&) = delete;
  ListUpdate& operator=(const ListUpdate&) = delete;

 private:
  IComboBox& list_;
};

}  // namespace

IPlacesStore& TMapForm::Store() { return s_.Places ? *s_.Places : FilePlacesStore(); }

void TMapForm::LoadLocations() {
  FLocations.clear();
  FKeptLines.clear();
  FUnreadRest.clear();
  const std::string& path = s_.LocationsFile;
  if (!Store().Exists(path)) {
    FPlacesFile = PlacesFileState::Writable;
    return;
  }
  std::optional<std::string> text = Store().Read(path);
  if (!text) {
    // What the file holds is unknown, so writing it could only lose places.
    FPlacesFile = PlacesFileState::Unreadable;
    throw EFOpenError(path);
  }

  // A line with a map number the program cannot read is still the player's:
  // it is kept, written back as it was, and reported once everything else is in.
  std::optional<std::string> unreadableMap;
  FUnreadRest = UnreadRest(*text);
  for (const std::string& line : TextLines(*text)) {
    TLocationLine read = ReadLocationLine(line);
    if (read.What == TLocationLine::Kind::Place) {
      FLocations.push_back(std::make_unique<TLocation>(std::move(read.Place)));
    } else if (read.What == TLocationLine::Kind::Unreadable) {
      FKeptLines.push_back(line);
      if (!unreadableMap) unreadableMap = read.MapText;
    }
  }
  FPlacesFile = PlacesFileState::Writable;
  SortLocations();
  FillTravelList();
  if (unreadableMap) throw NotAnInteger(*unreadableMap);
}

void TMapForm::WriteLocations() {
  if (FPlacesFile != PlacesFileState::Writable) return;
  const std::string& path = s_.LocationsFile;
  if (Store().Replace(path, LocationsFileText(FLocations, FKeptLines, FUnreadRest)) != 0)
    throw EFCreateError(path);
}

void TMapForm::WriteLocationsAfterChange() {
  if (FPlacesFile == PlacesFileState::Unreadable)
    throw Exception("The places file " + s_.LocationsFile +
                    " could not be read when the program started, so it is not written: this "
                    "change lasts only until the program ends");
  WriteLocations();
}

void TMapForm::SaveLocations() {
  struct Release {
    TMapForm& form;
    ~Release() {
      form.FLocations.clear();
      form.FKeptLines.clear();
      form.FUnreadRest.clear();
      form.FPlacesFile = PlacesFileState::Released;
    }
  } release{*this};
  WriteLocations();
}

void TMapForm::SessionEnding() { WriteLocations(); }

void TMapForm::SortLocations() { ui::SortLocations(FLocations); }

void TMapForm::FillTravelList() {
  ListUpdate update(c_.cbTravel);
  c_.cbTravel.ClearItems();
  for (const auto& place : FLocations) c_.cbTravel.AddItem(place->Name);
}

int TMapForm::SelectedLocationIndex() {
  const int index = c_.cbTravel.ItemIndex();
  if (index < 0) return -1;
  if (static_cast<size_t>(index) >= FLocations.size()) throw EListError(index);
  return index;
}

void TMapForm::SetCentreFromEdits() {
  FCenterX = static_cast<uint16_t>(ParseInteger(c_.eX.Text()));
  FCenterY = static_cast<uint16_t>(ParseInteger(c_.eY.Text()));
  FCenterZ = static_cast<int8_t>(ParseInteger(c_.eZ.Text()));
}

void TMapForm::btnNeuClick() {
  const std::optional<std::string> answer =
      s_.Input->InputQuery("Neuer Ort", "Wie soll der Ort heissen?", "Neuer Eintrag", 255);
  if (!answer || answer->empty()) return;
  const std::string x = c_.eX.Text(), y = c_.eY.Text(), z = c_.eZ.Text();
  CheckLocationName(*answer);
  CheckCoordinateText(x);
  CheckCoordinateText(y);
  CheckCoordinateText(z);

  auto place = std::make_unique<TLocation>();
  place->Name = UniqueLocationName(FLocations, *answer);
  place->Coords = x + "," + y + "," + z;
  place->MapNo = FMapIndex;
  const std::string name = place->Name;
  FLocations.push_back(std::move(place));
  SortLocations();
  FillTravelList();
  for (size_t i = 0; i < FLocations.size(); ++i) {
    if (FLocations[i]->Name == name) {
      c_.cbTravel.SetItemIndex(static_cast<int>(i));
      break;
    }
  }
  WriteLocationsAfterChange();
}

void TMapForm::btnChangeClick() {
  const int index = SelectedLocationIndex();
  if (index < 0) return;
  const std::string x = c_.eX.Text(), y = c_.eY.Text(), z = c_.eZ.Text();
  CheckCoordinateText(x);
  CheckCoordinateText(y);
  CheckCoordinateText(z);
  TLocation& place = *FLocations[static_cast<size_t>(index)];
  place.Coords = x + "," + y + "," + z;
  place.MapNo = FMapIndex;

  // The place has changed whatever the edit fields hold, so it is written even
  // when they do not make a centre; a failed write is the graver news.
  std::exception_ptr centreError;
  try {
    SetCentreFromEdits();
    DrawDetail();
  } catch (...) {
    centreError = std::current_exception();
  }
  WriteLocationsAfterChange();
  if (centreError) std::rethrow_exception(centreError);
}

void TMapForm::btnDeleteClick() {
  const int index = SelectedLocationIndex();
  if (index < 0) return;
  FLocations.erase(FLocations.begin() + index);
  c_.cbTravel.DeleteItem(index);
  c_.cbTravel.SetItemIndex(-1);
  WriteLocationsAfterChange();
}

void TMapForm::cbTravelChange() {
  const int index = SelectedLocationIndex();
  if (index < 0) return;
  const TLocation& place = *FLocations[static_cast<size_t>(index)];
  const uint16_t mapNo = place.MapNo;
  const std::vector<std::string> items = ParseCommaText(place.Coords);
  IEdit* edits[] = {&c_.eX, &c_.eY, &c_.eZ};
  const size_t present = std::min(items.size(), std::size(edits));
  for (size_t i = 0; i < present; ++i) edits[i]->SetText(items[i]);
  // A place short of a coordinate fills the fields it has and stops at the
  // first missing one, with the list's error for the index it would have had.
  if (present < std::size(edits)) throw EListError(static_cast<int>(present));
  SetCentreFromEdits();
  if (mapNo != FMapIndex) {
    FMapIndex = mapNo;
    s_.Config->SetInteger("CurrentMap", mapNo);
    DrawOverview();
    FZoom = 1;
  }
  DrawDetail();
}

}  // namespace wf::ui
