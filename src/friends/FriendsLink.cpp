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

// What the link's thread shares with the link. The thread holds it too, so a
// thread still waiting on a connection attempt when Stop gave up on it can
// finish on its own: a run whose epoch is no longer the link's only cleans up.
struct Core {
  FriendsLink::Connector connector;
  std::function<void()> changed;

  mutable std::mutex mutex;
  std::condition_variable wake;
  FriendsSnapshot snapshot;
  std::optional<SharedPosition> position;
  uint64_t epoch = 0;       // grows with every Start and Stop
  bool finished = true;     // the current epoch's thread has ended
  bool connecting = false;  // the thread is inside the connector
  platform::ByteStream* current = nullptr;  // the stream Stop may cut
  uint64_t lastTableGeneration = ~uint64_t{0};

  void Run(FriendsSettings settings, uint64_t epoch);
  // Publishes a new snapshot when anything in it changed.
  void Publish(uint64_t run, LinkState state, const std::string& text, const FriendsTable* table,
               uint64_t tableGeneration);
  bool Stopping(uint64_t run) {
    std::lock_guard lock(mutex);
    return epoch != run;
  }
  // Waits `delay` unless a stop comes first; false on a stop.
  bool Wait(uint64_t run, std::chrono::milliseconds delay) {
    std::unique_lock lock(mutex);
    return !wake.wait_for(lock, delay, [&] { return epoch != run; });
  }
  // Hands Stop the stream to cut; false when the run is over.
  bool SetCurrent(uint64_t run, platform::ByteStream* stream) {
    std::lock_guard lock(mutex);
    if (epoch != run) return false;
    current = stream;
    return true;
  }
  void SetConnecting(uint64_t run, bool inside) {
    std::lock_guard lock(mutex);
    if (epoch > run + 1) return;  // a later run's business now
    connecting = inside;
    wake.notify_all();
  }
  // Before the stream goes: Stop must not reach it any more.
  void ClearCurrent(platform::ByteStream* stream) {
    std::lock_guard lock(mutex);
    if (current == stream) current = nullptr;
  }
};

}  // namespace

struct FriendsLink::Impl {
  std::shared_ptr<Core> core = std::make_shared<Core>();
  std::thread thread;
};

