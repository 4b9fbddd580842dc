#include "config/Config.h"
#include "ui/MapForm.h"
#include "ui/MenuCommands.h"

namespace wf::ui {

void TMapForm::AddMenuCommands() {
  if (s_.Files) {
    c_.Menu.AddCommand(cmImportPlaces, "Import places...");
    c_.Menu.AddCommand(cmExportPlaces, "Export places...");
  }
  FShowPlaces = s_.Config->GetInteger("showplaces") != 0;
  c_.Menu.AddCommand(cmShowPlaces, "Show places on the map");
  c_.Menu.SetChecked(cmShowPlaces, FShowPlaces);
}

void TMapForm::SystemCommand(int command) {
  switch (command) {
    case cmImportPlaces: ImportPlaces(); break;
    case cmExportPlaces: ExportPlaces(); break;
    case cmShowPlaces: ToggleShowPlaces(); break;
    default: break;
  }
}

}  // namespace wf::ui
