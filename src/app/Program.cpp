#include "app/Program.h"

#include <memory>
#include <string>

#include "app/MapFormBinding.h"
#include "config/Config.h"
#include "mapdata/Map.h"
#include "platform/Files.h"
#include "platform/win32/ClientWindows.h"
#include "ui/MapForm.h"
#include "ui/win32/InputDialog.h"
#include "ui/win32/MapWindow.h"
#include "ui/win32/MessageBoxes.h"
#include "ui/win32/MessageLoop.h"

namespace wf::app {

int RunProgram(int showCommand) {
  ui::win32::TMessageBoxes messages;
  ui::win32::TInputDialog input;
  platform::Win32ClientWindows client;
  const std::string directory = platform::ExecutableDirectory();

  auto config = std::make_unique<TConfig>();
  config->LoadFromFile(directory + "configtravel.xml");

  auto map0 = std::make_unique<TMap>(0, *config, messages);
  auto map2 = std::make_unique<TMap>(2, *config, messages);
  auto map3 = std::make_unique<TMap>(3, *config, messages);
  auto map4 = std::make_unique<TMap>(4, *config, messages);

  ui::win32::TMapWindow window;
  ui::TMapFormServices services;
  services.Config = config.get();
  services.Map0 = map0.get();
  services.Map2 = map2.get();
  services.Map3 = map3.get();
  services.Map4 = map4.get();
  services.Messages = &messages;
  services.Input = &input;
  services.Client = &client;
  services.LocationsFile = directory + "locations.txt";
  ui::TMapForm form(window.FormControls(), std::move(services));
  TMapFormBinding binding(window, form);

  window.Create();
  window.Show(showCommand);
  const int exitCode = ui::win32::RunMessageLoop(window);

  map0.reset();
  map2.reset();
  map3.reset();
  map4.reset();
  config.reset();
  window.Destroy();
  return exitCode;
}

}  // namespace wf::app
