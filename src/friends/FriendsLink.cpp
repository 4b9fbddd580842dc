#include "friends/FriendsLink.h"

#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>

#include "friends/FriendsTable.h"
#include "friends/Session.h"
#include "friends/Settings.h"
#include "friends/WebSocket.h"

namespace wf::friends {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// How long a connection must have lasted for the next loss to start the
// backoff from one second again.
constexpr auto kSteadyConnection = 10s;
// The longest a read waits, so the player's newest position and a stop are
// noticed soon.
constexpr auto kPollInterval = 50ms;
constexpr auto kHandshakeTimeout = 10s;
// How long Stop waits for the goodbye to go out before cutting the line.
constexpr auto kGoodbyeTimeout = 1s;

std::string ConnectedText(std::size_t friends) {
  return "Connected, " + std::to_string(friends) + (friends == 1 ? " friend" : " friends");
}

}  // namespace

struct FriendsLink::Impl {
  Connector connector;
  std::function<void()> changed;

  mutable std::mutex mutex;
  std::condition_variable wake;
  FriendsSnapshot snapshot;
  std::optional<SharedPosition> position;
  bool stopping = false;
  bool finished = true;
  platform::ByteStream* current = nullptr;  // the stream Stop may cut
  std::thread thread;

  void Run(FriendsSettings settings);
  // Publishes a new snapshot when anything in it changed.
  void Publish(LinkState state, const std::string& text, const FriendsTable* table, uint64_t tableGeneration);
  bool Stopping() {
    std::lock_guard lock(mutex);
    return stopping;
  }
  // Waits `delay` unless a stop comes first; false on a stop.
  bool Wait(std::chrono::milliseconds delay) {
    std::unique_lock lock(mutex);
    return !wake.wait_for(lock, delay, [&] { return stopping; });
  }
  void SetCurrent(platform::ByteStream* stream) {
    std::lock_guard lock(mutex);
    current = stream;
  }

  uint64_t lastTableGeneration = ~uint64_t{0};
};

void FriendsLink::Impl::Publish(LinkState state, const std::string& text, const FriendsTable* table,
                                uint64_t tableGeneration) {
  {
    std::lock_guard lock(mutex);
    const bool tableChanged = table && tableGeneration != lastTableGeneration;
    if (!tableChanged && snapshot.state == state && snapshot.stateText == text) return;
    snapshot.state = state;
    snapshot.stateText = text;
    if (tableChanged) {
      snapshot.friends = table->Friends();
      lastTableGeneration = tableGeneration;
    } else if (!table && !snapshot.friends.empty()) {
      snapshot.friends.clear();
    }
    ++snapshot.generation;
  }
  if (changed) changed();
}

