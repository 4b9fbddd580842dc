#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "atlas/AtlasOverlays.h"
#include "atlas/FollowPlayer.h"
#include "atlas/GridLines.h"
#include "atlas/OverlayDrawing.h"
#include "atlas/Ruler.h"

namespace wf::atlas {
namespace {

TAtlasFrame Frame(int scale, int64_t x, int64_t y, int32_t width = 400, int32_t height = 200) {
  return {scale, x, y, width, height};
}

TEST(Overlay, CellsOnTheFrameAtEveryKindOfScale) {
  struct Case {
    int scale;
    TFramePoint cell, point;
    TFrameRect block;  // cells (100, 200) to (104, 208)
  } cases[] = {
      {0, {100, 200}, {-7, -14}, {-7, -14, -6, -13}},  // 1:32
      {3, {100, 200}, {15, 30}, {15, 30, 16, 32}},     // 1:4
      {3, {-1, -5}, {-11, -22}, {15, 30, 16, 32}},
      {5, {100, 200}, {90, 180}, {90, 180, 94, 188}},        // 1:1
      {6, {100, 200}, {191, 381}, {190, 380, 198, 396}},     // 2:1
      {8, {100, 200}, {794, 1584}, {790, 1580, 822, 1644}},  // 8:1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Scales[c.scale].Text);
    const TAtlasFrame frame = Frame(c.scale, 10, 20);
    EXPECT_EQ(CellOnFrame(frame, c.cell.X, c.cell.Y), c.point);
    EXPECT_EQ(CellsOnFrame(frame, 100, 200, 104, 208), c.block);
  }
  EXPECT_EQ(CellsOnFrame(Frame(5, 0, 0), 5, 5, 5, 9), TFrameRect{});
}

TEST(Overlay, RulerCountsAsTheGameAndAsTheCrowFlies) {
  struct Case {
    int32_t x1, y1, x2, y2;
    const char* text;
  } cases[] = {
      {0, 0, 50, 30, "Distance: 50 tiles (58.3)"},  {7, 7, 7, 7, "Distance: 0 tiles (0.0)"},
      {10, 10, 9, 9, "Distance: 1 tile (1.4)"},     {100, 0, 0, 0, "Distance: 100 tiles (100.0)"},
      {0, 0, 2, 5, "Distance: 5 tiles (5.4)"},      {99, 70, 0, 0, "Distance: 99 tiles (121.2)"},
      {INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, "Distance: 4294967295 tiles (6074000998.5)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(DistanceText(MeasureDistance(c.x1, c.y1, c.x2, c.y2)), c.text);
  }
}

// The middle half of a 400 x 200 frame is x 100 to 299 and y 50 to 149.
TEST(Overlay, FollowKeepsThePlayerInTheMiddleHalf) {
  struct Case {
    const char* name;
    int scale;
    int64_t originX, originY;
    int32_t x, y;
    TFrameOrigin origin;
  } cases[] = {
      {"inside stays", 5, 1000, 1000, 1200, 1100, {1000, 1000}},
      {"west of it: least pan", 5, 1000, 1000, 1050, 1100, {950, 1000}},
      {"on the east edge", 5, 1000, 1000, 1300, 1149, {1001, 1000}},
      {"south-east corner", 5, 1000, 1000, 1399, 1199, {1100, 1050}},
      {"off the frame: centred", 5, 1000, 1000, 1400, 1100, {1200, 1000}},
      {"4:1 inside", 7, 4000, 4000, 1050, 1025, {4000, 4000}},
      {"4:1 west", 7, 4000, 4000, 1010, 1025, {3942, 4000}},
      {"1:8 on the west edge", 2, 100, 100, 1600, 1200, {100, 100}},
      {"1:8 just west", 2, 100, 100, 1592, 1200, {99, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FollowOrigin(Frame(c.scale, c.originX, c.originY), c.x, c.y), c.origin);
  }
}

TEST(Overlay, GridLinesByScale) {
  for (int scale = 0; scale < ScaleCount; ++scale)
    EXPECT_EQ(GridSpacing(scale), scale <= 2 ? 0 : scale <= 5 ? 64 : 8) << Scales[scale].Text;
  struct Case {
    const char* name;
    TAtlasFrame frame;
    std::vector<int32_t> columns, rows;
    TFrameRect span;
  } cases[] = {
      {"1:1, map edges in view", Frame(5, -10, 100, 200, 100), {10, 74}, {28, 92}, {10, 0, 138, 100}},
      {"2:1, every block", Frame(6, 0, 0, 40, 40), {0, 16, 32}, {0, 16, 32}, {0, 0, 40, 40}},
      {"1:8, none", Frame(2, 0, 0, 40, 40), {}, {}, {0, 0, 16, 40}},
      {"off the map", Frame(5, 1000, 0, 40, 40), {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TGridLines grid = GridLinesOf(c.frame, 128, 512);
    EXPECT_EQ(grid.Columns, c.columns);
    EXPECT_EQ(grid.Rows, c.rows);
    EXPECT_EQ(grid.Span, c.span);
  }
}

constexpr TColor32 kGrey = 0xFF808080;
constexpr TColor32 kYellow = 0xFFFFFF00, kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000;
constexpr TColor32 kBlue = 0xFF0000FF;

// Each case draws on a grey 12 x 12 canvas and names pixels it must find.
TEST(Overlay, DrawingClipsAndMarks) {
  constexpr int64_t kFar = 1'000'000'000'000'000;
  struct Case {
    const char* name;
    std::function<void(const TCanvas&)> draw;
    std::vector<std::tuple<int, int, TColor32>> pixels;
  } cases[] = {
      {"place marker in the corner", [](auto& c) { DrawPlaceMarker(c, {0, 0}); },
       {{0, 0, kYellow}, {1, 1, kYellow}, {2, 2, kBlack}, {2, 0, kBlack}, {3, 3, kGrey}}},
      {"place marker inside", [](auto& c) { DrawPlaceMarker(c, {5, 5}); },
       {{5, 5, kYellow}, {4, 6, kYellow}, {3, 5, kBlack}, {7, 7, kBlack}, {5, 3, kBlack}, {8, 5, kGrey}, {5, 2, kGrey}}},
      {"player", [](auto& c) { DrawPlayerMarker(c, {5, 5}); },
       {{2, 2, kBlack}, {3, 3, kWhite}, {4, 6, kRed}, {8, 8, kBlack}, {9, 9, kGrey}}},
      {"friend: the player's rings round the friend's colour", [](auto& c) { DrawFriendMarker(c, {5, 5}, kBlue, false); },
       {{2, 2, kBlack}, {3, 3, kWhite}, {4, 6, kBlue}, {8, 8, kBlack}, {9, 9, kGrey}}},
      {"friend faded: half way to the grey beneath", [](auto& c) { DrawFriendMarker(c, {5, 5}, kBlue, true); },
       {{2, 2, 0xFF404040}, {3, 3, 0xFFBFBFBF}, {5, 5, 0xFF4040BF}, {9, 9, kGrey}}},
      {"friend at the corner", [](auto& c) { DrawFriendMarker(c, {11, 0}, kBlue, false); },
       {{11, 0, kBlue}, {8, 3, kBlack}, {9, 2, kWhite}, {7, 0, kGrey}}},
      {"pin", [](auto& c) { DrawPin(c, {6, 11}); }, {{6, 11, kBlack}, {6, 5, kBlack}, {6, 1, 0xFFE01010}, {0, 11, kGrey}}},
      {"endless row", [](auto& c) { DrawLine(c, {-kFar, 4}, {kFar, 4}, kWhite); },
       {{0, 4, kWhite}, {6, 4, kWhite}, {11, 4, kWhite}, {5, 3, kGrey}}},
      {"endless diagonal", [](auto& c) { DrawLine(c, {-kFar, -kFar}, {kFar, kFar}, kWhite); },
       {{0, 0, kWhite}, {7, 7, kWhite}, {11, 11, kWhite}, {8, 7, kGrey}}},
      {"off the canvas", [](auto& c) { DrawLine(c, {-100, -5}, {100, -5}, kWhite); }, {{0, 0, kGrey}}},
      {"a point", [](auto& c) { DrawLine(c, {3, 3}, {3, 3}, kWhite); }, {{3, 3, kWhite}, {4, 3, kGrey}}},
      {"ruler", [](auto& c) { DrawRuler(c, {2, 6}, {9, 6}); }, {{5, 6, kWhite}, {5, 5, kBlack}, {5, 7, kBlack}, {5, 8, kGrey}}},
      {"detail area", [](auto& c) { DrawDetailArea(c, {2, 2, 6, 6}); },
       {{1, 1, kBlack}, {2, 2, kWhite}, {5, 5, kWhite}, {3, 3, kGrey}, {6, 6, kBlack}}},
      {"grid: light pixels darker, dark lighter, crossings once",
       [](auto& c) {
         c.Pixels[2 * 12 + 5] = kBlack;
         TGridLines grid{{3}, {2}, {0, 0, 12, 12}};
         DrawGrid(c, grid);
       },
       {{0, 2, kBlack}, {3, 9, kBlack}, {3, 2, kBlack}, {5, 2, kGrey}, {4, 4, kGrey}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<TColor32> pixels(144, kGrey);
    c.draw(TCanvas{pixels.data(), 12, 12});
    for (const auto& [x, y, color] : c.pixels)
      EXPECT_EQ(pixels[static_cast<size_t>(y * 12 + x)], color) << x << "," << y;
  }
}

struct TFixedMeasure : ILabelMeasure {
  TLabelSize LabelSize(const std::string& text) override { return {static_cast<int32_t>(5 * text.size()), 9}; }
};

// Markers on, above and below band edges, overlapping ones, the grid, the
// detail area and the ruler across them: drawn in bands of any height, the
// pixels are those of one pass.
TEST(Overlay, BandsOfAnyHeightAddUpToOnePass) {
  const TAtlasFrame frame = Frame(OneToOne + 1, 0, 0, 64, 48);
  std::vector<TPlaceMark> places;
  for (int i = 0; i < 40; ++i) places.push_back({(i * 7) % 32, (i * 5) % 24, "P" + std::to_string(i)});
  TOverlays overlays;
  overlays.Grid = true;
  overlays.DetailCells = TFrameRect{3, 2, 20, 13};
  overlays.RulerFrom = TCellPoint{1, 22};
  overlays.RulerTo = TCellPoint{30, 1};
  overlays.Player = TCellPoint{12, 12};
  TFixedMeasure measure;
  const TOverlayPass pass(frame, {64, 64}, places, overlays, measure);
  const auto drawn = [&](int32_t band) {
    std::vector<TColor32> pixels(64 * 48, kGrey);
    for (int32_t top = 0; top < 48; top += band) pass.DrawBand(pixels.data(), top, std::min(top + band, 48));
    pass.DrawLast(pixels.data());
    return pixels;
  };
  const std::vector<TColor32> whole = drawn(48);
  for (const TColor32 shown : {kYellow, kWhite, kRed, kBlack})
    EXPECT_NE(std::count(whole.begin(), whole.end(), shown), 0) << "colour " << std::hex << shown;
  for (const int32_t band : {1, 2, 5, 32}) EXPECT_EQ(drawn(band), whole) << "bands of " << band;
  EXPECT_FALSE(pass.Labels().empty());
}

// At 1:4, where places' names are written only under the pointer, and with
// the places off: friends are drawn over places, the faded ones under the
// others, and named first.
TEST(Overlay, FriendsOverPlacesAndNamedAtEveryScaleBeforePlaces) {
  const TAtlasFrame frame = Frame(3, 0, 0, 64, 48);  // cell (4x, 4y) on pixel (x, y)
  const std::vector<TPlaceMark> places = {{80, 40, "Bank"}, {112, 80, "Inn"}};
  const std::vector<TFriendMark> friends = {
      {80, 40, "Ann", kBlue, false}, {124, 80, "Bo", kRed, true}, {124, 80, "Cy", kWhite, false}};
  TFixedMeasure measure;
  struct Case {
    const char* name;
    bool places;
    std::optional<TFramePoint> pointer;
    std::vector<std::pair<int, bool>> labels;  // place or friend, in the order laid out
  } cases[] = {
      {"places on", true, std::nullopt, {{1, true}, {0, true}}},
      {"the pointer on the inn, whose name hides Bo's", true, TFramePoint{28, 20}, {{1, false}, {0, true}}},
      {"places off", false, TFramePoint{28, 20}, {{1, true}, {0, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TOverlays overlays;
    overlays.Places = c.places;
    overlays.Pointer = c.pointer;
    overlays.Friends = friends;
    const TOverlayPass pass(frame, {400, 400}, places, overlays, measure);
    std::vector<std::pair<int, bool>> labels;
    for (const TLabel& label : pass.Labels()) labels.push_back({label.Place, label.Friend});
    EXPECT_EQ(labels, c.labels);
    std::vector<TColor32> pixels(64 * 48, kGrey);
    pass.DrawBand(pixels.data(), 0, 48);
    pass.DrawLast(pixels.data());
    const auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y * 64 + x)]; };
    EXPECT_EQ(at(20, 10), kBlue) << "Ann over the bank";
    EXPECT_EQ(at(20, 8), kWhite) << "Ann's ring over the bank's frame";
    EXPECT_EQ(at(31, 20), kWhite) << "Cy over Bo, who faded";
    EXPECT_EQ(at(26, 20), c.places ? kBlack : kGrey) << "the inn's frame, beyond Cy's marker";
  }
  EXPECT_EQ(FriendAtPixel(frame, friends, 33, 22), 1) << "of equally near, the first given";
  EXPECT_EQ(FriendAtPixel(frame, friends, 36, 20), -1) << "five pixels off";
}

}  // namespace
}  // namespace wf::atlas
