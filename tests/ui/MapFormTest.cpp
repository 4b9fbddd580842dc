#include "ui/MapForm.h"

#include <gtest/gtest.h>

#include "FormRig.h"
#include "ui/MenuCommands.h"
#include "common/IntegerText.h"

namespace wf::ui {
namespace {

using testing::FormRig;

constexpr TColor32 kWhite = 0x00FFFFFF;
constexpr TColor32 kBlack = 0xFF000000;

bool OnMarker(int x, int y) {
  return (y == 49 && x >= 29 && x < 70 && x != 49) || (x == 49 && y >= 29 && y < 70 && y != 49);
}

// Makes the detail pane tiny, so a redraw shows as its return to 100 x 100.
void ForgetDetail(FormRig& rig) { rig.zoomMap.bitmap.SetDimensions(1, 1); }
bool DetailRedrawn(FormRig& rig) { return rig.zoomMap.bitmap.Width() == DetailSize; }

TEST(MapFormLifecycle, CreationReadsTheMapNumberAndDrawsAndWritesNothing) {
  struct Case {
    std::optional<std::string> stored;
    uint16_t index;
  } cases[] = {{"3", 3}, {"65539", 3}, {"-1", 65535}, {"1", 1}, {"x", 0}, {std::nullopt, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.value_or("absent"));
    FormRig rig;
    if (c.stored) rig.config->AddPair("CurrentMap", *c.stored);
    TMapForm& form = rig.MakeForm();
    form.FZoom = 7;
    form.FCenterX = form.FCenterY = 9;
    form.FCenterZ = 9;
    form.FormCreate();
    EXPECT_EQ(form.FMapIndex, c.index) << c.stored.value_or("absent");
    EXPECT_EQ(form.FZoom, 1);
    EXPECT_EQ(form.FCenterX, 0);
    EXPECT_EQ(form.FCenterY, 0);
    EXPECT_EQ(form.FCenterZ, 0);
    EXPECT_EQ(rig.mapImage.changes + rig.zoomMap.changes, 0);
    EXPECT_FALSE(rig.ConfigWritten());
  }
}

TEST(MapFormLifecycle, ShowingStoresTheMapInUseWhichFallsBackToMapZero) {
  // No map is loaded here, so whatever was stored (map 2 of an earlier run
  // whose files are gone now, too) the window shows map 0 and stores 0.
  for (std::optional<std::string> stored :
       {std::optional<std::string>("2"), {"3"}, {"65539"}, {"-1"}, {"1"}, {std::nullopt}}) {
    FormRig rig;
    if (stored) rig.config->AddPair("CurrentMap", *stored);
    TMapForm& form = rig.Start();
    EXPECT_EQ(form.FMapIndex, 0);
    EXPECT_EQ(rig.ConfigText(),
              "<configuration>\r\n<config key=\"CurrentMap\" value=\"0\" />\r\n</configuration>\r\n")
        << stored.value_or("absent");
  }
}

TEST(MapFormLifecycle, ActiveMapFallsBackToMapZeroForUnknownOrUnloadedMaps) {
  FormRig rig;
  TMapForm& form = rig.MakeForm();
  for (uint16_t index : {0, 1, 2, 3, 4, 5, 65535}) {
    form.FMapIndex = index;
    EXPECT_EQ(&form.ActiveMap(), &rig.maps->First()) << index;
    EXPECT_EQ(form.FMapIndex, 0) << index;
  }
}

TEST(MapFormDrawing, AnUnloadedOverviewIsTheButtonFaceAlone) {
  FormRig rig;
  rig.Start();
  const TBitmap32& pane = rig.mapImage.bitmap;
  ASSERT_EQ(pane.Width(), 384);
  ASSERT_EQ(pane.Height(), 256);
  const TColor32 face = SystemColorToColor32(clBtnFace);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 384; ++x) ASSERT_EQ(pane.Pixel(x, y), face) << x << "," << y;
}

TEST(MapFormDrawing, TheMarkerIsEightyBlackPixelsAroundAnOpenCrossing) {
  FormRig rig;
  TMapForm& form = rig.MakeForm();
  form.DrawDetail();
  const TBitmap32& pane = rig.zoomMap.bitmap;
  ASSERT_EQ(pane.Width(), 100);
  ASSERT_EQ(pane.Height(), 100);
  int black = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      black += pane.Pixel(x, y) == kBlack;
      ASSERT_EQ(pane.Pixel(x, y), OnMarker(x, y) ? kBlack : kWhite) << x << "," << y;
    }
  }
  EXPECT_EQ(black, 80);
  EXPECT_EQ(pane.Pixel(49, 49), kWhite);
}

