// The atlas's logic beside the map window's, over small generated worlds: its
// settings, status text, mouse and keys, and how it follows the map window.
// Map 4 (1448 x 1448) in a 320 x 200 picture fits at 1:8, origin (-70, -10).

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "FormRig.h"
#include "TestWorld.h"
#include "atlas/AtlasPicture.h"
#include "mapdata/MapTable.h"
#include "ui/AtlasForm.h"
#include "ui/MenuCommands.h"

namespace wf::ui {
namespace {

using testing::FormRig;
using wf::testing::TTestWorld;

// A 320 x 200 picture; a press is a click while it stays within 4 pixels.
class FakeAtlasWindow : public IAtlasWindow {
 public:
  void Open(const std::optional<TWindowPlacement>& at) override {
    openedAt = at;
    if (!std::exchange(open, true)) form->Resize(320, 200);
  }
  bool IsOpen() const override { return open; }
  TWindowPlacement Placement() const override { return placement; }
  void Redraw() override {}
  void SetStatusText(const std::string& text) override { status = text; }
  TDragDistance DragDistance() const override { return {4, 4}; }
  void Close() { form->Closing(), open = false; }

  TAtlasForm* form = nullptr;
  bool open = false;
  std::optional<TWindowPlacement> openedAt;
  TWindowPlacement placement{10, 20, 500, 400, false};
  std::string status;
};

constexpr TColor32 kMapColour = 0xFF123456;

class FakePicture : public atlas::IAtlasPicture {
 public:
  void SetMap(const TMap* map) override { maps.push_back(map); }
  bool Compose(const atlas::TAtlasFrame& frame, TColor32* pixels) override {
    std::fill(pixels, pixels + frame.Width * frame.Height, kMapColour);
    return true;
  }
  std::vector<const TMap*> maps;  // every SetMap, in order
};

// One block column of each map (the rest reads as tile 0 at altitude 0).
std::unique_ptr<TTestWorld> World() {
  auto world = std::make_unique<TTestWorld>();
  for (int map : {0, 4}) {
    worldgen::TMapContents contents(1, MapSizeOf(map).BlocksHigh);
    contents.SetAltitude(4, 724, 17);
    world->AddMap(map, contents);
  }
  return world;
}

struct AtlasRig {
  explicit AtlasRig(TTestWorld& world, std::vector<TPair> settings = {}, int map = 4) : rig(&world.Config()) {
    rig.config->AddPair("CurrentMap", std::to_string(map));
    for (const TPair& pair : settings) rig.config->AddPair(pair.Key, pair.Value);
    form = &rig.MakeForm();
    atlas = std::make_unique<TAtlasForm>(window, *form, *rig.config, picture);
    window.form = atlas.get();
    form->AttachAtlas(atlas.get());
    form->FormCreate();
    form->FormShow();
    atlas->Start();
  }
  std::string Setting(const std::string& key) const {
    const TPair* pair = rig.config->FindPair(key);
    return pair ? pair->Value : "absent";
  }
  const atlas::TAtlasFrame& Frame() const { return atlas->Frame(); }

