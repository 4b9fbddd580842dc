#include <algorithm>
#include <exception>
#include <iterator>

#include "common/Errors.h"
#include "common/IntegerText.h"
#include "config/Config.h"
#include "mapdata/Map.h"
#include "platform/Desktop.h"
#include "places/TextLines.h"
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
  FUtf8Mark = false;
  FPlacesBytes.reset();
  const std::string& path = s_.LocationsFile;
  if (!Store().Exists(path)) {
    FPlacesFile = PlacesFileState::Writable;
    return;
  }
  // Until its text is taken, what the file holds is unknown, and writing it
  // could only lose places.
  FPlacesFile = PlacesFileState::Unreadable;
  std::string reason;
  std::optional<std::string> bytes = Store().Read(path, &reason);
  if (!bytes) throw EFOpenError(path, reason);
  TPlacesText text = DecodePlacesText(*bytes);
  if (!text.Problem.empty())
    throw Exception("The places file " + path + " is not read and not written, because " + text.Problem);
  const std::optional<std::string> unreadableMap = TakePlacesText(std::move(*bytes), text);
  FPlacesFile = PlacesFileState::Writable;
  FillTravelList();
  if (unreadableMap) throw NotAMapNumber(*unreadableMap);
}

std::optional<std::string> TMapForm::TakePlacesText(std::string bytes, const TPlacesText& decoded) {
  FLocations.clear();
  FKeptLines.clear();
  FUtf8Mark = decoded.MarkLength > 0;
  FPlacesBytes = std::move(bytes);
  const std::string_view text = decoded.Of(*FPlacesBytes);

  // A line with a map number the program cannot read is still the player's:
  // it is kept, written back as it was, and reported once everything else is in.
  std::optional<std::string> unreadableMap;
  FUnreadRest = UnreadRest(text);
  places::ForEachLine(TextBeforeZero(text), [&](std::string_view line, int) {
    TLocationLine read = ReadLocationLine(line);
    if (read.What == TLocationLine::Kind::Place) {
      FLocations.push_back(std::make_unique<TLocation>(std::move(read.Place)));
    } else if (read.What == TLocationLine::Kind::Unreadable) {
      FKeptLines.emplace_back(line);
      if (!unreadableMap) unreadableMap = read.MapText;
    }
  });
  SortLocations();
  return unreadableMap;
}

bool TMapForm::TakeInOutsideChanges() {
  if (FPlacesFile != PlacesFileState::Writable) return false;
  const std::string& path = s_.LocationsFile;
  // A file removed meanwhile holds nothing to take in; the places held are
  // written anew rather than lost.
  if (!Store().Exists(path)) return false;
  // A file that cannot be read now (an editor saving it) is tried again at
  // the next change; the places held stay as they are meanwhile.
  std::string reason;
  std::optional<std::string> now = Store().Read(path, &reason);
  if (!now) throw EFOpenError(path, reason);
  if (now == FPlacesBytes) return false;
  TPlacesText text = DecodePlacesText(*now);
  if (!text.Problem.empty())
    throw Exception("The places file " + path + " is not read now and not written, because " + text.Problem +
                    "; nothing was changed");
  TakePlacesText(std::move(*now), text);
  return true;
}

int TMapForm::IndexOfSame(const TLocation& place) const {
  for (size_t i = 0; i < FLocations.size(); ++i) {
    const TLocation& held = *FLocations[i];
    if (held.Name == place.Name && held.Coords == place.Coords && held.MapNo == place.MapNo)
      return static_cast<int>(i);
  }
  return -1;
}

// A file the program would not read again loses every place at the next
// start, so it is never written.
std::string TMapForm::PlacesFileText() const {
  std::string text = FUtf8Mark ? "\xEF\xBB\xBF" : "";
  text += LocationsFileText(FLocations, FKeptLines, FUnreadRest);
  if (text.size() > kMaxPlacesFileSize) throw Exception(PlacesFileTooLarge(s_.LocationsFile, text.size()));
  return text;
}

std::string TMapForm::TextOfChange(const std::function<void()>& undo) {
  try {
    return PlacesFileText();
  } catch (const Exception&) {
    undo();
    throw;
  }
}

void TMapForm::WriteLocations() {
  if (FPlacesFile == PlacesFileState::Writable) WriteLocations(PlacesFileText());
}

void TMapForm::WriteLocations(std::string text) {
  if (FPlacesFile != PlacesFileState::Writable) return;
  const std::string& path = s_.LocationsFile;
  std::string reason;
  if (Store().Replace(path, text, &reason) != 0) throw EFCreateError(path, reason);
  FPlacesBytes = std::move(text);
}

void TMapForm::WriteLocationsAfterChange(std::string text) {
  if (FPlacesFile == PlacesFileState::Unreadable)
    throw Exception("The places file " + s_.LocationsFile +
                    " could not be read when the program started, so it is not written: this "
                    "change lasts only until the program ends");
  WriteLocations(std::move(text));
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
  TakeInOutsideChanges();
  WriteLocations();
}

// The places first; the atlas's settings are written also when they fail.
void TMapForm::SessionEnding() {
  std::exception_ptr placesError;
  try {
    if (TakeInOutsideChanges()) FillTravelList();
    WriteLocations();
  } catch (...) {
    placesError = std::current_exception();
  }
  if (FAtlas) FAtlas->SessionEnding();
  if (placesError) std::rethrow_exception(placesError);
}

void TMapForm::SortLocations() { ui::SortLocations(FLocations); }