TEST(MapFormNavigation, PressesOnAnUnloadedOverviewAreIgnored) {
  FormRig rig;
  rig.client.Windows["Ultima Online"] = 7;
  TMapForm& form = rig.Start();
  form.FCenterX = 5;
  form.FCenterY = 6;
  form.FCenterZ = 7;
  ForgetDetail(rig);
  for (TMouseButton button : {TMouseButton::Left, TMouseButton::Middle, TMouseButton::Right})
    for (auto [x, y] : {std::pair{0, 0}, {100, 50}, {383, 255}}) form.MapImageMouseDown(button, x, y);
  EXPECT_FALSE(DetailRedrawn(rig));
  EXPECT_EQ(form.FCenterX, 5);
  EXPECT_EQ(form.FCenterY, 6);
  EXPECT_EQ(form.FCenterZ, 7);
  EXPECT_EQ(rig.eX.text, "0");
  EXPECT_TRUE(rig.client.Sends.empty());
}

TEST(MapFormNavigation, DetailPressesMoveTheCentreAndWrapWithoutBounds) {
  struct Case {
    uint16_t zoom, cx, cy;
    int x, y;
    uint16_t nx, ny;
  } cases[] = {
      {1, 0, 0, 0, 0, 65486, 65486},
      {3, 1000, 1000, 60, 40, 1030, 970},
      {1, 1600, 800, 50, 50, 1600, 800},
      {16, 65535, 0, 99, 50, 783, 0},
      {16, 10, 65000, 50, 99, 10, 248},
  };
  for (TMouseButton button : {TMouseButton::Left, TMouseButton::Middle}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << "button " << static_cast<int>(button) << ", case " << &c - cases);
      FormRig rig;
      TMapForm& form = rig.Start();
      form.FZoom = c.zoom;
      form.FCenterX = c.cx;
      form.FCenterY = c.cy;
      form.FCenterZ = 9;
      ForgetDetail(rig);
      form.ZoomMapMouseDown(button, c.x, c.y);
      EXPECT_EQ(form.FCenterX, c.nx);
      EXPECT_EQ(form.FCenterY, c.ny);
      EXPECT_EQ(form.FCenterZ, 0);
      EXPECT_EQ(form.FZoom, c.zoom);
      EXPECT_EQ(rig.eX.text, NumberText(c.nx));
      EXPECT_EQ(rig.eY.text, NumberText(c.ny));
      EXPECT_EQ(rig.eZ.text, "0");
      EXPECT_TRUE(DetailRedrawn(rig));
    }
  }
}

TEST(MapFormNavigation, ZoomStepsStayWithinOneToSixteenAndEveryActionRedraws) {
  FormRig rig;
  TMapForm& form = rig.Start();
  struct Step {
    std::function<void()> action;
    uint16_t from, to;
  } steps[] = {
      {[&] { form.btnZoomInClick(); }, 1, 1},
      {[&] { form.btnZoomInClick(); }, 5, 4},
      {[&] { form.btnZoomOutClick(); }, 16, 16},
      {[&] { form.btnZoomOutClick(); }, 15, 16},
      {[&] { form.FormKeyDown(107); }, 1, 1},
      {[&] { form.FormKeyDown(107); }, 2, 1},
      {[&] { form.FormKeyDown(43); }, 9, 8},
      {[&] { form.FormKeyDown(109); }, 16, 16},
      {[&] { form.FormKeyDown(109); }, 3, 4},
      {[&] { form.FormKeyDown(45); }, 3, 4},
      {[&] { form.FormKeyDown('A'); }, 3, 3},
      {[&] { form.FormKeyDown(187); }, 3, 3},
      {[&] { form.FormKeyDown(189); }, 3, 3},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(::testing::Message() << "step " << &step - steps);
    form.FZoom = step.from;
    form.FCenterX = 12;
    ForgetDetail(rig);
    step.action();
    EXPECT_EQ(form.FZoom, step.to) << step.from;
    EXPECT_EQ(form.FCenterX, 12);
    EXPECT_TRUE(DetailRedrawn(rig));
  }
}

