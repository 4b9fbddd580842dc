// The window over small generated worlds: one block column per map on disk,
// single cells patched in wherever a test needs them.

#include <gtest/gtest.h>

#include <filesystem>

#include "FormRig.h"
#include "TestWorld.h"
#include "mapdata/MapTable.h"

namespace wf::ui {
namespace {

using testing::FormRig;
using wf::testing::EntryOfColor;
using wf::testing::TTestWorld;
using Strings = std::vector<std::string>;

constexpr platform::IClientWindows::Handle kClient = 7;

// The tile of each map's cells (0, 0) and (1, 1), so the first pixels of its
// pictures tell the maps apart.
uint16_t CornerTile(int map) { return static_cast<uint16_t>(100 + map); }

std::unique_ptr<TTestWorld> WorldWith(std::initializer_list<int> maps) {
  auto world = std::make_unique<TTestWorld>();
  for (int map : maps) {
    worldgen::TMapContents contents(1, MapSizeOf(map).BlocksHigh);
    contents.SetTile(0, 0, CornerTile(map));
    contents.SetTile(1, 1, CornerTile(map));  // the detail view leaves row and column 0 out
    world->AddMap(map, contents);
  }
  return world;
}

// The map whose overview the overview pane shows, by its corner tile; -1 for none.
int ShownMap(FormRig& rig) {
  const TBitmap32& pane = rig.mapImage.bitmap;
  if (pane.Width() != OverviewWidth) return -1;
  for (int map : {0, 1, 2, 3, 4, 5})
    if (EntryOfColor(pane.Pixel(0, 0)) == CornerTile(map)) return map;
  return -1;
}

std::string StoredMap(FormRig& rig) {
  std::string text = rig.ConfigText();
  size_t at = text.find("key=\"CurrentMap\" value=\"");
  if (at == std::string::npos) return "absent";
  at += 24;
  return text.substr(at, text.find('"', at) - at);
}

TEST(MapFormWorld, ShowingDrawsTheStoredMapOrMapZeroAndStoresWhatItShows) {
  auto world = WorldWith({0, 2, 3});
  std::filesystem::remove(world->PathOf("map2"));  // chosen last time, gone now
  struct Case {
    std::optional<std::string> stored;
    int shown;
  } cases[] = {{"3", 3}, {"65539", 3}, {"2", 0}, {"4", 0}, {"1", 0}, {"-1", 0}, {std::nullopt, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.value_or("absent"));
    FormRig rig(&world->Config());
    if (c.stored) rig.config->AddPair("CurrentMap", *c.stored);
    TMapForm& form = rig.Start();
    const std::string label = c.stored.value_or("absent");
    EXPECT_EQ(form.FMapIndex, c.shown) << label;
    EXPECT_EQ(ShownMap(rig), c.shown) << label;
    EXPECT_EQ(StoredMap(rig), std::to_string(c.shown)) << label;
    const TBitmap32* overview = form.ActiveMap().GetOverview();
    ASSERT_NE(overview, nullptr);
    EXPECT_TRUE(std::equal(overview->Bits(), overview->Bits() + OverviewWidth * OverviewHeight,
                           rig.mapImage.bitmap.Bits()))
        << label;
  }
}

TEST(MapFormWorld, TheChoiceListOffersMapZeroAndEachLoadedMapInNumberOrderOnceAnyOtherIsLoaded) {
  const int numbers[] = {0, 1, 2, 3, 4, 5};
  for (int mask = 0; mask < 64; ++mask) {
    auto world = std::make_unique<TTestWorld>();
    Strings expected;
    for (int bit = 0; bit < 6; ++bit) {
      if (!(mask & (1 << bit))) continue;
      world->AddMap(numbers[bit], worldgen::TMapContents(1, MapSizeOf(numbers[bit]).BlocksHigh));
      if (bit > 0) expected.push_back("Map" + std::to_string(numbers[bit]) + ".mul");
    }
    if (!expected.empty()) expected.insert(expected.begin(), "Map0.mul");
    FormRig rig(&world->Config());
    rig.Start();
    EXPECT_EQ(rig.cbChooseMap.items, expected) << mask;
    EXPECT_EQ(rig.cbChooseMap.visible, !expected.empty()) << mask;
    EXPECT_EQ(rig.cbChooseMap.itemIndex, -1) << mask;
  }
}

TEST(MapFormWorld, ChoosingAMapShowsItFromItsCornerAndStoresItAtOnce) {
  auto world = WorldWith({0, 2});
  FormRig rig(&world->Config());
  rig.client.Windows["Ultima Online"] = kClient;
  TMapForm& form = rig.Start();
  int round = 0;
  for (int choice : {1, 1, 0}) {
    SCOPED_TRACE(::testing::Message() << "choice " << choice << " in round " << ++round);
    form.FZoom = 5;
    form.MapImageMouseDown(TMouseButton::Left, 100, 50);
    rig.cbChooseMap.itemIndex = choice;
    form.cbChooseMapChange();
    const int map = choice == 1 ? 2 : 0;
    EXPECT_EQ(form.FMapIndex, map);
    EXPECT_EQ(ShownMap(rig), map);
    EXPECT_EQ(StoredMap(rig), std::to_string(map));
    EXPECT_EQ(form.FZoom, 1);
    EXPECT_EQ(EntryOfColor(rig.zoomMap.bitmap.Pixel(51, 51)), CornerTile(map));
    EXPECT_NE(rig.eX.text, "0");  // still the clicked cell's
    form.btnGoClick();
  }
  EXPECT_EQ(rig.client.Received(kClient), "\rGoSelf 0 0 0 2\r\rGoSelf 0 0 0 2\r\rGoSelf 0 0 0 0\r");
}

TEST(MapFormWorld, OverviewPixelsBecomeTheCellsTheyShow) {
  for (int map : {0, 2, 3, 4}) {
    SCOPED_TRACE(map);
    auto world = WorldWith({0, map});
    FormRig rig(&world->Config());
    rig.config->AddPair("CurrentMap", std::to_string(map));
    TMapForm& form = rig.Start();
    ASSERT_EQ(form.FMapIndex, map);
    const TMapSize size = MapSizeOf(map);
    for (int x = 0; x < OverviewWidth; ++x)
      ASSERT_EQ(form.OverviewToMapX(x), x * size.BlocksWide * 8 / OverviewWidth) << map << " x " << x;
    for (int y = 0; y < OverviewHeight; ++y)
      ASSERT_EQ(form.OverviewToMapY(y), y * size.BlocksHigh * 8 / OverviewHeight) << map << " y " << y;
  }
  auto world = WorldWith({0, 4});
  FormRig rig(&world->Config());
  rig.config->AddPair("CurrentMap", "4");
  TMapForm& form = rig.Start();
  form.MapImageMouseDown(TMouseButton::Left, 383, 255);
  EXPECT_EQ(form.FCenterX, 1444);
  EXPECT_EQ(form.FCenterY, 1442);
}

TEST(MapFormWorld, OverviewPressesCentreOnOrTravelToTheClickedCellWithItsAltitude) {
  auto world = WorldWith({0});
  world->PatchCell(0, 1600, 800, {7, 5});
  world->PatchCell(0, 16, 16, {7, -5});
  FormRig rig(&world->Config());
  rig.client.Windows["Ultima Online"] = kClient;
  TMapForm& form = rig.Start();
  form.FZoom = 3;
  rig.zoomMap.bitmap.SetDimensions(1, 1);
  for (int press = 0; press < 2; ++press) {  // a double-click ends where one click does
    form.MapImageMouseDown(TMouseButton::Left, 100, 50);
    EXPECT_EQ(form.FCenterX, 1600);
    EXPECT_EQ(form.FCenterY, 800);
    EXPECT_EQ(form.FCenterZ, 5);
    EXPECT_EQ((Strings{rig.eX.text, rig.eY.text, rig.eZ.text}), (Strings{"1600", "800", "5"}));
  }
  EXPECT_EQ(form.FZoom, 3);
  EXPECT_EQ(rig.zoomMap.bitmap.Width(), DetailSize);

  form.MapImageMouseDown(TMouseButton::Middle, 1, 1);
  EXPECT_EQ((Strings{rig.eX.text, rig.eY.text, rig.eZ.text}), (Strings{"16", "16", "-5"}));

  rig.zoomMap.bitmap.SetDimensions(1, 1);
  form.MapImageMouseDown(TMouseButton::Right, 100, 50);
  EXPECT_EQ(rig.client.Received(kClient), "\rGoSelf 1600 800 5 0\r");
  EXPECT_EQ(form.FCenterX, 16);
  EXPECT_EQ(rig.eX.text, "16");
  EXPECT_EQ(rig.zoomMap.bitmap.Width(), DetailSize);

  // A detail press on the pane's middle keeps the centre and looks its altitude up again.
  form.FCenterX = 1600;
  form.FCenterY = 800;
  form.FCenterZ = 0;
  form.ZoomMapMouseDown(TMouseButton::Left, 50, 50);
  EXPECT_EQ(form.FCenterZ, 5);
}

TEST(MapFormWorld, TheDetailPaneIsTheMapsPictureUnderTheMarker) {
  auto world = WorldWith({0});
  for (int i = 0; i < 40; ++i) world->PatchCell(0, 990 + i, 1000 + (i * 7) % 40, {static_cast<uint16_t>(i + 1), 0});
  FormRig rig(&world->Config());
  TMapForm& form = rig.Start();
  form.FCenterX = 1000;
  form.FCenterY = 1010;
  form.FZoom = 2;
  form.DrawDetail();
  std::unique_ptr<TBitmap32> picture = rig.maps->First().RenderDetail(1000, 1010, 2);
  ASSERT_NE(picture, nullptr);
  const TBitmap32& pane = rig.zoomMap.bitmap;
  int differing = 0;
  for (int y = 0; y < DetailSize; ++y) {
    for (int x = 0; x < DetailSize; ++x) {
      const bool marker = (y == 49 && x >= 29 && x < 70 && x != 49) || (x == 49 && y >= 29 && y < 70 && y != 49);
      ASSERT_EQ(pane.Pixel(x, y), marker ? 0xFF000000 : picture->Pixel(x, y)) << x << "," << y;
      differing += picture->Pixel(x, y) != picture->Pixel(0, 0);
    }
  }
  EXPECT_GT(differing, 0) << "the picture should not be one colour";
}

TEST(MapFormWorld, APlaceOnAnotherLoadedMapSwitchesToItAndOneOnTheSameMapKeepsTheZoom) {
  auto world = WorldWith({0, 2});
  FormRig rig(&world->Config());
  rig.dir.Write("locations.txt", "Hier=1,2,3 0\r\nDort=10,20,5 2\r\n");
  TMapForm& form = rig.Start();
  form.FZoom = 5;
  rig.cbTravel.itemIndex = 1;  // Hier
  form.cbTravelChange();
  EXPECT_EQ(form.FZoom, 5);
  EXPECT_EQ(ShownMap(rig), 0);
  rig.cbTravel.itemIndex = 0;  // Dort
  form.cbTravelChange();
  EXPECT_EQ(form.FMapIndex, 2);
  EXPECT_EQ(ShownMap(rig), 2);
  EXPECT_EQ(StoredMap(rig), "2");
  EXPECT_EQ(form.FZoom, 1);
  EXPECT_EQ(form.FCenterX, 10);
  EXPECT_EQ(form.FCenterY, 20);
  EXPECT_EQ(form.FCenterZ, 5);
}

TEST(MapFormWorld, AFailedSaveLeavesThePictureAndTheMapNumberTogether) {
  auto world = WorldWith({0, 2});
  struct Case {
    const char* name;
    void (*choose)(FormRig&, TMapForm&);
  } cases[] = {
      {"map chosen in the list",
       [](FormRig& rig, TMapForm& form) {
         rig.cbChooseMap.itemIndex = 1;
         form.cbChooseMapChange();
       }},
      {"place on another map",
       [](FormRig& rig, TMapForm& form) {
         rig.cbTravel.itemIndex = 0;
         form.cbTravelChange();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig rig(&world->Config());
    rig.withConfigFile = false;  // every save fails
    rig.client.Windows["Ultima Online"] = kClient;
    rig.dir.Write("locations.txt", "Dort=600,625,0 2\r\n");
    TMapForm& form = rig.MakeForm();
    form.FormCreate();
    EXPECT_THROW(form.FormShow(), EInOutError);
    EXPECT_THROW(c.choose(rig, form), EInOutError);
    EXPECT_EQ(form.FMapIndex, 2);
    EXPECT_EQ(ShownMap(rig), 2);
    EXPECT_EQ(form.FZoom, 1);
    rig.client.Sends.clear();
    form.ZoomMapMouseDown(TMouseButton::Right, 50, 50);
    const std::string sent = rig.client.Received(kClient);
    EXPECT_EQ(sent.substr(sent.size() - 3), " 2\r") << sent;
  }
}

TEST(MapFormWorld, OverviewPressesReachTheEasternCellsOfTodaysWiderMapZero) {
  struct Case {
    const char* name;
    bool wide;  // the map cell file reaches the last cell of a 7168-wide map
    int32_t x;  // the cell under overview column 383
  };
  const Case cases[] = {{"the older width", false, 6128}, {"today's width", true, 7149}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto world = WorldWith({0});
    if (c.wide) world->PatchCell(0, 7167, 4095, {5, 0});
    FormRig rig(&world->Config());
    TMapForm& form = rig.Start();
    form.MapImageMouseDown(TMouseButton::Left, 383, 10);
    EXPECT_EQ(form.FCenterX, c.x);
    EXPECT_EQ(rig.eX.text, std::to_string(c.x));
  }
}

TEST(MapFormWorld, PlacesOnMapsOneAndFiveShowThemWhenLoadedAndMapZeroOtherwise) {
  struct Case {
    std::initializer_list<int> loaded;
    const char* place;
    int shown;
  };
  const Case cases[] = {
      {{0, 1, 5}, "Trammel=10,20,5 1", 1},
      {{0, 1, 5}, "Ter Mur=10,20,5 5", 5},
      {{0, 5}, "Trammel=10,20,5 1", 0},
      {{0, 1}, "Ter Mur=10,20,5 5", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.place);
    auto world = WorldWith(c.loaded);
    FormRig rig(&world->Config());
    rig.dir.Write("locations.txt", std::string(c.place) + "\r\n");
    TMapForm& form = rig.Start();
    rig.cbTravel.itemIndex = 0;
    form.cbTravelChange();
    EXPECT_EQ(form.FMapIndex, c.shown);
    EXPECT_EQ(ShownMap(rig), c.shown);
  }
}

}  // namespace
}  // namespace wf::ui
