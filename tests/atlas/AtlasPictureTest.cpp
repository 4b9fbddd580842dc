#include <gtest/gtest.h>

#include <vector>

#include "AtlasWorld.h"
#include "atlas/AtlasEngine.h"

namespace wf::atlas {
namespace {

// The first pixel of the frame that is not what the world expects, or "".
std::string Difference(const testing::TAtlasWorld& world, const TAtlasFrame& frame,
                       const std::vector<TColor32>& pixels) {
  for (int32_t y = 0; y < frame.Height; ++y)
    for (int32_t x = 0; x < frame.Width; ++x) {
      const TColor32 expected = world.Expected(frame.Scale, frame.OriginX + x, frame.OriginY + y);
      if (pixels[static_cast<size_t>(y) * frame.Width + x] != expected)
        return "pixel " + std::to_string(x) + "," + std::to_string(y);
    }
  return "";
}

TEST(AtlasPicture, EveryScaleShowsTheCellsOrTheMeanOfTheirBoxes) {
  testing::TAtlasWorld world(7);
  const auto map = world.OpenMap();
  const int64_t cells = world.Cells();
  struct Case {
    const char* name;
    TAtlasFrame frame;
  };
  std::vector<Case> cases;
  // The whole map with a margin at 1:k, its partial boxes at the far edges.
  for (int scale = 0; scale <= OneToOne; ++scale) {
    const int64_t extent = LevelExtent(cells, scale);
    cases.push_back({Scales[scale].Text, {scale, -5, -3, static_cast<int32_t>(extent + 9), static_cast<int32_t>(extent + 7)}});
  }
  // At m:1, both corners, cut in the middle of a cell.
  for (int scale = OneToOne + 1; scale < ScaleCount; ++scale) {
    const int64_t extent = cells * Scales[scale].PixelsPerCell;
    cases.push_back({Scales[scale].Text, {scale, -13, -7, 150, 101}});
    cases.push_back({Scales[scale].Text, {scale, extent - 141, extent - 95, 150, 101}});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TAtlasEngine engine(0);
    engine.SetMap(map.get());
    std::vector<TColor32> pixels(static_cast<size_t>(c.frame.Width) * c.frame.Height);
    EXPECT_FALSE(engine.Compose(c.frame, pixels.data()));
    engine.RunQueuedTiles();
    ASSERT_TRUE(engine.Compose(c.frame, pixels.data()));
    EXPECT_EQ(Difference(world, c.frame, pixels), "");
  }
}

TEST(AtlasPicture, FramesOffTheMapOrWithoutOneShowTheBackground) {
  testing::TAtlasWorld world(3);
  const auto map = world.OpenMap();
  const TAtlasFrame frames[] = {
      {0, 300, 0, 40, 30},                       // right of the map at 1:32
      {OneToOne, -100, -100, 100, 100},          // above and left, touching it
      {ScaleCount - 1, 0, 11584, 20, 20},        // below it at 8:1
      {OneToOne, INT64_MIN, INT64_MAX - 5, 8, 8},  // as far out as can be
      {ScaleCount, 0, 0, 8, 8},                  // no such scale
      {-1, 0, 0, 8, 8},
  };
  for (const bool withMap : {true, false})
    for (const TAtlasFrame& frame : frames) {
      SCOPED_TRACE(::testing::Message() << "scale " << frame.Scale << " at " << frame.OriginX << "," << frame.OriginY);
      TAtlasEngine engine(0);
      engine.SetMap(withMap ? map.get() : nullptr);
      std::vector<TColor32> pixels(static_cast<size_t>(frame.Width) * frame.Height, 0);
      EXPECT_TRUE(engine.Compose(frame, pixels.data()));
      EXPECT_EQ(engine.Stats().QueuedTiles, 0u);
      for (TColor32 pixel : pixels) ASSERT_EQ(pixel, BackgroundColor);
    }
  TAtlasEngine engine(0);
  engine.SetMap(map.get());
  EXPECT_TRUE(engine.Compose({OneToOne, 0, 0, 0, 10}, nullptr));
  EXPECT_TRUE(engine.Compose({OneToOne, 0, 0, -4, 10}, nullptr));
}

}  // namespace
}  // namespace wf::atlas
