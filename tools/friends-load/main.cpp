// friends-load: N simulated friends moving about at 4 positions a second each,
// published to a broker on this machine, to see how Wayfarer (or anything else
// on the group) bears a busy group.
//
//   friends-load mqtt://127.0.0.1:1883 GROUP N SECONDS [USER PASSWORD]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "LoadPublisher.h"
#include "mapdata/MapTable.h"

int main(int argc, char** argv) {
  using namespace std::chrono;
  using wf::friends::LoadPublisher;
  if (argc != 5 && argc != 7) {
    std::fprintf(stderr, "usage: friends-load mqtt://127.0.0.1[:PORT] GROUP N SECONDS [USER PASSWORD]\n");
    return 2;
  }
  const std::string group = argv[2];
  const int friends = std::atoi(argv[3]);
  const int seconds = std::atoi(argv[4]);
  // Bounded, whatever is asked: at most 10,000 friends for at most an hour.
  if (friends < 1 || friends > 10000 || seconds < 1 || seconds > 3600) {
    std::fprintf(stderr, "friends-load: N must be 1 to 10000 and SECONDS 1 to 3600\n");
    return 2;
  }
  std::string error;
  auto publisher = LoadPublisher::Connect(argv[1], argc == 7 ? argv[5] : "", argc == 7 ? argv[6] : "", error);
  if (!publisher) {
    std::fprintf(stderr, "friends-load: %s\n", error.c_str());
    return 1;
  }
  const wf::TMapSize size = wf::MapSizeOf(0);
  std::mt19937 random(1);
  std::vector<wf::friends::SharedPosition> positions(friends);
  for (auto& p : positions) p = {int(random() % (size.BlocksWide * 8)), int(random() % (size.BlocksHigh * 8)), 0, 0};

  // Every 10 ms a hundredth of the friends' four steps a second.
  const auto start = steady_clock::now();
  const double perTick = friends * 4 / 100.0;
  double owed = 0;
  int next = 0;
  for (auto tick = start; tick < start + seconds * 1s; tick += 10ms) {
    std::this_thread::sleep_until(tick);
    for (owed += perTick; owed >= 1; owed -= 1) {
      auto& p = positions[next];
      p.x = std::clamp(p.x + int(random() % 3) - 1, 0, size.BlocksWide * 8 - 1);
      p.y = std::clamp(p.y + int(random() % 3) - 1, 0, size.BlocksHigh * 8 - 1);
      if (!publisher->Publish(group, next, p)) {
        std::fprintf(stderr, "friends-load: the broker closed the connection\n");
        return 1;
      }
      next = (next + 1) % friends;
    }
  }
  publisher->ClearAll(group, friends);
  const double elapsed = duration<double>(steady_clock::now() - start).count();
  std::printf("%llu positions of %d friends in %.1f s (%.0f a second)\n",
              static_cast<unsigned long long>(publisher->Sent()), friends, elapsed, publisher->Sent() / elapsed);
  return 0;
}
