#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "AtlasWorld.h"
#include "atlas/AtlasEngine.h"

namespace wf::atlas {
namespace {

// The whole map at a 1:k scale.
TAtlasFrame WholeMap(int scale, int64_t cells) {
  const auto extent = static_cast<int32_t>(LevelExtent(cells, scale));
  return {scale, 0, 0, extent, extent};
}

TEST(AtlasEngine, MissingTilesShowACoarserCachedTileElseTheOverview) {
  testing::TAtlasWorld world(11);
  const auto map = world.OpenMap();
  const TBitmap32& overview = *map->GetOverview();
  struct Case {
    const char* name;
    int cached;  // the scale whose tiles are all cached; -1 none
    TAtlasFrame frame;
  };
  const Case cases[] = {
      {"nothing cached, 1:1", -1, {OneToOne, 1300, 1380, 200, 90}},
      {"nothing cached, 8:1", -1, {ScaleCount - 1, 5000, 3000, 100, 100}},
      {"1:32 cached, 1:1", 0, {OneToOne, 1300, 1380, 200, 90}},
      {"1:16 cached, 1:8", 1, {2, 150, 160, 40, 40}},
      {"1:4 cached, 2:1", 3, {OneToOne + 1, 1000, 900, 300, 200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TAtlasEngine engine(0);
    engine.SetMap(map.get());
    if (c.cached >= 0) {
      const TAtlasFrame whole = WholeMap(c.cached, world.Cells());
      std::vector<TColor32> pixels(static_cast<size_t>(whole.Width) * whole.Height);
      engine.Compose(whole, pixels.data());
      engine.RunQueuedTiles();
    }
    const TAtlasFrame& f = c.frame;
    std::vector<TColor32> pixels(static_cast<size_t>(f.Width) * f.Height);
    EXPECT_FALSE(engine.Compose(f, pixels.data()));
    const int level = LevelOf(f.Scale);
    const int64_t m = Scales[f.Scale].PixelsPerCell, k = Scales[level].CellsPerPixel;
    for (int32_t y = 0; y < f.Height; ++y)
      for (int32_t x = 0; x < f.Width; ++x) {
        const int64_t lx = FloorDiv(f.OriginX + x, m), ly = FloorDiv(f.OriginY + y, m);
        const bool onMap = lx * k < world.Cells() && ly * k < world.Cells();
        TColor32 expected = BackgroundColor;
        if (onMap && c.cached >= 0)
          expected = world.Expected(c.cached, lx >> (level - c.cached), ly >> (level - c.cached));
        else if (onMap)
          expected = overview.Pixel(static_cast<int32_t>(lx * k * overview.Width() / world.Cells()),
                                    static_cast<int32_t>(ly * k * overview.Height() / world.Cells()));
        ASSERT_EQ(pixels[static_cast<size_t>(y) * f.Width + x], expected) << x << "," << y;
      }
  }
}

TEST(AtlasEngine, AFrameQueuesOnlyWhatFitsAndDropsWhatLeftTheView) {
  testing::TAtlasWorld world(5);
  const auto map = world.OpenMap();
  TAtlasEngine engine(0, 12 * TileBytes);
  engine.SetMap(map.get());
  const TAtlasFrame big{OneToOne, 0, 0, 256, 256}, small{OneToOne, 640, 640, 128, 128};  // 16 and 4 tiles
  std::vector<TColor32> pixels(256 * 256);
  engine.Compose(big, pixels.data());
  EXPECT_EQ(engine.Stats().QueuedTiles, 12u);
  engine.Compose(small, pixels.data());
  EXPECT_EQ(engine.Stats().QueuedTiles, 4u);
  EXPECT_EQ(engine.Stats().DroppedTiles, 12u);
  engine.RunQueuedTiles();
  EXPECT_TRUE(engine.Compose(small, pixels.data()));
  EXPECT_EQ(engine.Stats().RenderedTiles, 4u);

  // Twelve of sixteen, the middle ones among them; asking again renders nothing more.
  for (int round = 0; round < 3; ++round) {
    EXPECT_FALSE(engine.Compose(big, pixels.data()));
    engine.RunQueuedTiles();
  }
  const TAtlasStats stats = engine.Stats();
  EXPECT_EQ(stats.RenderedTiles, 16u);
  EXPECT_EQ(stats.CachedTiles, 12u);
  EXPECT_LE(stats.PeakBytes, 13 * TileBytes);
  engine.Compose(big, pixels.data());
  for (int32_t at : {64, 128, 191}) EXPECT_EQ(pixels[at * 256 + at], world.Expected(OneToOne, at, at)) << at;
}

// The map changes, and the old one is destroyed, while both workers render
// its tiles; afterwards only the new map's pixels appear.
TEST(AtlasEngine, SetMapStopsTheWorkersOnTheOldMap) {
  testing::TAtlasWorld before(1), after(2);
  const auto next = after.OpenMap();
  TAtlasEngine engine(2);
  std::mutex mutex;
  std::condition_variable ready;
  std::atomic<int> calls{0};
  engine.OnTileReady = [&] {
    ++calls;
    std::lock_guard lock(mutex);
    ready.notify_all();
  };
  const TAtlasFrame frame = WholeMap(3, after.Cells());
  std::vector<TColor32> pixels(static_cast<size_t>(frame.Width) * frame.Height);
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    auto old = before.OpenMap();
    engine.SetMap(old.get());
    engine.Compose(frame, pixels.data());
    std::this_thread::sleep_for(std::chrono::milliseconds(3 * round));
    engine.SetMap(next.get());
    old.reset();
    std::unique_lock lock(mutex);
    while (!engine.Compose(frame, pixels.data()))
      ASSERT_NE(ready.wait_for(lock, std::chrono::seconds(60)), std::cv_status::timeout);
    for (int32_t y = 0; y < frame.Height; ++y)
      for (int32_t x = 0; x < frame.Width; ++x)
        ASSERT_EQ(pixels[static_cast<size_t>(y) * frame.Width + x], after.Expected(3, x, y)) << x << "," << y;
    engine.SetMap(nullptr);
  }
  EXPECT_GT(calls.load(), 0);
  engine.Compose(frame, pixels.data());
  for (TColor32 pixel : pixels) ASSERT_EQ(pixel, BackgroundColor);
}

}  // namespace
}  // namespace wf::atlas
