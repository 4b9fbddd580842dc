#pragma once
// A map window with fake controls and desktop, its configuration file and its
// places file in a fresh directory.

#include <filesystem>
#include <memory>
#include <string>

#include "Fakes.h"
#include "TempDir.h"
#include "config/Config.h"
#include "mapdata/Map.h"
#include "mapdata/MapTable.h"
#include "platform/Files.h"
#include "ui/MapForm.h"

namespace wf::ui::testing {

class FormRig {
 public:
  // `mapConfig` names the game's data files; without any, no map is loaded.
  explicit FormRig(const TConfig* mapConfig = nullptr) {
    TConfig none;
    const TConfig& paths = mapConfig ? *mapConfig : none;
    maps = std::make_unique<TMapSet>(paths, mapBoxes);
    config = std::make_unique<TConfig>();
    cbChooseMap.visible = false;  // as the window lays it out
  }

  std::string ConfigFile() const { return dir.File("configtravel.xml"); }
  std::string PlacesFile() const { return dir.File("locations.txt"); }
  std::string ConfigText() const { return dir.Read("configtravel.xml"); }
  std::string PlacesText() const { return dir.Read("locations.txt"); }
  bool ConfigWritten() const { return platform::FileExists(ConfigFile()); }

  TMapForm& MakeForm() {
    if (withConfigFile) {
      // The store remembers the file it writes; none is there until it does.
      config->SaveToFile(ConfigFile());
      std::filesystem::remove(ConfigFile());
    }
    TMapFormServices services;
    services.Config = config.get();
    services.Maps = maps.get();
    services.Messages = &boxes;
    services.Input = &input;
    services.Client = &client;
    services.LocationsFile = PlacesFile();
    services.Places = store;
    services.Registry = registry;
    services.Folders = folders;
    services.ProgramFolder = programFolder;
    services.ProgramVersion = "2.7.1";
    services.Files = &files;
    form = std::make_unique<TMapForm>(
        TMapFormControls{mapImage, zoomMap, cbTravel, cbChooseMap, eX, eY, eZ, menu}, services);
    return *form;
  }

  // Created and shown, as at start-up.
  TMapForm& Start() {
    MakeForm();
    form->FormCreate();
    form->FormShow();
    return *form;
  }

  // The information boxes shown, in order.
  const std::vector<FakeMessageBoxes::Box>& informations() const { return boxes.informations; }

  // The places' names, as the form holds them.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& place : form->FLocations) names.push_back(place->Name);
    return names;
  }

  wf::testing::TempDir dir;
  FakeMessageBoxes mapBoxes;
  std::unique_ptr<TMapSet> maps;
  std::unique_ptr<TConfig> config;  // destroyed before the window, as at shutdown
  FakePane mapImage, zoomMap;
  FakeComboBox cbTravel, cbChooseMap;
  FakeEdit eX, eY, eZ;
  FakeSystemMenu menu;
  FakeMessageBoxes boxes;
  FakeInputDialog input;
  FakeClientWindows client;
  FakeFileDialogs files;
  IPlacesStore* store = nullptr;
  platform::IRegistry* registry = nullptr;  // with folders: the game folder command
  platform::IFolderDialog* folders = nullptr;
  std::string programFolder;
  bool withConfigFile = true;  // without one, "CurrentMap" cannot be stored
  std::unique_ptr<TMapForm> form;
};

}  // namespace wf::ui::testing
