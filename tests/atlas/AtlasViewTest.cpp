// Where the atlas looks and how its view moves, at every scale and at the
// map's edges. Boxes are worked out here from the scales' definition (at 1:k
// scaled pixel s holds cells k*s to k*s+k-1, at m:1 it is part of cell s/m).

#include <gtest/gtest.h>

#include <string>

#include "atlas/AtlasView.h"

namespace wf::atlas {
namespace {

struct TSpan {
  int64_t First, Last;
};

TSpan BoxOf(int scale, int64_t s) {
  const int64_t k = Scales[scale].CellsPerPixel;
  const int64_t m = Scales[scale].PixelsPerCell;
  if (k > 1) return {s * k, s * k + k - 1};
  return {FloorDiv(s, m), FloorDiv(s, m)};
}

bool Within(int64_t cell, TSpan box) { return cell >= box.First && cell <= box.Last; }

std::string Named(const TAtlasFrame& f) {
  return std::string(Scales[f.Scale].Text) + " origin " + std::to_string(f.OriginX) + "," +
         std::to_string(f.OriginY) + " size " + std::to_string(f.Width) + "x" + std::to_string(f.Height);
}

TEST(AtlasView, TheCellUnderAPixelLiesInItsBoxAndIsTheBoxsMiddle) {
  struct Case {
    int scale;
    int64_t origin, pixel, cell;
  } cases[] = {{0, 0, 0, 16},   {0, -3, 2, -16}, {1, 10, 0, 168}, {3, 0, 1, 6},  {4, 0, 0, 1},
               {5, 100, 5, 105}, {5, -7, 2, -5},  {6, 0, 3, 1},    {7, -1, 0, -1}, {8, 17, 0, 2}};
  for (const Case& c : cases) {
    const TAtlasFrame frame{c.scale, c.origin, c.origin, 320, 200};
    SCOPED_TRACE(Named(frame) + " pixel " + std::to_string(c.pixel));
    EXPECT_EQ(CellAt(frame, c.pixel, c.pixel), (TCellPoint{c.cell, c.cell}));
    EXPECT_TRUE(Within(c.cell, BoxOf(c.scale, c.origin + c.pixel)));
  }
}

TEST(AtlasView, ZoomingKeepsTheBoxUnderThePointAndZoomingInAndOutReturnsTheSameFrame) {
  const int64_t origins[] = {-500, -1, 0, 37, 1000};
  const int64_t points[] = {0, 1, 159, 319};
  for (int scale = 0; scale < ScaleCount; ++scale)
    for (int step : {1, -1})
      for (int64_t origin : origins)
        for (int64_t x : points) {
          const TAtlasFrame frame{scale, origin, -origin, 320, 320};
          SCOPED_TRACE(Named(frame) + " point " + std::to_string(x) + " step " + std::to_string(step));
          const TAtlasFrame zoomed = ZoomedAround(frame, scale + step, x, x);
          const int expected = std::clamp(scale + step, 0, ScaleCount - 1);
          ASSERT_EQ(zoomed.Scale, expected);
          EXPECT_EQ(zoomed.Width, 320);
          const TSpan before = BoxOf(scale, origin + x);
          const TSpan after = BoxOf(expected, zoomed.OriginX + x);
          // The finer of the two boxes lies inside the coarser.
          const TSpan inner = step > 0 ? after : before;
          const TSpan outer = step > 0 ? before : after;
          EXPECT_TRUE(Within(inner.First, outer) && Within(inner.Last, outer));
          if (expected == scale) {
            EXPECT_EQ(zoomed.OriginX, frame.OriginX) << "no scale beyond the last";
          } else if (step > 0) {
            const TAtlasFrame back = ZoomedAround(zoomed, scale, x, x);
            EXPECT_EQ(back.OriginX, frame.OriginX);
            EXPECT_EQ(back.OriginY, frame.OriginY);
          }
        }
}

TEST(AtlasView, TheWholeMapFitsAtTheClosestScaleThatHoldsItCentred) {
  struct Case {
    TMapExtent map;
    int32_t width, height;
    int scale;
    int64_t originX, originY;
  } cases[] = {
      {{7168, 4096}, 1920, 1080, 3, -64, -28},  // 1:4: 1792 x 1024
      {{1448, 1448}, 800, 600, 3, -219, -119},  // 1:2 is 724 high
      {{10, 10}, 320, 200, 8, -120, -60},       // the closest there is
      {{1448, 1448}, 46, 46, 0, 0, 0},          // 1:32 ends in a part box: 46
      {{1448, 1448}, 45, 46, 0, 0, 0},          // nothing fits: the coarsest
      {{7168, 4096}, 100, 100, 0, 62, 14},
      {{0, 0}, 320, 200, 8, -160, -100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.map.Width) + "x" + std::to_string(c.map.Height) + " in " +
                 std::to_string(c.width) + "x" + std::to_string(c.height));
    const TAtlasFrame fitted = Fitted(c.map, c.width, c.height);
    EXPECT_EQ(fitted.Scale, c.scale);
    EXPECT_EQ(fitted.OriginX, c.originX);
    EXPECT_EQ(fitted.OriginY, c.originY);
    EXPECT_EQ(fitted.Width, c.width);
    EXPECT_EQ(fitted.Height, c.height);
  }
}

TEST(AtlasView, AtTheMapsEdgesTheViewsMiddleStaysOnTheMap) {
  const TMapExtent map{1448, 1000};  // a multiple of no scale's box but 8
  const int64_t far = 10000000;
  struct Case {
    const char* name;
    int64_t originX, originY;
  } cases[] = {{"left", -far, 0}, {"right", far, 0}, {"above", 0, -far}, {"below", 0, far}, {"corner", -far, far}};
  for (int scale = 0; scale < ScaleCount; ++scale)
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(Scales[scale].Text) + " " + c.name);
      const TAtlasFrame clamped = Clamped({scale, c.originX, c.originY, 320, 200}, map);
      const int64_t middleX = clamped.OriginX + 160;
      const int64_t middleY = clamped.OriginY + 100;
      const int64_t lastX = ScaledExtent(scale, map.Width) - 1;
      const int64_t lastY = ScaledExtent(scale, map.Height) - 1;
      EXPECT_EQ(middleX, c.originX < 0 ? 0 : c.originX > 0 ? lastX : std::min<int64_t>(160, lastX));
      EXPECT_EQ(middleY, c.originY < 0 ? 0 : c.originY > 0 ? lastY : std::min<int64_t>(100, lastY));
      const std::optional<TCellPoint> middle = MapCellAt(clamped, 160, 100, map);
      ASSERT_TRUE(middle.has_value());
      EXPECT_TRUE(middle->X >= 0 && middle->X < map.Width && middle->Y >= 0 && middle->Y < map.Height);
      EXPECT_TRUE(Within(middle->X, BoxOf(scale, middleX)) && Within(middle->Y, BoxOf(scale, middleY)));
      EXPECT_EQ(Clamped(clamped, map).OriginX, clamped.OriginX) << "a frame on the map stays";
    }
  EXPECT_EQ(CentreCell(Clamped({5, 500, -500, 320, 200}, {})), (TCellPoint{0, 0})) << "no map";
}

}  // namespace
}  // namespace wf::atlas