void FriendsLink::Impl::Run(FriendsSettings settings) {
  std::string error;
  const auto address = ParseBroker(settings.broker, error);
  std::optional<std::array<uint8_t, 32>> pin;
  if (address && !ValidGroup(settings.group))
    error = "The group must be 1 to 64 letters, digits, '-' or '_'";
  else if (address && !ValidId(settings.id))
    error = "The installation's id is not usable";
  else if (address && !settings.certSha256.empty() && !(pin = ParseFingerprint(settings.certSha256)))
    error = "The certificate fingerprint must be 64 hex digits (colons allowed)";
  if (!error.empty()) {
    Publish(LinkState::BadSettings, error, nullptr, 0);
    return;
  }

  platform::StreamTarget target;
  target.host = address->host;
  target.port = address->port;
  target.tls = address->Tls();
  target.pinnedSha256 = pin;
  // A password in clear may only go to this machine.
  target.loopbackOnly = !settings.password.empty() && !address->Tls();

  SessionConfig config;
  config.group = settings.group;
  config.id = settings.id;
  config.name = settings.name;
  if (!settings.user.empty()) config.user = settings.user;
  if (!settings.password.empty()) config.password = settings.password;
  config.share = settings.share;
  config.keepAlive = settings.keepAlive;

  FriendsTable table(settings.id);
  Backoff backoff(std::random_device{}());
  LinkState waitingState = LinkState::Connecting;
  std::string waitingText = "Connecting...";

  while (!Stopping()) {
    Publish(waitingState, waitingText, nullptr, 0);
    platform::ConnectFailure failure;
    std::unique_ptr<platform::ByteStream> stream = connector(target, failure);
    if (stream && address->WebSocket()) {
      SetCurrent(stream.get());
      std::string wsError;
      auto upgraded = OpenWebSocket(stream, address->host, address->port, address->path, kHandshakeTimeout, wsError);
      SetCurrent(nullptr);
      stream = std::move(upgraded);
      if (!stream) {
        waitingState = LinkState::Unreachable;
        waitingText = "No MQTT over WebSocket at " + address->HostPort() + address->path + ": " + wsError;
      }
    } else if (!stream) {
      using Kind = platform::ConnectFailure::Kind;
      switch (failure.kind) {
        case Kind::NotLoopback:
          // Trying again will not help: the settings must change.
          Publish(LinkState::BadSettings,
                  "A password is sent only over mqtts:// or wss:// (or to this machine); "
                  "use mqtts:// or wss://",
                  nullptr, 0);
          return;
        case Kind::CertificateNotTrusted:
          waitingState = LinkState::NotTrusted;
          waitingText = "Certificate not trusted" +
                        (failure.certificateSha256
                             ? " (SHA-256 " + FingerprintText(*failure.certificateSha256) + ")"
                             : std::string());
          break;
        case Kind::TlsFailed:
          waitingState = LinkState::Unreachable;
          waitingText = "Cannot reach " + address->HostPort() + " (TLS: " + failure.text + ")";
          break;
        case Kind::Unreachable:
          waitingState = LinkState::Unreachable;
          waitingText = "Cannot reach " + address->HostPort();
          break;
      }
    }
    if (!stream) {
      Publish(waitingState, waitingText, nullptr, 0);
      if (!Wait(backoff.Next())) break;
      continue;
    }

    {
      std::lock_guard lock(mutex);
      current = stream.get();
      if (stopping) break;
    }
    auto now = Clock::now();
    Session session(config, table, now);
    std::optional<Clock::time_point> liveSince;
    bool broken = false;
    while (!broken) {
      bool stop;
      {
        std::lock_guard lock(mutex);
        stop = stopping;
        session.SetPosition(position);
      }
      if (stop) {
        session.Stop();
        stream->Write(session.TakeOutput());
        break;
      }
      session.Tick(Clock::now());
      const std::string out = session.TakeOutput();
      if (!out.empty() && !stream->Write(out)) broken = true;
      if (session.GetPhase() == Session::Phase::Closed) break;
      if (broken) break;

      if (session.GetPhase() == Session::Phase::Live) {
        if (!liveSince) {
          liveSince = Clock::now();
          table.Clear();  // what is retained on the broker comes again
        }
        Publish(LinkState::Connected, ConnectedText(table.Friends().size()), &table, table.Generation());
      }

      std::string in;
      const auto wait = std::clamp(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       session.NextDeadline() - Clock::now()),
                                   std::chrono::milliseconds(1), std::chrono::milliseconds(kPollInterval));
      const auto got = stream->Read(in, 65536, wait);
      if (got == platform::ByteStream::ReadResult::Closed) broken = true;
      if (!in.empty()) session.Received(in, Clock::now());
    }
    SetCurrent(nullptr);
    stream->Shutdown();
    stream.reset();
    if (Stopping()) break;

    if (liveSince && Clock::now() - *liveSince >= kSteadyConnection) backoff.Reset();
    if (session.GetEnding() == Session::Ending::Refused) {
      waitingState = LinkState::Refused;
      waitingText = "Refused: " + session.EndingText();
    } else {
      waitingState = LinkState::Connecting;
      waitingText = "Connecting...";
    }
    // The friends stay shown while the link comes back; the state says so.
    Publish(waitingState, waitingText, liveSince ? &table : nullptr, table.Generation());
    if (!Wait(backoff.Next())) break;
  }
}

FriendsLink::FriendsLink(Connector connector, std::function<void()> changed) : FImpl(std::make_unique<Impl>()) {
  FImpl->connector = std::move(connector);
  FImpl->changed = std::move(changed);
}

FriendsLink::~FriendsLink() { Stop(); }

void FriendsLink::Start(const FriendsSettings& settings) {
  Stop();
  {
    std::lock_guard lock(FImpl->mutex);
    FImpl->stopping = false;
    FImpl->finished = false;
  }
  FImpl->thread = std::thread([impl = FImpl.get(), settings] {
    impl->Run(settings);
    std::lock_guard lock(impl->mutex);
    impl->finished = true;
    impl->wake.notify_all();
  });
}

void FriendsLink::Stop() {
  if (!FImpl->thread.joinable()) return;
  {
    std::unique_lock lock(FImpl->mutex);
    FImpl->stopping = true;
    FImpl->wake.notify_all();
    // The goodbye (the empty retained message and DISCONNECT) normally goes
    // out within one poll; a broker that does not take it is cut off.
    if (!FImpl->wake.wait_for(lock, kGoodbyeTimeout, [&] { return FImpl->finished; }) && FImpl->current)
      FImpl->current->Shutdown();
  }
  FImpl->thread.join();
  {
    std::lock_guard lock(FImpl->mutex);
    FImpl->snapshot.state = LinkState::Off;
    FImpl->snapshot.stateText.clear();
    FImpl->snapshot.friends.clear();
    ++FImpl->snapshot.generation;
    FImpl->lastTableGeneration = ~uint64_t{0};
  }
}

void FriendsLink::SetPosition(std::optional<SharedPosition> position) {
  std::lock_guard lock(FImpl->mutex);
  FImpl->position = position;
}

FriendsSnapshot FriendsLink::Snapshot() const {
  std::lock_guard lock(FImpl->mutex);
  return FImpl->snapshot;
}

}  // namespace wf::friends
