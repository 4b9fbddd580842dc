// The friends' link under load: a real mosquitto on this machine, N simulated
// friends at 4 positions a second each (the load tool's publisher), and one
// link hearing them as Wayfarer would. Measured: the time from a friend's
// publish to the snapshot the window reads (p50/p95/p99), the link thread's
// CPU time per 1,000 messages and as a share of one core, and what stays in
// memory. Run: build/native/bench/wayfarer-friends-bench

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <thread>
#include <vector>

#include "LoadPublisher.h"
#include "TestBroker.h"
#include "friends/FriendsLink.h"

namespace {

using namespace std::chrono;
using namespace std::chrono_literals;
using wf::friends::FriendsLink;
using wf::friends::LoadPublisher;
using wf::friends::SharedPosition;

constexpr auto kDuration = 8s;
const std::string kGroup = "bench";

int64_t ThreadCpuNs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

int64_t NowNs() { return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count(); }

void FriendsUnderLoad(benchmark::State& state) {
  const int friends = static_cast<int>(state.range(0));
  wf::testing::TestBroker broker;
  if (!broker.Started()) {
    state.SkipWithError("mosquitto did not start");
    return;
  }
  // What each friend sent last: its x, and when.
  std::vector<std::atomic<int>> sentX(friends);
  std::vector<std::atomic<int64_t>> sentAt(friends);
  std::vector<int> seenX(friends, -1);
  std::vector<double> latenciesMs;
  latenciesMs.reserve(friends * 4 * 10);

  std::mutex mutex;
  std::condition_variable wake;
  bool pending = false;
  std::atomic<int64_t> firstCpu{-1}, lastCpu{0};
  FriendsLink link(
      [](const wf::platform::StreamTarget& target, wf::platform::ConnectFailure& failure) {
        return wf::platform::OpenStream(target, failure, 3s);
      },
      [&] {
        // The link's thread: what the window's posted message would be.
        const int64_t cpu = ThreadCpuNs();
        int64_t expected = -1;
        firstCpu.compare_exchange_strong(expected, cpu);
        lastCpu = cpu;
        std::lock_guard lock(mutex);
        pending = true;
        wake.notify_one();
      });
  wf::friends::FriendsSettings settings;
  settings.broker = broker.Url();
  settings.group = kGroup;
  settings.user = "bob";
  settings.password = "bobsecret";
  settings.id = "ffffffffffffffff";
  settings.share = false;

  for (auto _ : state) {
    link.Start(settings);
    std::string error;
    auto publisher = LoadPublisher::Connect(broker.Url(), "aria", "secret", error);
    if (!publisher) {
      state.SkipWithError(error.c_str());
      return;
    }
    std::atomic<bool> done{false};
    // The window's side: reads the snapshot whenever told it changed.
    std::thread window([&] {
      while (!done) {
        std::unique_lock lock(mutex);
        wake.wait_for(lock, 50ms, [&] { return pending; });
        pending = false;
        lock.unlock();
        const auto snapshot = link.Snapshot();
        const int64_t now = NowNs();
        for (const auto& f : snapshot.friends) {
          const int index = static_cast<int>(std::stoul(f.id, nullptr, 16));
          if (index < 0 || index >= friends || f.position.x == seenX[index]) continue;
          seenX[index] = f.position.x;
          if (f.position.x == sentX[index]) latenciesMs.push_back((now - sentAt[index]) / 1e6);
        }
      }
    });
    // Wait until connected, then send at 4 Hz a friend, evenly spread.
    for (int i = 0; i < 100 && link.Snapshot().state != wf::friends::LinkState::Connected; ++i)
      std::this_thread::sleep_for(20ms);
    firstCpu = -1;
    const auto start = steady_clock::now();
    const double perTick = friends * 4 / 100.0;
    double owed = 0;
    int next = 0;
    uint64_t sent = 0;
    std::vector<int> step(friends, 0);
    for (auto tick = start; tick < start + kDuration; tick += 10ms) {
      std::this_thread::sleep_until(tick);
      for (owed += perTick; owed >= 1; owed -= 1) {
        // x walks 10..4009 so every message differs from the last of that friend.
        const int x = 10 + (step[next]++ % 4000);
        sentX[next] = x;
        sentAt[next] = NowNs();
        publisher->Publish(kGroup, next, SharedPosition{x, 100 + next % 3000, std::nullopt, 0});
        ++sent;
        next = (next + 1) % friends;
      }
    }
    const double wall = duration<double>(steady_clock::now() - start).count();
    std::this_thread::sleep_for(200ms);
    done = true;
    window.join();
    const double linkCpuMs = (lastCpu - std::max<int64_t>(firstCpu, 0)) / 1e6;
    const auto kept = link.Snapshot().friends.size();
    publisher->ClearAll(kGroup, friends);
    link.Stop();

    std::sort(latenciesMs.begin(), latenciesMs.end());
    const auto at = [&](double q) {
      return latenciesMs.empty() ? -1.0 : latenciesMs[std::min(latenciesMs.size() - 1, size_t(q * latenciesMs.size()))];
    };
    state.counters["p50_ms"] = at(0.50);
    state.counters["p95_ms"] = at(0.95);
    state.counters["p99_ms"] = at(0.99);
    state.counters["messages"] = static_cast<double>(sent);
    state.counters["seen"] = static_cast<double>(latenciesMs.size());
    state.counters["cpu_ms_per_1000"] = linkCpuMs / (sent / 1000.0);
    state.counters["core_percent"] = 100.0 * linkCpuMs / 1000.0 / wall;
    state.counters["friends_kept"] = static_cast<double>(kept);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_kib"] = static_cast<double>(usage.ru_maxrss);
  }
}

BENCHMARK(FriendsUnderLoad)->Arg(10)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
