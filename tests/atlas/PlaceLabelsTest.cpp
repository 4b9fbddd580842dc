#include <gtest/gtest.h>

#include <random>

#include "atlas/PlaceLabels.h"

namespace wf::atlas {
namespace {

// Labels are 40 x 10 and start 6 pixels right of their marker; the view's
// centre is (500, 300).
std::vector<int> Drawn(std::vector<TPlaceInView> places, int first = -1) {
  std::vector<int> drawn;
  for (const TPlacedLabel& label : PlaceLabels(places, 1000, 600, first)) drawn.push_back(label.Place);
  return drawn;
}

TEST(PlaceLabels, NearerTheCentreWinsAndNoneOverlap) {
  const auto at = [](int x, int y, int width = 40) { return TPlaceInView{x, y, width, 10}; };
  const auto ahead = [](int x, int y) { return TPlaceInView{x, y, 40, 10, true}; };
  struct Case {
    const char* name;
    std::vector<TPlaceInView> places;
    int first;
    std::vector<int> drawn;  // in the order taken
  } cases[] = {
      {"apart", {at(100, 100), at(300, 100)}, -1, {1, 0}},
      {"overlapping: the nearer", {at(480, 300), at(500, 305)}, -1, {1}},
      {"equally near: the first given", {at(490, 300), at(510, 300)}, -1, {0}},
      {"the one under the pointer first", {at(480, 300), at(500, 305)}, 0, {0}},
      {"touching is not overlapping", {at(500, 300), at(540, 300)}, -1, {0, 1}},
      {"one pixel more is", {at(500, 300), at(539, 300)}, -1, {0}},
      {"left out covers nothing", {at(500, 300), at(520, 308), at(540, 316)}, -1, {0, 2}},
      {"no name, no label", {at(500, 300, 0), at(500, 302)}, -1, {1}},
      {"a friend before a nearer place", {at(500, 300), ahead(505, 303)}, -1, {1}},
      {"friends among themselves by distance", {ahead(100, 100), at(500, 300), ahead(300, 100)}, -1, {2, 0, 1}},
      {"the place under the pointer before a friend", {at(500, 300), ahead(505, 303)}, 0, {0}},
      {"far off the view", {at(-2000000000, 5), at(2000000000, 5), at(-5, 900)}, -1, {2, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Drawn(c.places, c.first), c.drawn);
  }
}

bool Overlap(const TFrameRect& a, const TFrameRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// Against the plain way: every label tested against every one taken before.
TEST(PlaceLabels, ManyPlacesAsComparingEveryPair) {
  std::mt19937 random(20);
  std::vector<TPlaceInView> places(2000);
  for (TPlaceInView& place : places)
    place = {static_cast<int32_t>(random() % 2100) - 90, static_cast<int32_t>(random() % 1200) - 60,
             static_cast<int32_t>(random() % 150), static_cast<int32_t>(random() % 20)};
  const std::vector<TPlacedLabel> placed = PlaceLabels(places, 1920, 1080);
  std::vector<TFrameRect> expected;
  for (const TPlacedLabel& label : placed) {
    const TFrameRect box = LabelBoxOf(places[static_cast<size_t>(label.Place)]);
    EXPECT_EQ(label.Box, box);
    for (const TFrameRect& other : expected) ASSERT_FALSE(Overlap(box, other)) << "place " << label.Place;
    expected.push_back(box);
  }
  // Every place left out overlaps a label taken, so none was left out wrongly.
  std::vector<bool> taken(places.size());
  for (const TPlacedLabel& label : placed) taken[static_cast<size_t>(label.Place)] = true;
  for (size_t i = 0; i < places.size(); ++i) {
    const TFrameRect box = LabelBoxOf(places[i]);
    if (taken[i] || box.Right == box.Left || box.Bottom == box.Top) continue;
    EXPECT_TRUE(std::any_of(expected.begin(), expected.end(), [&](auto& other) { return Overlap(box, other); }))
        << "place " << i;
  }
  EXPECT_GT(placed.size(), 100u);
}

TEST(PlaceLabels, PointerFindsTheNearestMarkerWithinReach) {
  const std::vector<TPlaceInView> places{{100, 100}, {104, 100}, {102, 100}, {300, 300}};
  struct Case {
    int x, y, place;
  } cases[] = {{100, 100, 0}, {101, 100, 0}, {102, 101, 2}, {105, 97, 1}, {304, 304, 3}, {305, 300, -1}, {0, 0, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(PlaceUnderPointer(places, c.x, c.y), c.place);
  }
}

}  // namespace
}  // namespace wf::atlas
