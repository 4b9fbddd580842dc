#include "config/Config.h"
#include "mapdata/Map.h"
#include "ui/MapForm.h"

namespace wf::ui {

namespace {

bool Loaded(const TMap* map) { return map && map->IsLoaded(); }

struct TMapChoice {
  const char* Text;
  uint16_t MapIndex;
};
constexpr TMapChoice kChoices[] = {{"Map0.mul", 0}, {"Map2.mul", 2}, {"Map3.mul", 3}, {"Map4.mul", 4}};

}  // namespace

// With only map 0 there is nothing to choose, and the list stays hidden.
// "Map0.mul" is offered whether or not map 0 itself could be loaded.
void TMapForm::FillMapChoice() {
  if (!Loaded(s_.Map2) && !Loaded(s_.Map3) && !Loaded(s_.Map4)) return;
  IComboBox& list = c_.cbChooseMap;
  list.ClearItems();
  list.AddItem("Map0.mul");
  if (Loaded(s_.Map2)) list.AddItem("Map2.mul");
  if (Loaded(s_.Map3)) list.AddItem("Map3.mul");
  if (Loaded(s_.Map4)) list.AddItem("Map4.mul");
  list.SetVisible(true);
}

void TMapForm::cbChooseMapChange() {
  const IComboBox& list = c_.cbChooseMap;
  const int index = list.ItemIndex();
  // Only a chosen item counts, never text typed into the list's field.
  const std::string chosen =
      index >= 0 && index < list.ItemCount() ? list.Item(index) : std::string();
  for (const TMapChoice& choice : kChoices) {
    if (chosen == choice.Text) {
      FMapIndex = choice.MapIndex;
      break;
    }
  }
  s_.Config->SetInteger("CurrentMap", FMapIndex);
  DrawOverview();
  FZoom = 1;
  FCenterX = 0;
  FCenterY = 0;
  FCenterZ = 0;
  DrawDetail();
}

}  // namespace wf::ui
