#include "app/FriendsConnection.h"

#include "platform/ByteStream.h"

namespace wf::app {

TFriendsConnection::TFriendsConnection()
    : link_([](const platform::StreamTarget& target, platform::ConnectFailure& failure) {
                return platform::OpenStream(target, failure, kConnectTimeout);
              },
              [this] { Changed(); }) {
  worker_ = std::thread([this] { Work(); });
}

TFriendsConnection::~TFriendsConnection() {
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
    wanted_ = std::optional<friends::FriendsSettings>();
  }
  wake_.notify_all();
  worker_.join();
  window_.store(nullptr);
}

void TFriendsConnection::PostChangesTo(HWND window, UINT message) {
  message_.store(message);
  window_.store(window);
}

// On the link's thread. A flood of changes (friends moving many times a
// second) is one message in the window's queue, never thousands.
void TFriendsConnection::Changed() {
  const HWND window = window_.load();
  if (!window || posted_.exchange(true)) return;
  if (!PostMessageW(window, message_.load(), 0, 0)) posted_.store(false);
}

void TFriendsConnection::Start(const friends::FriendsSettings& settings) {
  {
    std::lock_guard lock(mutex_);
    wanted_ = settings;
  }
  wake_.notify_all();
}

void TFriendsConnection::Stop() {
  {
    std::lock_guard lock(mutex_);
    wanted_ = std::optional<friends::FriendsSettings>();
  }
  wake_.notify_all();
}

void TFriendsConnection::StopAndWait() {
  std::unique_lock lock(mutex_);
  wanted_ = std::optional<friends::FriendsSettings>();
  wake_.notify_all();
  wake_.wait(lock, [this] { return !wanted_ && !busy_; });
}

void TFriendsConnection::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return wanted_.has_value() || ending_; });
    if (!wanted_) return;  // ending, and nothing left to do
    const std::optional<friends::FriendsSettings> next = std::move(*wanted_);
    wanted_.reset();
    busy_ = true;
    lock.unlock();
    if (next)
      link_.Start(*next);
    else
      link_.Stop();
    lock.lock();
    busy_ = false;
    wake_.notify_all();
    if (ending_ && !wanted_) return;
  }
}

}  // namespace wf::app
