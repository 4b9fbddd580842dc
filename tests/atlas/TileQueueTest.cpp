#include <gtest/gtest.h>

#include <vector>

#include "atlas/TileQueue.h"

namespace wf::atlas {
namespace {

std::vector<TTileKey> Drain(TTileQueue& queue) {
  std::vector<TTileKey> order;
  while (auto key = queue.Pop()) order.push_back(*key);
  return order;
}

TEST(TileQueue, NearestTheCentreFirstAndNoMoreThanTheLimit) {
  // Tile (i, j) has its centre at (64 i + 32, 64 j + 32).
  const std::vector<TTileKey> grid = {{5, 0, 0}, {5, 1, 0}, {5, 2, 0}, {5, 0, 1}, {5, 1, 1}, {5, 2, 1}};
  struct Case {
    const char* name;
    double x, y;
    size_t limit;
    std::vector<TTileKey> order;
  };
  const Case cases[] = {
      {"centre on tile 1,1", 96, 96, 99, {{5, 1, 1}, {5, 1, 0}, {5, 0, 1}, {5, 2, 1}, {5, 0, 0}, {5, 2, 0}}},
      {"centre on tile 2,0", 150, 40, 99, {{5, 2, 0}, {5, 1, 0}, {5, 2, 1}, {5, 1, 1}, {5, 0, 0}, {5, 0, 1}}},
      {"far left, limited", -1000, 64, 2, {{5, 0, 0}, {5, 0, 1}}},
      {"limit 0", 96, 96, 0, {}},
  };
  for (const Case& c : cases) {
    TTileQueue queue;
    queue.Replace(grid, c.x, c.y, c.limit);
    EXPECT_EQ(Drain(queue), c.order) << c.name;
  }
}

TEST(TileQueue, TilesTheNewFrameDoesNotWantAreDropped) {
  TTileQueue queue;
  EXPECT_EQ(queue.Replace({{5, 0, 0}, {5, 1, 0}, {5, 2, 0}}, 0, 0, 99), 0u);
  ASSERT_EQ(queue.Pop(), (TTileKey{5, 0, 0}));
  // The frame moved right: tile 1 is still wanted, tile 2 is not, 3 and 4 are new.
  EXPECT_EQ(queue.Replace({{5, 1, 0}, {5, 3, 0}, {5, 4, 0}}, 300, 0, 99), 1u);
  EXPECT_EQ(Drain(queue), (std::vector<TTileKey>{{5, 4, 0}, {5, 3, 0}, {5, 1, 0}}));
  // Another level is another tile.
  queue.Replace({{5, 1, 0}}, 0, 0, 99);
  EXPECT_EQ(queue.Replace({{4, 1, 0}}, 0, 0, 99), 1u);
  EXPECT_EQ(queue.Size(), 1u);
}

}  // namespace
}  // namespace wf::atlas