void TMapForm::FillTravelList() {
  // Places offered by a find before this change may be gone: none of them is
  // chosen any more.
  FFound.clear();
  ListUpdate update(c_.cbTravel);
  c_.cbTravel.ClearItems();
  for (const auto& place : FLocations) c_.cbTravel.AddItem(place->Name);
  TellAtlasOfPlaces();
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

void TMapForm::btnNeuClick() { AddPlace(c_.eX.Text(), c_.eY.Text(), c_.eZ.Text(), FMapIndex); }

void TMapForm::NewPlaceAt(int32_t x, int32_t y) {
  // The map in use may fall back to map 0 here, before its number is taken.
  const std::string z = NumberText(ActiveMap().GetAltitude(x, y));
  if (!AddPlace(NumberText(x), NumberText(y), z, FMapIndex)) return;
  // The list shows the new place chosen: "Ändern" must not move it elsewhere.
  c_.eX.SetText(NumberText(x));
  c_.eY.SetText(NumberText(y));
  c_.eZ.SetText(z);
}

// The box may leave other windows usable (the atlas's does), where the map in
// use can change: the cell and its map are those of the command.
bool TMapForm::AddPlace(const std::string& x, const std::string& y, const std::string& z, uint16_t map) {
  const std::optional<std::string> answer =
      s_.Input->InputQuery("Neuer Ort", "Wie soll der Ort heissen?", "Neuer Eintrag", 255);
  if (!answer || answer->empty()) return false;
  CheckLocationName(*answer);
  CheckPlaceCoordinates(x, y, z);
  CheckCoordinateText(x);
  CheckCoordinateText(y);
  CheckCoordinateText(z);
  TakeInOutsideChanges();

  auto place = std::make_unique<TLocation>();
  place->Name = UniqueLocationName(FLocations, *answer);
  place->Coords = x + "," + y + "," + z;
  place->MapNo = map;
  const std::string name = place->Name;
  const TLocation* added = place.get();
  FLocations.push_back(std::move(place));
  SortLocations();
  std::string text = TextOfChange([&] {
    std::erase_if(FLocations, [added](const auto& held) { return held.get() == added; });
  });
  FillTravelList();
  for (size_t i = 0; i < FLocations.size(); ++i) {
    if (FLocations[i]->Name == name) {
      c_.cbTravel.SetItemIndex(static_cast<int>(i));
      break;
    }
  }
  WriteLocationsAfterChange(std::move(text));
  return true;
}

void TMapForm::btnChangeClick() {
  const int index = SelectedLocationIndex();
  if (index < 0) return;
  const std::string x = c_.eX.Text(), y = c_.eY.Text(), z = c_.eZ.Text();
  CheckPlaceCoordinates(x, y, z);
  CheckCoordinateText(x);
  CheckCoordinateText(y);
  CheckCoordinateText(z);
  int changed = index;
  if (const TLocation before = *FLocations[static_cast<size_t>(index)]; TakeInOutsideChanges()) {
    // The change goes to the same place in what the file holds now; one that
    // is gone from it stays gone.
    changed = IndexOfSame(before);
    FillTravelList();
    c_.cbTravel.SetItemIndex(changed);
    if (changed < 0) {
      WriteLocationsAfterChange(PlacesFileText());
      return;
    }
  }
  TLocation& place = *FLocations[static_cast<size_t>(changed)];
  const TLocation before = place;
  place.Coords = x + "," + y + "," + z;
  place.MapNo = FMapIndex;
  std::string text = TextOfChange([&] { place = before; });
  TellAtlasOfPlaces();

  // The place has changed whatever the edit fields hold, so it is written even
  // when they do not make a centre; a failed write is the graver news.
  std::exception_ptr centreError;
  try {
    SetCentreFromEdits();
    DrawDetail();
  } catch (...) {
    centreError = std::current_exception();
  }
  WriteLocationsAfterChange(std::move(text));
  if (centreError) std::rethrow_exception(centreError);
}

void TMapForm::btnDeleteClick() {
  const int index = SelectedLocationIndex();
  if (index < 0) return;
  if (const TLocation before = *FLocations[static_cast<size_t>(index)]; TakeInOutsideChanges()) {
    if (const int same = IndexOfSame(before); same >= 0) FLocations.erase(FLocations.begin() + same);
    FillTravelList();
  } else {
    FLocations.erase(FLocations.begin() + index);
    c_.cbTravel.DeleteItem(index);
    TellAtlasOfPlaces();
  }
  c_.cbTravel.SetItemIndex(-1);
  WriteLocationsAfterChange(PlacesFileText());
}

void TMapForm::cbTravelChange() {
  const int index = SelectedLocationIndex();
  if (index < 0) return;
  const TLocation& place = *FLocations[static_cast<size_t>(index)];
  const uint16_t mapNo = place.MapNo;
  const std::vector<std::string> items = ParseCommaText(place.Coords, 3);
  IEdit* edits[] = {&c_.eX, &c_.eY, &c_.eZ};
  const size_t present = std::min(items.size(), std::size(edits));
  for (size_t i = 0; i < present; ++i) edits[i]->SetText(items[i]);
  // A place short of a coordinate fills the fields it has and stops at the
  // first missing one, with the list's error for the index it would have had.
  if (present < std::size(edits)) throw EListError(static_cast<int>(present));
  SetCentreFromEdits();
  // The picture changes first, so that a failed save leaves it and the map
  // number together.
  const bool otherMap = mapNo != FMapIndex;
  if (otherMap) {
    FMapIndex = mapNo;
    DrawOverview();
    FZoom = 1;
  }
  DrawDetail();
  if (otherMap) s_.Config->SetInteger("CurrentMap", mapNo);
}

}  // namespace wf::ui