  FormRig rig;
  TMapForm* form;
  FakeAtlasWindow window;
  FakePicture picture;
  std::unique_ptr<TAtlasForm> atlas;
};

TEST(AtlasForm, OpensFromTheMenuFittedKeepsItsSettingsFromTheFirstOpeningAndComesBackWhereItWas) {
  auto world = World();
  AtlasRig first(*world);
  EXPECT_EQ(first.rig.menu.Only({cmAtlas}), (std::vector<std::pair<int, std::string>>{{cmAtlas, "Atlas"}}));
  EXPECT_FALSE(first.window.open);
  EXPECT_EQ(first.rig.ConfigText().find("atlas"), std::string::npos) << "nothing before the atlas opens";

  first.form->SystemCommand(cmAtlas);
  ASSERT_TRUE(first.window.open);
  EXPECT_EQ(first.window.openedAt, std::nullopt) << "where new windows go";
  EXPECT_EQ(first.Frame().Scale, 2);
  EXPECT_EQ(first.Frame().OriginX, -70);
  EXPECT_EQ(first.Frame().OriginY, -10);
  ASSERT_EQ(first.picture.maps.size(), 1u);
  EXPECT_EQ(first.picture.maps[0], first.rig.maps->Find(4));
  EXPECT_NE(first.rig.ConfigText().find("key=\"atlas\" value=\"1\""), std::string::npos) << "written at once";

  first.atlas->Key(TAtlasKey::ZoomIn);
  first.window.placement = {30, 40, 900, 700, true};
  first.window.Close();
  EXPECT_EQ(first.picture.maps.back(), nullptr) << "a closed atlas reads no map";
  EXPECT_EQ(first.Setting("atlas"), "0");
  EXPECT_EQ(first.Setting("atlasplacement"), "30,40,900,700,maximized");
  EXPECT_EQ(first.Setting("atlasscale"), "1:4");
  EXPECT_EQ(first.Setting("atlascenter"), "726,726");
  first.form->SystemCommand(cmAtlas);
  EXPECT_EQ(first.window.openedAt, (TWindowPlacement{30, 40, 900, 700, true}));
  EXPECT_EQ(first.Frame().Scale, 3) << "the view as it was left";
  first.atlas->Shutdown();
  EXPECT_EQ(first.Setting("atlas"), "1") << "open at the end";

  AtlasRig next(*world, {{"atlas", "1"}, {"atlasplacement", "1,2,300,400"}, {"atlasscale", "2:1"},
                         {"atlascenter", "100,200"}});
  ASSERT_TRUE(next.window.open);
  EXPECT_EQ(next.window.openedAt, (TWindowPlacement{1, 2, 300, 400, false}));
  EXPECT_EQ(next.Frame().Scale, 6);
  EXPECT_EQ(atlas::CentreCell(next.Frame()), (atlas::TCellPoint{100, 200}));
}

TEST(AtlasForm, SettingsItCannotReadAreIgnored) {
  auto world = World();
  const std::vector<TPair> cases[] = {
      {{"atlas", "1"}, {"atlasscale", "1:3"}, {"atlascenter", "100,200"}},
      {{"atlas", "1"}, {"atlasscale", "2:1"}, {"atlascenter", "100;200"}},
      {{"atlas", "1"}, {"atlasscale", "2:1"}, {"atlascenter", "x,200"}},
      {{"atlas", "1"}, {"atlasplacement", "1,2,3"}},
      {{"atlas", "1"}, {"atlasplacement", "1,2,3,4,minimized"}},
      {{"atlas", "1"}, {"atlasplacement", "300,2,100,400"}},
      {{"atlas", "1"}, {"atlasplacement", "1,2,300,99999999999"}},
      {{"atlas", "1"}, {"atlasplacement", "1,2,300,400 "}},
  };
  for (const auto& settings : cases) {
    SCOPED_TRACE(settings.back().Key + "=" + settings.back().Value);
    AtlasRig rig(*world, settings);
    ASSERT_TRUE(rig.window.open);
    EXPECT_EQ(rig.window.openedAt, std::nullopt);
    EXPECT_EQ(rig.Frame().Scale, 2) << "the whole map, as without the settings";
  }
  AtlasRig closed(*world, {{"atlas", "0"}});
  EXPECT_FALSE(closed.window.open);
}

TEST(AtlasForm, TheStatusNamesTheCellUnderThePointerElseTheMiddleOne) {
  auto world = World();
  const std::string middle4 = "X: 724  Y: 724  Z: 0  79\xB0" "6'N 42\xB0" "7'W  1:8  Tokuno";
  struct Case {
    int map;
    std::optional<std::pair<int, int>> pointer;
    std::string status;
  } cases[] = {
      {4, std::nullopt, middle4},
      {4, std::pair{70, 100}, "X: 4  Y: 724  Z: 17  79\xB0" "6'N 92\xB0" "44'W  1:8  Tokuno"},
      {4, std::pair{10, 10}, middle4},                                  // off the map
      {0, std::pair{234, 46}, "X: 5456  Y: 336  Z: 0  1:32  Felucca"},  // no sextant there
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    AtlasRig rig(*world, {{"atlas", "1"}}, c.map);
    if (c.pointer) rig.atlas->MouseMove(c.pointer->first, c.pointer->second);
    EXPECT_EQ(rig.window.status, c.status);
    rig.atlas->MouseLeave();
    EXPECT_EQ(rig.window.status.substr(0, 17), c.map == 4 ? middle4.substr(0, 17) : "X: 3088  Y: 2064 ");
  }
}

TEST(AtlasForm, TheMouseAndTheKeysMoveTheViewAndAClickCentresTheMapWindowsDetailView) {
  auto world = World();
  struct Case {
    const char* name;
    std::function<void(TAtlasForm&)> steps;
    int scale;
    int64_t originX, originY;
    int centreX = 0, centreY = 0;  // of the map window's detail view, untouched by most
  } cases[] = {
      {"click", [](TAtlasForm& a) { a.LeftDown(100, 100), a.LeftUp(103, 96); }, 2, -70, -10, 268, 692},
      {"drag", [](TAtlasForm& a) { a.LeftDown(100, 100), a.MouseMove(105, 100), a.LeftUp(105, 100); }, 2, -75, -10},
      {"out and back", [](TAtlasForm& a) { a.LeftDown(100, 100), a.MouseMove(150, 9), a.LeftUp(100, 100); }, 2, -70, -10},
      {"click off the map", [](TAtlasForm& a) { a.LeftDown(10, 10), a.LeftUp(10, 10); }, 2, -70, -10},
      {"press lost", [](TAtlasForm& a) { a.LeftDown(100, 100), a.PressLost(), a.LeftUp(100, 100); }, 2, -70, -10},
      {"a notch in parts", [](TAtlasForm& a) { a.Wheel(40, 70, 100), a.Wheel(40, 70, 100), a.Wheel(40, 70, 100); },
       3, -69, 81},
      {"short of a notch", [](TAtlasForm& a) { a.Wheel(119, 70, 100); }, 2, -70, -10},
      {"a notch back", [](TAtlasForm& a) { a.Wheel(-120, 160, 100); }, 1, -115, -55},
      {"wheel over another window", [](TAtlasForm& a) { a.Wheel(-120, -5, 900); }, 1, -115, -55},
      {"sideways", [](TAtlasForm& a) { a.HorizontalWheel(60), a.HorizontalWheel(60); }, 2, -30, -10},
      {"right", [](TAtlasForm& a) { a.Key(TAtlasKey::PanRight); }, 2, -30, -10},
      {"down", [](TAtlasForm& a) { a.Key(TAtlasKey::PanDown); }, 2, -70, 15},
      {"far left", [](TAtlasForm& a) { for (int i = 0; i < 20; ++i) a.Key(TAtlasKey::PanLeft); }, 2, -160, -10},
      {"zoom in", [](TAtlasForm& a) { a.Key(TAtlasKey::ZoomIn); }, 3, 21, 81},
      {"home", [](TAtlasForm& a) { a.Key(TAtlasKey::Home); }, 2, -160, -100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AtlasRig rig(*world, {{"atlas", "1"}});
    c.steps(*rig.atlas);
    EXPECT_EQ(rig.Frame().Scale, c.scale);
    EXPECT_EQ(rig.Frame().OriginX, c.originX);
    EXPECT_EQ(rig.Frame().OriginY, c.originY);
    EXPECT_EQ(rig.form->FCenterX, c.centreX);
    EXPECT_EQ(rig.form->FCenterY, c.centreY);
    EXPECT_EQ(rig.rig.eX.text, std::to_string(c.centreX)) << "as a press on the overview";
  }
}

TEST(AtlasForm, FollowsTheMapWindowsMapAndBringsItsDetailViewIntoSight) {
  auto world = World();
  AtlasRig rig(*world, {{"atlas", "1"}});
  for (int i = 0; i < 4; ++i) rig.atlas->Key(TAtlasKey::ZoomIn);  // 2:1 round the middle
  const atlas::TAtlasFrame close = rig.Frame();
  rig.form->CentreOn(700, 720);  // in sight
  EXPECT_EQ(rig.Frame().OriginX, close.OriginX);
  rig.form->CentreOn(100, 1300);
  EXPECT_EQ(atlas::CentreCell(rig.Frame()), (atlas::TCellPoint{100, 1300}));
  EXPECT_EQ(rig.Frame().Scale, 6);

  rig.rig.cbChooseMap.SetItemIndex(0);  // Map0.mul
  rig.form->cbChooseMapChange();
  EXPECT_EQ(rig.picture.maps.back(), rig.rig.maps->Find(0));
  EXPECT_EQ(rig.Frame().Scale, 0) << "the whole of the other map";
  EXPECT_NE(rig.window.status.find("Felucca"), std::string::npos);
}

TEST(AtlasForm, TheDetailAreaIsFramedJustOutsideItsCells) {
  auto world = World();
  AtlasRig rig(*world, {{"atlas", "1"}});
  rig.form->CentreOn(724, 724);
  std::vector<TColor32> pixels(320 * 200);
  rig.atlas->Paint(pixels.data());
  // Cells 674 to 773 at 1:8 are pixels 154 to 166 across and 94 to 106 down.
  const auto at = [&](int x, int y) { return pixels[y * 320 + x]; };
  const TColor32 expected[] = {kMapColour, 0xFF000000, 0xFFFFFFFF, kMapColour, kMapColour, 0xFFFFFFFF, 0xFF000000, kMapColour};
  const int across[] = {151, 152, 153, 154, 166, 167, 168, 169};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(across[i]);
    EXPECT_EQ(at(across[i], 100), expected[i]);
    EXPECT_EQ(at(160, across[i] - 60), expected[i]);
  }
}

}  // namespace
}  // namespace wf::ui
