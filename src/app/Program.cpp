#include "app/Program.h"

#include <memory>
#include <string>

#include "app/MapFormBinding.h"
#include "atlas/AtlasEngine.h"
#include "config/Config.h"
#include "mapdata/MapTable.h"
#include "platform/Files.h"
#include "platform/win32/ClientWindows.h"
#include "platform/win32/FileDialogs.h"
#include "platform/win32/GameFolderServices.h"
#include "platform/win32/SingleInstance.h"
#include "ui/AtlasForm.h"
#include "ui/MapForm.h"
#include "ui/win32/AtlasWindow.h"
#include "ui/win32/ErrorBox.h"
#include "ui/win32/FriendsListWindow.h"
#include "ui/win32/InputDialog.h"
#include "ui/win32/MapWindow.h"
#include "ui/win32/MessageBoxes.h"
#include "ui/win32/MessageLoop.h"

namespace wf::app {

int RunProgram(int showCommand) {
  ui::win32::TMessageBoxes messages;
  ui::win32::TInputDialog input;
  platform::Win32ClientWindows client;
  platform::Win32Registry registry;
  platform::Win32FolderDialog folders;
  platform::Win32FileDialogs files;
  const std::string directory = platform::ExecutableDirectory();
  // A second copy would write the same files; the first one is shown instead.
  platform::Win32SingleInstance instances;
  if (!platform::StartAsOnlyCopy(instances, directory, messages)) return 0;

  auto config = std::make_unique<TConfig>();
  config->LoadFromFile(directory + "configtravel.xml");

  auto maps = std::make_unique<TMapSet>(*config, messages);

  ui::win32::TMapWindow window;
  ui::TMapFormServices services;
  services.Config = config.get();
  services.Maps = maps.get();
  services.Messages = &messages;
  services.Input = &input;
  services.Client = &client;
  services.Files = &files;
  services.LocationsFile = directory + "locations.txt";
  services.Registry = &registry;
  services.Folders = &folders;
  services.ProgramFolder = directory;
  services.ProgramVersion = WAYFARER_VERSION;
  ui::TMapForm form(window.FormControls(), std::move(services));
  TMapFormBinding binding(window, form);

  // The atlas's window outlives the engine whose workers tell it of tiles.
  ui::win32::TAtlasWindow atlasWindow;
  atlas::TAtlasEngine picture;
  picture.OnTileReady = [&atlasWindow] { atlasWindow.TileReady(); };
  ui::TAtlasForm atlasForm(atlasWindow, form, *config, picture);
  atlasWindow.Bind(&atlasForm);
  ui::win32::TFriendsListWindow friendsList;
  friendsList.Bind(&atlasForm, &atlasWindow);
  atlasForm.AttachFriendsList(&friendsList);
  form.AttachAtlas(&atlasForm);

  window.Create();
  window.Show(showCommand);
  ui::win32::Guarded([&] { atlasForm.Start(); });
  const int exitCode = ui::win32::RunMessageLoop(window);

  // The atlas keeps its settings and lets go of the maps before they go.
  ui::win32::Guarded([&] { atlasForm.Shutdown(); });
  friendsList.DestroyHandle();
  atlasWindow.Destroy();
  maps.reset();
  config.reset();
  window.Destroy();
  return exitCode;
}

}  // namespace wf::app
