#include "places/PlaceNames.h"
#include "ui/Locations.h"
#include "ui/MapForm.h"

namespace wf::ui {

std::vector<std::string> TMapForm::FindPlaces(const std::string& typed) {
  std::vector<std::string> names;
  names.reserve(FLocations.size());
  for (const auto& place : FLocations) names.push_back(place->Name);
  FFound.clear();
  std::vector<std::string> offered;
  for (int index : places::FindMatches(names, typed)) {
    FFound.push_back(FLocations[static_cast<size_t>(index)].get());
    offered.push_back(names[static_cast<size_t>(index)]);
  }
  return offered;
}

void TMapForm::FindChosen(int offered) {
  if (offered < 0 || static_cast<size_t>(offered) >= FFound.size()) return;
  const TLocation* chosen = FFound[static_cast<size_t>(offered)];
  FFound.clear();
  // Every change of the places forgets what was offered, so the place is
  // still held.
  ChoosePlace(chosen);
}

void TMapForm::ChoosePlace(const TLocation* chosen) {
  for (size_t i = 0; i < FLocations.size(); ++i) {
    if (FLocations[i].get() != chosen) continue;
    c_.cbTravel.SetItemIndex(static_cast<int>(i));
    cbTravelChange();
    return;
  }
}

}  // namespace wf::ui
