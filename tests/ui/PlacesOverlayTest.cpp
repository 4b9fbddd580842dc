// Finding places by part of their name, their markers on the panes, the
// pointer's tip and the wheel's zoom.

#include <gtest/gtest.h>

#include <climits>

#include "FormRig.h"
#include "TestWorld.h"
#include "mapdata/MapTable.h"
#include "ui/MenuCommands.h"

namespace wf::ui {
namespace {

using testing::FormRig;
using Strings = std::vector<std::string>;

const std::string kHeader = "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n";
constexpr TColor32 kFrame = 0xFF000000;
constexpr TColor32 kFill = 0xFFFFFF00;

TEST(PlacesFind, TypedTextOffersMatchingPlacesAndChoosingOneGoesThere) {
  FormRig rig;
  rig.dir.Write("locations.txt", kHeader + "Britain Bank=1400,1600,5 0\r\nMinoc=2500,500,0 0\r\n"
                                           "bank of vesper=2900,600,3 0\r\nK\xD6NIG=1,2,3 0\r\n");
  TMapForm& form = rig.Start();
  // Sorted: Britain Bank, K\xD6NIG, Minoc, bank of vesper.
  struct Case {
    const char* name;
    std::string typed;
    Strings offered;
    int chosen;  // offered entry chosen, -1 for none
    int selected;
    std::string x, y, z;
  } cases[] = {
      {"any case, list order", "BANK", {"Britain Bank", "bank of vesper"}, 1, 3, "2900", "600", "3"},
      {"code page letters", "k\xF6n", {"K\xD6NIG"}, 0, 1, "1", "2", "3"},
      {"part of a word", "ino", {"Minoc"}, 0, 2, "2500", "500", "0"},
      {"nothing matches", "Yew", {}, 0, -1, "0", "0", "0"},
      {"a choice beyond the offer", "Minoc", {"Minoc"}, 5, -1, "0", "0", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rig.cbTravel.itemIndex = -1;
    rig.eX.text = rig.eY.text = rig.eZ.text = "0";
    const std::vector<std::string> items = rig.cbTravel.items;
    EXPECT_EQ(form.FindPlaces(c.typed), c.offered);
    EXPECT_EQ(rig.cbTravel.itemIndex, -1);  // typing selects nothing
    form.FindChosen(c.chosen);
    EXPECT_EQ(rig.cbTravel.itemIndex, c.selected);
    EXPECT_EQ(rig.cbTravel.items, items);
    EXPECT_EQ(rig.eX.text + "," + rig.eY.text + "," + rig.eZ.text, c.x + "," + c.y + "," + c.z);
  }
}

TEST(PlacesFind, APlaceDeletedSinceItWasOfferedIsNotChosen) {
  FormRig rig;
  rig.dir.Write("locations.txt", kHeader + "A=1,2,3 0\r\nB=4,5,6 0\r\n");
  TMapForm& form = rig.Start();
  EXPECT_EQ(form.FindPlaces("a"), Strings{"A"});
  rig.cbTravel.SetItemIndex(0);
  form.btnDeleteClick();
  form.FindChosen(0);
  EXPECT_EQ(rig.cbTravel.itemIndex, -1);
  EXPECT_EQ(rig.eX.text, "0");
}

// Map 0 with a few block columns, its cell (100, 80) at altitude 5, and places
// on it and elsewhere.
struct OverlayRig {
  OverlayRig() {
    worldgen::TMapContents contents(14, MapSizeOf(0).BlocksHigh);
    contents.SetAltitude(100, 80, 5);
    world.AddMap(0, contents);
    rig = std::make_unique<FormRig>(&world.Config());
    rig->dir.Write("locations.txt",
                   kHeader + "Bank=100,80,5 0\r\nFar=5936,3104,0 0\r\nOther=100,80,0 2\r\n"
                             "Words=x,y,z 0\r\nBeyond=7000,80,0 0\r\n");
    rig->Start();
  }
  wf::testing::TTestWorld world;
  std::unique_ptr<FormRig> rig;
};

TEST(PlacesMarkers, OffThePanesAreTheMapsOwnPictures) {
  OverlayRig o;
  TMapForm& form = *o.rig->form;
  form.FCenterX = 100;
  form.FCenterY = 80;
  form.DrawDetail();
  const TBitmap32* overview = form.ActiveMap().GetOverview();
  const TBitmap32& pane = o.rig->mapImage.bitmap;
  EXPECT_TRUE(std::equal(overview->Bits(), overview->Bits() + OverviewWidth * OverviewHeight, pane.Bits()));
  EXPECT_NE(o.rig->zoomMap.bitmap.Pixel(50, 48), kFill);
}

TEST(PlacesMarkers, OnTheyMarkThePlacesOfTheMapInUseWhereInView) {
  struct Case {
    const char* name;
    bool overview;
    int centerX, centerY, zoom;
    std::vector<std::pair<int, int>> marked;  // centre pixels of markers
  } cases[] = {
      // 16 cells a pixel: (100, 80) is pixel (6, 5), (5936, 3104) pixel (371, 194).
      {"overview", true, 0, 0, 1, {{6, 5}, {371, 194}}},
      {"detail, centred", false, 100, 80, 1, {{50, 50}}},
      {"detail, off centre", false, 90, 95, 1, {{60, 35}}},
      {"detail, zoomed out, cut down to the pixel", false, 103, 83, 2, {{48, 48}}},
      {"detail, out of view", false, 151, 80, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OverlayRig o;
    TMapForm& form = *o.rig->form;
    form.SystemCommand(cmShowPlaces);
    form.FCenterX = static_cast<uint16_t>(c.centerX);
    form.FCenterY = static_cast<uint16_t>(c.centerY);
    form.FZoom = static_cast<uint16_t>(c.zoom);
    form.DrawDetail();
    const TBitmap32& pane = c.overview ? o.rig->mapImage.bitmap : o.rig->zoomMap.bitmap;
    int fills = 0;
    for (int y = 0; y < pane.Height(); ++y)
      for (int x = 0; x < pane.Width(); ++x) fills += pane.Pixel(x, y) == kFill;
    EXPECT_EQ(fills, static_cast<int>(c.marked.size()) * 9);
    for (auto [x, y] : c.marked) {
      SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
      for (int d = -1; d <= 1; ++d) {
        EXPECT_EQ(pane.Pixel(x + d, y - 1), kFill);
        EXPECT_EQ(pane.Pixel(x + d, y + 1), kFill);
      }
      EXPECT_EQ(pane.Pixel(x - 2, y), kFrame);
      EXPECT_EQ(pane.Pixel(x + 2, y + 2), kFrame);
    }
    // Never into the map's own picture.
    const TBitmap32* overview = form.ActiveMap().GetOverview();
    EXPECT_NE(overview->Pixel(6, 5), kFill);
  }
}

TEST(PlacesHover, TheCellItsAltitudeSextantAndANearbyPlace) {
  struct Case {
    const char* name;
    bool overview;
    int x, y;
    std::string text;
  } cases[] = {
      {"on a place's marker", true, 6, 5, "X: 96  Y: 80  Z: 0\n135\xC2\xB0" "42'N 86\xC2\xB0" "16'W\nBank"},
      {"a few pixels off", true, 10, 9, "X: 160  Y: 144  Z: 0\n130\xC2\xB0" "4'N 81\xC2\xB0" "46'W\nBank"},
      {"too far off", true, 11, 5, "X: 176  Y: 80  Z: 0\n135\xC2\xB0" "42'N 80\xC2\xB0" "38'W"},
      {"in the dungeons", true, 371, 194, "X: 5936  Y: 3104  Z: 0\n0\xC2\xB0" "42'N 0\xC2\xB0" "0'E\nFar"},
      {"where the sextant has no reading, a friend near", true, 330, 100, "X: 5280  Y: 1600  Z: 0\nZo\xC3\xAB"},
      {"beyond the pane", true, 384, 0, ""},
      {"detail centre, with the cell's altitude", false, 50, 50, "X: 100  Y: 80  Z: 5\n135\xC2\xB0" "42'N 85\xC2\xB0" "59'W\nBank"},
      {"detail, left of the map", false, 0, 50, ""},
      {"detail, three cells a pixel", false, 52, 49, "X: 106  Y: 77  Z: 0\n135\xC2\xB0" "58'N 85\xC2\xB0" "34'W\nBank"},
      {"detail, on a friend", false, 31, 91, "X: 43  Y: 203  Z: 0\n124\xC2\xB0" "53'N 90\xC2\xB0" "0'W\nZo\xC3\xAB"},
      {"detail, five pixels off a friend", false, 35, 90, "X: 55  Y: 200  Z: 0\n125\xC2\xB0" "9'N 89\xC2\xB0" "9'W"},
  };
  OverlayRig o;
  TMapForm& form = *o.rig->form;
  form.FCenterX = 100;
  form.FCenterY = 80;
  form.FZoom = 3;
  // As heard, in UTF-8; Ed is on another map.
  const TFriendsClock::time_point now{};
  form.FriendsChanged({1, friends::LinkState::Connected, "",
                       {{"f1", "Zo\xC3\xAB", {5280, 1632, std::nullopt, 0}, now},
                        {"f2", "Zo\xC3\xAB", {40, 200, std::nullopt, 0}, now},
                        {"f3", "Ed", {5280, 1600, std::nullopt, 2}, now}}},
                      now);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.overview ? form.MapImageHoverText(c.x, c.y) : form.ZoomMapHoverText(c.x, c.y), c.text);
  }
}

TEST(PlacesHover, NothingWhereNoMapIsLoaded) {
  FormRig rig;
  TMapForm& form = rig.Start();
  EXPECT_EQ(form.MapImageHoverText(10, 10), "");
  EXPECT_EQ(form.ZoomMapHoverText(50, 50), "");
}

TEST(ZoomWheel, NotchesZoomAsThePlusAndMinusButtons) {
  struct Case {
    const char* name;
    int startZoom;
    std::vector<int> deltas;
    int zoom;
  } cases[] = {
      {"forward zooms in", 5, {120}, 4},
      {"back zooms out", 5, {-120}, 6},
      {"at the closest zoom forward does nothing", 1, {120}, 1},
      {"at the farthest back does nothing", 16, {-120}, 16},
      {"two notches at once", 5, {240}, 3},
      {"half notches add up", 5, {60, 60}, 4},
      {"half a notch alone does nothing", 5, {60}, 5},
      {"turning back cancels what was short of a notch", 5, {60, -60, 60}, 5},
      {"a flood of movement stops at the farthest zoom", 1, {INT_MIN, INT_MIN}, 16},
      {"and the closest", 16, {INT_MAX, INT_MAX}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig rig;
    TMapForm& form = rig.Start();
    form.FZoom = static_cast<uint16_t>(c.startZoom);
    for (int delta : c.deltas) form.ZoomMapWheel(delta);
    EXPECT_EQ(form.FZoom, c.zoom);
  }
}

}  // namespace
}  // namespace wf::ui
