#pragma once
// The "Friends..." dialog's logic, free of the OS: what it shows, what its
// buttons do, and when the program's friends' link runs. The dialog and the
// link are reached through interfaces, so tests drive it without a screen or
// a network.
//
// The link runs at start when a broker is set up and the player did not
// choose Disconnect last time. "Connect" saves the fields and (re)starts the
// link with them; "Disconnect" stops it and is remembered; "Share my
// position" takes effect at once, on a running link too.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "friends/FriendsLink.h"
#include "ui/FriendsSettings.h"
#include "ui/MapForm.h"

namespace wf {
class TConfig;
namespace platform {
class IMessageBoxes;
class ISecretStore;
}  // namespace platform
}  // namespace wf

namespace wf::ui {

// The dialog's fields, as UTF-8 text.
struct TFriendsFields {
  std::string Broker, Group, Name, User, Password, Cert;
  bool Share = true;
  bool operator==(const TFriendsFields&) const = default;
};

// The dialog as its logic sees it. It holds what it is given until it is
// shown and while it is open.
class IFriendsDialog {
 public:
  virtual ~IFriendsDialog() = default;
  // Shows the dialog and returns once the player closed it; meanwhile its
  // buttons call the form.
  virtual void Run() = 0;
  virtual bool IsOpen() const = 0;
  virtual TFriendsFields Fields() const = 0;
  virtual void SetFields(const TFriendsFields& fields) = 0;
  virtual void SetStateText(const std::string& text) = 0;
  // Which of Connect and Disconnect can be pressed.
  virtual void SetRunning(bool running) = 0;
};

// The friends' link as the form drives it (friends::FriendsLink in the program).
class IFriendsConnection {
 public:
  virtual ~IFriendsConnection() = default;
  virtual void Start(const friends::FriendsSettings& settings) = 0;
  virtual void Stop() = 0;
  virtual void SetPosition(std::optional<friends::SharedPosition> position) = 0;
  virtual friends::FriendsSnapshot Snapshot() const = 0;
};

class TFriendsForm : public IFriendsPanel {
 public:
  TFriendsForm(IFriendsDialog& dialog, IFriendsConnection& link, TConfig& config,
               platform::ISecretStore& secrets, platform::IMessageBoxes& messages,
               std::function<uint64_t()> random);
  TFriendsForm(const TFriendsForm&) = delete;
  TFriendsForm& operator=(const TFriendsForm&) = delete;

  // At start: the link runs when friends are set up and were left connected.
  void Start();
  // At the end, while the window is still there: the link stops cleanly.
  void Shutdown();

  // IFriendsPanel: the map window's side.
  void OpenFriends() override;
  void PlayerMoved(std::optional<TPlayerPosition> position, int32_t map) override;

  // The dialog's side.
  void ConnectClick();
  void DisconnectClick();
  void ShareClick();

  // The link's snapshot changed (on the window's thread, after its message).
  void LinkChanged();

  bool Running() const { return FRunning; }
  std::string StateText() const;

 private:
  void Run(const friends::FriendsSettings& settings);
  void ShowState();

  IFriendsDialog& d_;
  IFriendsConnection& link_;
  TConfig& config_;
  platform::ISecretStore& secrets_;
  platform::IMessageBoxes& messages_;
  std::function<uint64_t()> random_;

  bool FRunning = false;
  // What the link runs with: a password that could not be saved lives here.
  friends::FriendsSettings FInUse;
  bool FPasswordUnreadable = false;
  std::optional<friends::SharedPosition> FPosition;
};

}  // namespace wf::ui
