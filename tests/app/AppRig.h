#pragma once
// The map window with its logic, in this process, on a small world: what the
// program builds at start-up, short of the message loop.

#include <memory>
#include <string>

#include "AppWorld.h"
#include "app/MapFormBinding.h"
#include "mapdata/Map.h"
#include "mapdata/MapTable.h"
#include "platform/win32/ClientWindows.h"
#include "platform/win32/FileDialogs.h"
#include "ui/MapForm.h"
#include "ui/win32/InputDialog.h"
#include "ui/win32/MapWindow.h"
#include "ui/win32/MessageBoxes.h"
#include "ui/win32/MessageLoop.h"

namespace wf::testing {

class AppRig {
 public:
  // `locations`: the places file's text, or none for no file.
  explicit AppRig(const std::string* locations = nullptr) {
    if (locations) world.Dir().Write("locations.txt", *locations);
    const std::string currentMap = "4";
    world.FillConfig(config, &currentMap);
    config.SaveToFile(world.File("configtravel.xml"));
    maps = std::make_unique<TMapSet>(config, messages);
    ui::TMapFormServices services;
    services.Config = &config;
    services.Maps = maps.get();
    services.Messages = &messages;
    services.Input = &input;
    services.Client = &client;
    services.Files = &files;
    services.LocationsFile = world.File("locations.txt");
    form = std::make_unique<ui::TMapForm>(window.FormControls(), std::move(services));
    binding = std::make_unique<app::TMapFormBinding>(window, *form);
    window.Create();
    window.Show();
    Pump();
  }

  void Pump() { ui::win32::ProcessPendingMessages(window); }

  AppWorld world;
  TConfig config;
  ui::win32::TMessageBoxes messages;
  ui::win32::TInputDialog input;
  platform::Win32ClientWindows client;
  platform::Win32FileDialogs files;
  std::unique_ptr<TMapSet> maps;
  ui::win32::TMapWindow window;
  std::unique_ptr<ui::TMapForm> form;
  std::unique_ptr<app::TMapFormBinding> binding;
};

}  // namespace wf::testing
