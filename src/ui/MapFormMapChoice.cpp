#include <algorithm>
#include <span>

#include "config/Config.h"
#include "mapdata/Map.h"
#include "mapdata/MapTable.h"
#include "ui/MapForm.h"

namespace wf::ui {

// With only map 0 there is nothing to choose, and the list stays hidden (or
// is hidden again when the maps were made anew without the others).
// Map 0's item is offered whether or not map 0 itself could be loaded; the
// others only when their map is.
void TMapForm::FillMapChoice() {
  const auto loaded = [this](const TMapSlot& slot) {
    const TMap* map = s_.Maps->Find(slot.Number);
    return map && map->IsLoaded();
  };
  const std::span others = std::span(MapSlots).subspan(1);
  IComboBox& list = c_.cbChooseMap;
  if (std::none_of(others.begin(), others.end(), loaded)) {
    if (list.Visible()) {
      list.ClearItems();
      list.SetVisible(false);
    }
    return;
  }
  list.ClearItems();
  list.AddItem(MapSlots[0].ChoiceText);
  for (const TMapSlot& slot : others)
    if (loaded(slot)) list.AddItem(slot.ChoiceText);
  list.SetVisible(true);
}

void TMapForm::cbChooseMapChange() {
  const IComboBox& list = c_.cbChooseMap;
  const int index = list.ItemIndex();
  // Only a chosen item counts, never text typed into the list's field.
  const std::string chosen =
      index >= 0 && index < list.ItemCount() ? list.Item(index) : std::string();
  for (const TMapSlot& slot : MapSlots) {
    if (chosen == slot.ChoiceText) {
      FMapIndex = static_cast<uint16_t>(slot.Number);
      break;
    }
  }
  // The number chosen is the one stored, also when the map shown falls back to
  // map 0; the picture changes first, so that a failed save leaves it and the
  // map number together.
  const uint16_t chosenMap = FMapIndex;
  DrawOverview();
  FZoom = 1;
  FCenterX = 0;
  FCenterY = 0;
  FCenterZ = 0;
  DrawDetail();
  s_.Config->SetInteger("CurrentMap", chosenMap);
}

bool TMapForm::ShowMap(int32_t map) {
  if (map == FMapIndex) return true;
  if (!SwitchMap(map)) return false;
  DrawOverview();
  DrawDetail();
  s_.Config->SetInteger("CurrentMap", FMapIndex);
  return true;
}

}  // namespace wf::ui