TEST(MapFormNavigation, SixteenZoomOutsReachSixteenAfterFifteen) {
  FormRig rig;
  TMapForm& form = rig.Start();
  for (int i = 1; i <= 16; ++i) {
    form.btnZoomOutClick();
    EXPECT_EQ(form.FZoom, std::min(i + 1, 16));
  }
}

TEST(MapChoice, WithoutMapsTwoToFourTheListStaysHiddenAndEmpty) {
  FormRig rig;
  rig.Start();
  EXPECT_FALSE(rig.cbChooseMap.visible);
  EXPECT_TRUE(rig.cbChooseMap.items.empty());
}

TEST(MapChoice, AChoiceStoresTheMapAndResetsTheViewButNotTheEditFields) {
  struct Case {
    std::vector<std::string> items;
    int selected;
    uint16_t before;
    std::string stored;
  } cases[] = {
      {{"Map0.mul", "Map2.mul"}, 0, 0, "0"},
      // Map 2 is not loaded: stored as chosen, shown as map 0.
      {{"Map0.mul", "Map2.mul"}, 1, 0, "2"},
      {{"Map0.mul", "Map4.mul"}, 1, 0, "4"},
      // No selection (text typed into the field): the number stays.
      {{"Map0.mul", "Map3.mul"}, -1, 3, "3"},
      {{"map3.mul"}, 0, 4, "4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
    FormRig rig;
    TMapForm& form = rig.Start();
    rig.cbChooseMap.items = c.items;
    rig.cbChooseMap.itemIndex = c.selected;
    form.FMapIndex = c.before;
    form.FZoom = 5;
    form.FCenterX = 1600;
    form.FCenterY = 800;
    form.FCenterZ = 4;
    rig.eX.text = "1600";
    rig.eY.text = "800";
    rig.mapImage.bitmap.SetDimensions(1, 1);
    ForgetDetail(rig);
    form.cbChooseMapChange();
    EXPECT_EQ(rig.ConfigText(), "<configuration>\r\n<config key=\"CurrentMap\" value=\"" + c.stored +
                                    "\" />\r\n</configuration>\r\n");
    EXPECT_EQ(form.FMapIndex, 0);  // nothing but map 0 can be shown here
    EXPECT_EQ(form.FZoom, 1);
    EXPECT_EQ(form.FCenterX, 0);
    EXPECT_EQ(form.FCenterY, 0);
    EXPECT_EQ(form.FCenterZ, 0);
    EXPECT_EQ(rig.eX.text, "1600");
    EXPECT_EQ(rig.eY.text, "800");
    EXPECT_EQ(rig.mapImage.bitmap.Width(), 384);
    EXPECT_TRUE(DetailRedrawn(rig));
  }
}

TEST(MapFormMenu, AboutNamesProgramVersionLicenceAndFolderAndChangesNothing) {
  FormRig rig;
  rig.Start();
  rig.dir.Write("locations.txt", "Haus=1,2,3 0\r\n");
  const std::string config = rig.ConfigText();
  ASSERT_EQ(rig.menu.Only({cmAbout}), (std::vector<std::pair<int, std::string>>{{cmAbout, "About Wayfarer..."}}));

  rig.form->SystemCommand(cmAbout);
  ASSERT_EQ(rig.informations().size(), 1u);
  EXPECT_EQ(rig.informations()[0].caption, "About Wayfarer");
  EXPECT_EQ(rig.informations()[0].text,
            "Wayfarer 2.7.1\nFree software under the MIT licence (LICENSE.txt): use, copy and change it freely; it "
            "comes without warranty.\n\nYour settings and places are kept in:\n" +
                rig.dir.File(""));
  EXPECT_TRUE(rig.boxes.boxes.empty());
  EXPECT_EQ(rig.ConfigText(), config);
  EXPECT_EQ(rig.PlacesText(), "Haus=1,2,3 0\r\n");
}

}  // namespace
}  // namespace wf::ui
