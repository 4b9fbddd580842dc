#include <gtest/gtest.h>

#include <vector>

#include "AtlasWorld.h"
#include "atlas/AtlasEngine.h"

namespace wf::atlas {
namespace {

// The first pixel of the frame's rows `top` to `bottom` (all by default) that
// is not what the world expects, or "".
std::string Difference(const testing::TAtlasWorld& world, const TAtlasFrame& frame,
                       const std::vector<TColor32>& pixels, int32_t top = 0, int32_t bottom = -1) {
  for (int32_t y = top; y < (bottom < 0 ? frame.Height : bottom); ++y)
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
  std::vector<TAtlasFrame> frames;
  // The whole map with a margin at 1:k, its partial boxes at the far edges.
  for (int scale = 0; scale <= OneToOne; ++scale) {
    const auto extent = static_cast<int32_t>(LevelExtent(cells, scale));
    frames.push_back({scale, -5, -3, extent + 9, extent + 7});
  }
  // At m:1, both corners, cut in the middle of a cell.
  for (int scale = OneToOne + 1; scale < ScaleCount; ++scale) {
    const int64_t extent = cells * Scales[scale].PixelsPerCell;
    frames.push_back({scale, -13, -7, 150, 101});
    frames.push_back({scale, extent - 141, extent - 95, 150, 101});
  }
  // Off the map: right of it, above and left touching it, below it.
  frames.insert(frames.end(), {{0, 300, 0, 40, 30}, {OneToOne, -100, -100, 100, 100}, {8, 0, 11584, 20, 20}});
  for (const TAtlasFrame& frame : frames) {
    SCOPED_TRACE(::testing::Message() << Scales[frame.Scale].Text << " at " << frame.OriginX << "," << frame.OriginY);
    TAtlasEngine engine(0);
    engine.SetMap(map.get());
    std::vector<TColor32> pixels(static_cast<size_t>(frame.Width) * frame.Height);
    engine.Compose(frame, pixels.data());
    engine.RunQueuedTiles();
    ASSERT_TRUE(engine.Compose(frame, pixels.data()));
    EXPECT_EQ(Difference(world, frame, pixels), "");
    // Again band by band: each band is finished when it is reported, though
    // the bands before it were drawn over (at m:1 a row copies the one above).
    int32_t next = 0;
    engine.Compose(frame, pixels.data(), [&](int32_t top, int32_t bottom) {
      EXPECT_EQ(top, next);
      EXPECT_LT(top, bottom);
      EXPECT_EQ(Difference(world, frame, pixels, top, bottom), "") << "rows " << top << " to " << bottom;
      std::fill(pixels.begin() + top * frame.Width, pixels.begin() + bottom * frame.Width, 0);
      next = bottom;
    });
    EXPECT_EQ(next, frame.Height);
  }
}

TEST(AtlasPicture, FramesWithoutAMapOrBeyondReachShowTheBackground) {
  testing::TAtlasWorld world(3);
  const auto map = world.OpenMap();
  const std::pair<const TMap*, TAtlasFrame> cases[] = {{nullptr, {OneToOne, 0, 0, 8, 8}},
                                                       {map.get(), {OneToOne, INT64_MIN, INT64_MAX - 5, 8, 8}},
                                                       {map.get(), {ScaleCount, 0, 0, 8, 8}},
                                                       {map.get(), {-1, 0, 0, 8, 8}}};
  for (const auto& [shown, frame] : cases) {
    SCOPED_TRACE(::testing::Message() << "scale " << frame.Scale << " at " << frame.OriginX);
    TAtlasEngine engine(0);
    engine.SetMap(shown);
    std::vector<TColor32> pixels(64, 0);
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
