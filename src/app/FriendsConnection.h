#pragma once
// The program's one friends' link, as the friends' dialog drives it. Starting
// and stopping the link may wait on the network (a goodbye to the broker, a
// connection attempt under way), so they run on a thread of this object's
// own: the window's thread only hands over what it wants, the newest wins.
// The link's changes reach the window as one posted message at a time.

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "friends/FriendsLink.h"
#include "ui/FriendsForm.h"

namespace wf::app {

class TFriendsConnection final : public ui::IFriendsConnection {
 public:
  // Connections are given up after this long.
  static constexpr std::chrono::seconds kConnectTimeout{10};

  TFriendsConnection();
  // Stops the link cleanly (its goodbye goes out) and waits for it.
  ~TFriendsConnection() override;
  TFriendsConnection(const TFriendsConnection&) = delete;
  TFriendsConnection& operator=(const TFriendsConnection&) = delete;

  // Where the link's changes are posted (message `message`); null: nowhere.
  void PostChangesTo(HWND window, UINT message);
  // The window took the posted message: the next change posts again.
  void ChangeTaken() { posted_.store(false); }

  void Start(const friends::FriendsSettings& settings) override;
  void Stop() override;
  // Stops and waits until the link has said goodbye; for the program's end.
  void StopAndWait();
  void SetPosition(std::optional<friends::SharedPosition> position) override { link_.SetPosition(position); }
  friends::FriendsSnapshot Snapshot() const override { return link_.Snapshot(); }

 private:
  void Changed();
  void Work();

  std::atomic<HWND> window_{nullptr};
  std::atomic<UINT> message_{0};
  std::atomic<bool> posted_{false};
  friends::FriendsLink link_;

  std::mutex mutex_;
  std::condition_variable wake_;
  // What the window wants next: settings to start with, or nothing to stop.
  std::optional<std::optional<friends::FriendsSettings>> wanted_;
  bool busy_ = false;
  bool ending_ = false;
  std::thread worker_;
};

}  // namespace wf::app
