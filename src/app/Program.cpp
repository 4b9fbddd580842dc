#include "app/Program.h"

#include <chrono>
#include <memory>
#include <random>
#include <string>

#include "app/FriendsConnection.h"
#include "app/MapFormBinding.h"
#include "atlas/AtlasEngine.h"
#include "config/Config.h"
#include "mapdata/MapTable.h"
#include "platform/Files.h"
#include "platform/SecretStore.h"
#include "platform/win32/ClientWindows.h"
#include "platform/win32/FileDialogs.h"
#include "platform/win32/GameFolderServices.h"
#include "platform/win32/SingleInstance.h"
#include "ui/AtlasForm.h"
#include "ui/FriendsForm.h"
#include "ui/MapForm.h"
#include "ui/win32/AtlasWindow.h"
#include "ui/win32/ErrorBox.h"
#include "ui/win32/FriendsDialog.h"
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

  // Friends: one link for the program's life; it talks to the network on
  // threads of its own and tells the window of changes by a posted message.
  TFriendsConnection friendsLink;
  ui::win32::TFriendsDialog friendsDialog;
  std::random_device entropy;
  ui::TFriendsForm friendsForm(friendsDialog, friendsLink, *config, platform::SystemSecretStore(), messages,
                               [&entropy] { return (uint64_t{entropy()} << 32) ^ entropy(); });
  friendsDialog.Bind(&friendsForm);
  form.AttachFriends(&friendsForm);
  // The pictures take the friends only outside other handlers (a box shown
  // while the maps are made anew must not lead to drawing them); a change
  // that arrives meanwhile waits for the friends' timer.
  bool friendsWaiting = false;
  auto showFriends = [&] {
    friendsWaiting = false;
    const friends::FriendsSnapshot snapshot = friendsLink.Snapshot();
    const auto now = std::chrono::steady_clock::now();
    form.FriendsChanged(snapshot, now);
    atlasForm.FriendsChanged(snapshot, now);
  };
  window.onFriendsChanged = [&] {
    friendsLink.ChangeTaken();
    friendsForm.LinkChanged();
    if (ui::win32::HandlerDepth() <= 1) {
      showFriends();
    } else {
      friendsWaiting = true;
    }
  };
  window.onFriendsTimer = [&] {
    if (friendsWaiting) showFriends();
    form.FriendsTimer(std::chrono::steady_clock::now());
  };

  window.Create();
  friendsLink.PostChangesTo(window.Handle(), ui::win32::TMapWindow::kFriendsChanged);
  window.Show(showCommand);
  ui::win32::Guarded([&] { atlasForm.Start(); });
  ui::win32::Guarded([&] { friendsForm.Start(); });
  const int exitCode = ui::win32::RunMessageLoop(window);

  // The friends hear that the player is gone (the empty retained message)
  // before anything else ends.
  ui::win32::Guarded([&] { friendsForm.Shutdown(); });
  friendsLink.StopAndWait();
  friendsLink.PostChangesTo(nullptr, 0);
  window.onFriendsChanged = nullptr;
  window.onFriendsTimer = nullptr;
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
