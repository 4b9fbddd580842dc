#include <utility>

#include "config/Config.h"
#include "mapdata/GameFolder.h"
#include "mapdata/MapTable.h"
#include "platform/Desktop.h"
#include "platform/FolderDialog.h"
#include "platform/PathParts.h"
#include "ui/MapForm.h"
#include "ui/MenuCommands.h"

namespace wf::ui {

void TMapForm::AddMenuCommands() {
  if (s_.Registry && s_.Folders) c_.Menu.AddCommand(cmGameFolder, "Game folder...");
  if (s_.Files) {
    c_.Menu.AddCommand(cmImportPlaces, "Import places...");
    c_.Menu.AddCommand(cmExportPlaces, "Export places...");
  }
  FShowPlaces = s_.Config->GetInteger("showplaces") != 0;
  c_.Menu.AddCommand(cmShowPlaces, "Show places on the map");
  c_.Menu.SetChecked(cmShowPlaces, FShowPlaces);
  c_.Menu.AddCommand(cmShowPlayer, "Show player");
  c_.Menu.SetChecked(cmShowPlayer, FShowPlayer);
  c_.Menu.AddCommand(cmFollowPlayer, "Follow player");
  c_.Menu.SetChecked(cmFollowPlayer, FFollowPlayer);
  if (FAtlas) c_.Menu.AddCommand(cmAtlas, "Atlas");
  if (FFriendsPanel) c_.Menu.AddCommand(cmFriends, "Friends...");
  c_.Menu.AddCommand(cmAbout, "About Wayfarer...");
}

void TMapForm::SystemCommand(int command) {
  switch (command) {
    case cmGameFolder:
      if (s_.Registry && s_.Folders) ChooseGameFolder();
      break;
    case cmImportPlaces: ImportPlaces(); break;
    case cmExportPlaces: ExportPlaces(); break;
    case cmShowPlaces: ToggleShowPlaces(); break;
    case cmShowPlayer: ToggleShowPlayer(); break;
    case cmFollowPlayer: ToggleFollowPlayer(); break;
    case cmAtlas:
      if (FAtlas) FAtlas->OpenAtlas();
      break;
    case cmFriends:
      if (FFriendsPanel) FFriendsPanel->OpenFriends();
      break;
    case cmAbout: ShowAbout(); break;
    default: break;
  }
}

// The maps are made anew from the chosen folder's files and shown at once;
// the configuration is saved first, so the choice outlasts the session.
void TMapForm::ChooseGameFolder() {
  const std::optional<std::string> start = FindGameFolder(*s_.Registry, s_.ProgramFolder);
  const std::optional<std::string> chosen = s_.Folders->ChooseFolder("Game folder", start.value_or(""));
  if (!chosen) return;
  if (!UseGameFolder(*chosen, *s_.Config)) {
    s_.Messages->ShowError("Game folder",
                           "The folder " + *chosen +
                               " does not hold the game's map files (radarcol.mul and map0LegacyMUL.uop or "
                               "map0.mul). Nothing was changed.");
    return;
  }
  s_.Config->Save();
  ReplaceMaps();
  FillMapChoice();
  DrawOverview();
  DrawDetail();
  s_.Config->SetInteger("CurrentMap", FMapIndex);
  if (std::exchange(FPlayerChangeWaiting, false)) PlayerChanged();
}

void TMapForm::ReplaceMaps() {
  FReplacingMaps = true;
  if (FAtlas) FAtlas->MapsReplacing();
  try {
    s_.Maps->Rebuild(*s_.Config, *s_.Messages);
  } catch (...) {
    FReplacingMaps = false;
    if (FAtlas) FAtlas->MapsReplaced();
    throw;
  }
  FReplacingMaps = false;
  if (FAtlas) FAtlas->MapsReplaced();
}

// The folder is the one the places file lies in, which is where the
// configuration lies too: the one a player backs up or moves.
void TMapForm::ShowAbout() {
  s_.Messages->ShowInformation(
      "About Wayfarer",
      "Wayfarer " + s_.ProgramVersion +
          "\nFree software under the MIT licence (LICENSE.txt): use, copy and change it freely; it comes without "
          "warranty.\n\nYour settings and places are kept in:\n" +
          std::string(platform::DirectoryPart(s_.LocationsFile)));
}

}  // namespace wf::ui