void Core::Publish(uint64_t run, LinkState state, const std::string& text, const FriendsTable* table,
                   uint64_t tableGeneration) {
  {
    std::lock_guard lock(mutex);
    // A stopped run says nothing more: the window may be gone.
    if (epoch != run) return;
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

void Core::Run(FriendsSettings settings, uint64_t run) {
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
    Publish(run, LinkState::BadSettings, error, nullptr, 0);
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

  while (!Stopping(run)) {
    Publish(run, waitingState, waitingText, nullptr, 0);
    platform::ConnectFailure failure;
    SetConnecting(run, true);
    std::unique_ptr<platform::ByteStream> stream = connector(target, failure);
    SetConnecting(run, false);
    if (stream && address->WebSocket()) {
      platform::ByteStream* raw = stream.get();
      if (!SetCurrent(run, raw)) break;
      std::string wsError;
      auto upgraded = OpenWebSocket(stream, address->host, address->port, address->path, kHandshakeTimeout, wsError);
      ClearCurrent(raw);
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
          Publish(run, LinkState::BadSettings,
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
      Publish(run, waitingState, waitingText, nullptr, 0);
      if (!Wait(run, backoff.Next())) break;
      continue;
    }

    if (!SetCurrent(run, stream.get())) break;
    Session session(config, table, Clock::now());
    std::optional<Clock::time_point> liveSince;
    for (;;) {
      bool stop;
      {
        std::lock_guard lock(mutex);
        stop = epoch != run;
        session.SetPosition(position);
      }
      if (stop) {
        session.Stop();
        stream->Write(session.TakeOutput());
        break;
      }
      session.Tick(Clock::now());
      const std::string out = session.TakeOutput();
      if (!out.empty() && !stream->Write(out)) break;
      if (session.GetPhase() == Session::Phase::Closed) break;

      if (session.GetPhase() == Session::Phase::Live) {
        if (!liveSince) {
          liveSince = Clock::now();
          table.Clear();  // what is retained on the broker comes again
        }
        Publish(run, LinkState::Connected, ConnectedText(table.Friends().size()), &table, table.Generation());
      }

      std::string in;
      const auto wait = std::clamp(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       session.NextDeadline() - Clock::now()),
                                   std::chrono::milliseconds(1), std::chrono::milliseconds(kPollInterval));
      const auto got = stream->Read(in, 65536, wait);
      if (!in.empty()) session.Received(in, Clock::now());
      if (got == platform::ByteStream::ReadResult::Closed) break;
    }
    ClearCurrent(stream.get());
    stream->Shutdown();
    stream.reset();
    if (Stopping(run)) break;

    if (liveSince && Clock::now() - *liveSince >= kSteadyConnection) backoff.Reset();
    if (session.GetEnding() == Session::Ending::Refused) {
      waitingState = LinkState::Refused;
      waitingText = "Refused: " + session.EndingText();
    } else {
      waitingState = LinkState::Connecting;
      waitingText = "Connecting...";
    }
    // The friends stay shown while the link comes back; the state says so.
    Publish(run, waitingState, waitingText, liveSince ? &table : nullptr, table.Generation());
    if (!Wait(run, backoff.Next())) break;
  }
}

FriendsLink::FriendsLink(Connector connector, std::function<void()> changed) : FImpl(std::make_unique<Impl>()) {
  FImpl->core->connector = std::move(connector);
  FImpl->core->changed = std::move(changed);
}

FriendsLink::~FriendsLink() { Stop(); }

void FriendsLink::Start(const FriendsSettings& settings) {
  Stop();
  uint64_t run;
  {
    std::lock_guard lock(FImpl->core->mutex);
    run = ++FImpl->core->epoch;
    FImpl->core->finished = false;
  }
  FImpl->thread = std::thread([core = FImpl->core, settings, run] {
    core->Run(settings, run);
    std::lock_guard lock(core->mutex);
    // Ended by itself (bad settings) or by the Stop right after its Start.
    if (core->epoch <= run + 1) core->finished = true, core->connecting = false;
    core->wake.notify_all();
  });
}

void FriendsLink::Stop() {
  if (!FImpl->thread.joinable()) return;
  Core& core = *FImpl->core;
  bool finished;
  {
    std::unique_lock lock(core.mutex);
    ++core.epoch;
    core.wake.notify_all();
    // The goodbye (the empty retained message and DISCONNECT) normally goes
    // out within one poll; a broker that does not take it is cut off.
    finished = core.wake.wait_for(lock, kGoodbyeTimeout, [&] { return core.finished || core.connecting; }) &&
               core.finished;
    if (!finished && core.current) {
      core.current->Shutdown();
      finished = core.wake.wait_for(lock, kGoodbyeTimeout, [&] { return core.finished; });
    }
    core.snapshot.state = LinkState::Off;
    core.snapshot.stateText.clear();
    core.snapshot.friends.clear();
    ++core.snapshot.generation;
    core.lastTableGeneration = ~uint64_t{0};
  }
  // Still inside the connector (a name that takes long to resolve, a connect
  // that hangs): the thread ends by itself once the connector returns, and
  // says nothing more.
  if (finished) FImpl->thread.join();
  else FImpl->thread.detach();
}

void FriendsLink::SetPosition(std::optional<SharedPosition> position) {
  std::lock_guard lock(FImpl->core->mutex);
  FImpl->core->position = position;
}

FriendsSnapshot FriendsLink::Snapshot() const {
  std::lock_guard lock(FImpl->core->mutex);
  return FImpl->core->snapshot;
}

}  // namespace wf::friends
