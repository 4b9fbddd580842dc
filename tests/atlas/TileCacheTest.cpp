#include <gtest/gtest.h>

#include <memory>

#include "atlas/TileCache.h"

namespace wf::atlas {
namespace {

std::unique_ptr<TColor32[]> Tile(TColor32 color) {
  auto pixels = std::make_unique<TColor32[]>(TilePixels);
  pixels[0] = color;
  return pixels;
}

TEST(TileCache, HoldsNoMoreThanItsBoundAndDropsTheLeastRecentlyUsed) {
  TTileCache cache(3 * TileBytes + TileBytes / 2);
  ASSERT_EQ(cache.Capacity(), 3u);
  for (int32_t x = 0; x < 3; ++x) cache.Insert({5, x, 0}, Tile(static_cast<TColor32>(x)));
  ASSERT_NE(cache.Find({5, 0, 0}), nullptr);  // tile 0 used again
  ASSERT_NE(cache.Peek({5, 1, 0}), nullptr);  // a look is no use
  cache.Insert({5, 3, 0}, Tile(3));
  EXPECT_EQ(cache.Peek({5, 1, 0}), nullptr);
  cache.Insert({5, 4, 0}, Tile(4));
  EXPECT_EQ(cache.Peek({5, 2, 0}), nullptr);
  for (int32_t x : {0, 3, 4}) EXPECT_EQ(cache.Peek({5, x, 0})[0], static_cast<TColor32>(x)) << x;
  EXPECT_EQ(cache.Count(), 3u);
  EXPECT_LE(cache.Bytes(), 3 * TileBytes + TileBytes / 2);

  // The same key again replaces its pixels and holds nothing more.
  cache.Insert({5, 0, 0}, Tile(9));
  EXPECT_EQ(cache.Peek({5, 0, 0})[0], 9u);
  EXPECT_EQ(cache.Count(), 3u);

  TTileCache tiny(TileBytes - 1);
  tiny.Insert({5, 0, 0}, Tile(1));
  EXPECT_EQ(tiny.Count(), 0u);
}

}  // namespace
}  // namespace wf::atlas
