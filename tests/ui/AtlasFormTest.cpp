// The atlas's logic beside the map window's, over small generated worlds: its
// settings, status text, mouse and keys, and how it follows the map window.
// Map 4 (1448 x 1448) in a 320 x 200 picture fits at 1:8, origin (-70, -10).

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <utility>

#include "FormRig.h"
#include "TestWorld.h"
#include "atlas/AtlasPicture.h"
#include "common/Errors.h"
#include "places/Sextant.h"
#include "mapdata/MapTable.h"
#include "ui/AtlasForm.h"
#include "ui/MenuCommands.h"

namespace wf::ui {
namespace {

using testing::FormRig;
using wf::testing::TTestWorld;

// A 320 x 200 picture; a press is a click while it stays within 4 pixels.
// Names are 6 pixels a letter and 12 high; the boxes answer from queues.
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
  atlas::TLabelSize LabelSize(const std::string& text) override {
    return {static_cast<int32_t>(6 * text.size()), 12};
  }
  void ShowOptions(const TAtlasOptions& shown) override { options = shown; }
  std::optional<std::string> AskGoTo(const std::string& previous) override {
    previousGoTo = previous;
    return Next(goTo);
  }
  std::optional<int> ChooseOne(const std::string& caption, const std::string&,
                               const std::vector<std::string>& items) override {
    offered.push_back(caption + ": " + Joined(items));
    return Next(choices);
  }
  void Close() { form->Closing(), open = false; }

  template <typename T>
  static std::optional<T> Next(std::deque<std::optional<T>>& queue) {
    if (queue.empty()) return std::nullopt;
    std::optional<T> next = queue.front();
    queue.pop_front();
    return next;
  }
  static std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
  }

  TAtlasForm* form = nullptr;
  bool open = false;
  std::optional<TWindowPlacement> openedAt;
  TWindowPlacement placement{10, 20, 500, 400, false};
  std::string status;
  TAtlasOptions options;
  std::deque<std::optional<std::string>> goTo;  // nothing: Cancel
  std::string previousGoTo;
  std::deque<std::optional<int>> choices;
  std::vector<std::string> offered;  // every list shown, as "caption: items"
};

constexpr TColor32 kMapColour = 0xFF123456;

class FakePicture : public atlas::IAtlasPicture {
 public:
  // Until SetMap returns, a worker may still read the map shown before.
  void SetMap(const TMap* map) override {
    if (!maps.empty() && maps.back()) maps.back()->GetAltitude(4, 724);
    maps.push_back(map);
  }
  bool Compose(const atlas::TAtlasFrame& frame, TColor32* pixels, const atlas::TBandDone& bandDone) override {
    std::fill(pixels, pixels + frame.Width * frame.Height, kMapColour);
    if (bandDone) bandDone(0, frame.Height);
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
  explicit AtlasRig(TTestWorld& world, std::vector<TPair> settings = {}, int map = 4, const std::string& places = "")
      : rig(&world.Config()) {
    rig.registry = &registry;
    rig.folders = &folders;
    if (!places.empty()) rig.dir.Write("locations.txt", places);
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
  // The picture as painted now, pixel (x, y) of 320 x 200.
  TColor32 Painted(int64_t x, int64_t y) {
    pixels.resize(320 * 200);
    atlas->Paint(pixels.data());
    return pixels[static_cast<size_t>(y * 320 + x)];
  }

  testing::FakeRegistry registry;
  testing::FakeFolderDialog folders;
  FormRig rig;
  TMapForm* form;
  FakeAtlasWindow window;
  FakePicture picture;
  std::unique_ptr<TAtlasForm> atlas;
  std::vector<TColor32> pixels;
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
  const std::string middle4 = "X: 724  Y: 724  Z: 0  79\xC2\xB0" "6'N 42\xC2\xB0" "7'W  1:8  Tokuno";
  struct Case {
    int map;
    std::optional<std::pair<int, int>> pointer;
    std::string status;
  } cases[] = {
      {4, std::nullopt, middle4},
      {4, std::pair{70, 100}, "X: 4  Y: 724  Z: 17  79\xC2\xB0" "6'N 92\xC2\xB0" "44'W  1:8  Tokuno"},
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

// Cells 4, 724 and 724, 724 lie under pixels (70, 100) and (160, 100) at 1:8.
const std::string kPlaces =
    "Turm=100,120,0 4\r\nHaus=300,400,0 4\r\nHaus\xE4=310,410,0 4\r\nHafen=40,50,0 0\r\nEcke=4,724,17 4\r\n";
constexpr TColor32 kPinHead = 0xFFE01010, kPlaceFill = 0xFFFFFF00, kPlayerCore = 0xFFFF0000;
constexpr platform::IClientWindows::Handle kClient = 7, kAssistant = 0x77;

TEST(AtlasForm, ItsMenuSettingsAreWrittenOnlyWhenChangedAndComeBackAtTheNextStart) {
  auto world = World();
  using K = TAtlasKey;
  const char* keys[] = {"atlasplaces", "atlasgrid", "atlasfollow", "atlasontop", "atlasopacity"};
  struct Case {
    const char* name;
    std::vector<TAtlasKey> pressed;
    TAtlasOptions options;
    std::vector<const char*> stored;  // the values of `keys`, nullptr for absent
  } cases[] = {
      {"nothing", {}, {}, {nullptr, nullptr, nullptr, nullptr, nullptr}},
      {"places off", {K::Places}, {.Places = false}, {"0", nullptr, nullptr, nullptr, nullptr}},
      {"places off and on", {K::Places, K::Places}, {}, {"1", nullptr, nullptr, nullptr, nullptr}},
      {"grid, follow, on top", {K::Grid, K::Follow, K::OnTop}, {.Grid = true, .Follow = true, .OnTop = true},
       {nullptr, "1", "1", "1", nullptr}},
      {"opacity", {K::Opacity70, K::Opacity55}, {.Opacity = 55}, {nullptr, nullptr, nullptr, nullptr, "55"}},
      {"the opacity it has", {K::Opacity100}, {}, {nullptr, nullptr, nullptr, nullptr, nullptr}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AtlasRig rig(*world, {{"atlas", "1"}});
    for (const TAtlasKey key : c.pressed) rig.atlas->Key(key);
    EXPECT_EQ(rig.window.options, c.options) << "shown in the menu and the window";
    std::vector<TPair> settings{{"atlas", "1"}};
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(rig.Setting(keys[i]), c.stored[i] ? c.stored[i] : "absent") << keys[i];
      if (c.stored[i]) settings.push_back({keys[i], c.stored[i]});
    }
    AtlasRig next(*world, settings);
    EXPECT_EQ(next.window.options, c.options) << "at the next start";
  }
  AtlasRig unreadable(*world, {{"atlas", "1"}, {"atlasopacity", "33"}, {"atlasplaces", "no"}});
  EXPECT_EQ(unreadable.window.options, TAtlasOptions{});
}

TEST(AtlasForm, GoToCentresOnANameACellOrASextantReadingWithAPinAndRefusesWhatItCannotRead) {
  auto world = World();
  struct Case {
    std::optional<std::string> typed;  // nothing: Cancel
    std::optional<int> choice;
    std::optional<atlas::TCellPoint> cell;  // nothing: the view stays
    std::string said;  // the list offered, or the message
    int map = 4;
  } cases[] = {
      {"100 200", {}, atlas::TCellPoint{100, 200}, ""},
      {places::SextantText(4, 700, 600), {}, atlas::TCellPoint{700, 600}, ""},
      {" turm ", {}, atlas::TCellPoint{100, 120}, ""},
      // The list is in UTF-8, the places file in the code page.
      {"haus", 1, atlas::TCellPoint{310, 410}, "Go to: Haus, Haus\xC3\xA4"},
      {"haus", std::nullopt, std::nullopt, "Go to: Haus, Haus\xC3\xA4"},
      {"HAFEN", {}, atlas::TCellPoint{40, 50}, "", 0},
      {std::nullopt, {}, std::nullopt, ""},
      {"1200", {}, std::nullopt, "Expected \"X Y\" or \"X, Y\" with X and Y from 0 to 65535."},
      {"2000 10", {}, std::nullopt, "2000, 10 is not on the map shown. Expected X from 0 to 1447 and Y from 0 to 1447."},
      {"Nirgends", {}, std::nullopt,
       "No place's name holds \"Nirgends\". Expected a place's name or part of it, \"X Y\" or a sextant reading."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.value_or("Cancel"));
    AtlasRig rig(*world, {{"atlas", "1"}}, 4, kPlaces);
    const std::string before = rig.window.status;
    rig.window.goTo = {c.typed};
    rig.window.choices = {c.choice};
    std::string said;
    try {
      rig.atlas->Key(TAtlasKey::GoTo);
    } catch (const Exception& e) {
      said = e.what();
    }
    for (const std::string& list : rig.window.offered) said += list;
    EXPECT_EQ(said, c.said);
    EXPECT_EQ(rig.form->FMapIndex, c.map);
    if (!c.cell) {
      EXPECT_EQ(rig.Frame().Scale, 2) << "nothing moves";
      EXPECT_EQ(rig.Frame().OriginX, -70);
      EXPECT_EQ(rig.window.status, before);
      continue;
    }
    EXPECT_EQ(rig.Frame().Scale, atlas::OneToOne) << "from the whole map to 1:1";
    EXPECT_EQ(atlas::CentreCell(rig.Frame()), *c.cell);
    EXPECT_EQ(rig.window.status.substr(0, 20).find("X: " + std::to_string(c.cell->X) + "  Y: " + std::to_string(c.cell->Y)), 0u);
    EXPECT_EQ(rig.Painted(160, 90), kPinHead) << "the pin's head over the cell";
    rig.atlas->Key(TAtlasKey::Clear);
    EXPECT_NE(rig.Painted(160, 90), kPinHead) << "Esc takes it away";
  }
}

TEST(AtlasForm, ARightClickTravelsAndNewPlaceHereAddsThePlaceAsNeuDoesShownAtOnce) {
  auto world = World();
  AtlasRig rig(*world, {{"atlas", "1"}, {"commandchar", "."}});
  rig.rig.client.Windows["Ultima Online"] = kClient;
  rig.atlas->RightDown(10, 10);  // off the map
  rig.atlas->RightDown(70, 100);
  EXPECT_EQ(rig.rig.client.Received(kClient), "\r.GoSelf 4 724 17 4\r");
  rig.rig.client.Windows.clear();
  rig.atlas->RightDown(70, 100);
  ASSERT_EQ(rig.rig.boxes.boxes.size(), 1u);
  EXPECT_EQ(rig.rig.boxes.boxes[0].caption, "UO Client not started");

  rig.rig.input.answers = {"Turm", "Turm", std::nullopt};
  rig.atlas->MouseMove(70, 100);
  rig.atlas->Key(TAtlasKey::NewPlace);
  rig.atlas->MouseLeave();
  rig.atlas->Key(TAtlasKey::NewPlace);  // at the middle cell
  rig.atlas->Key(TAtlasKey::NewPlace);  // Cancel
  EXPECT_EQ(rig.rig.input.calls.at(0).caption, "Neuer Ort");
  EXPECT_EQ(rig.rig.PlacesText(), "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\nTurm=4,724,17 4\r\nTurm1=724,724,0 4\r\n");
  EXPECT_EQ(rig.rig.eX.text + " " + rig.rig.eY.text + " " + rig.rig.eZ.text, "724 724 0");
  EXPECT_EQ(rig.Painted(70, 100), kPlaceFill);
  EXPECT_TRUE(rig.atlas->Names().empty()) << "no names at 1:8";
  rig.atlas->MouseMove(71, 99);
  EXPECT_EQ(rig.window.status.substr(rig.window.status.size() - 6), "  Turm") << "the place pointed at";
  rig.Painted(0, 0);
  ASSERT_EQ(rig.atlas->Names().size(), 1u);
  EXPECT_EQ(rig.atlas->Names()[0].Text, "Turm");

  rig.rig.cbTravel.SetItemIndex(0);
  rig.form->btnDeleteClick();
  EXPECT_NE(rig.Painted(70, 100), kPlaceFill) << "gone at once";
  rig.atlas->Key(TAtlasKey::Places);
  EXPECT_NE(rig.Painted(160, 100), kPlaceFill) << "places off";

  // The name box leaves the map window usable: another map chosen meanwhile
  // does not take the place along.
  rig.rig.input.answers = {"Tor"};
  rig.rig.input.onShow = [&] { rig.rig.cbChooseMap.SetItemIndex(0), rig.form->cbChooseMapChange(); };
  rig.atlas->MouseMove(70, 100);
  rig.atlas->Key(TAtlasKey::NewPlace);
  EXPECT_NE(rig.rig.PlacesText().find("\r\nTor=4,724,17 4\r\n"), std::string::npos) << rig.rig.PlacesText();
}

// What the atlas keeps is written together, at once when the desktop session
// ends, and all of it with the next write after one that was refused.
TEST(AtlasForm, ItsSettingsAreWrittenAtTheSessionsEndAndAllOfThemAfterARefusedWrite) {
  auto world = World();
  const auto written = [](const AtlasRig& rig, const std::vector<TPair>& settings) {
    const std::string text = rig.rig.ConfigText();
    for (const TPair& pair : settings)
      EXPECT_NE(text.find("key=\"" + pair.Key + "\" value=\"" + pair.Value + "\""), std::string::npos)
          << pair.Key << " in " << text;
  };
  AtlasRig ending(*world, {{"atlas", "1"}});
  ending.atlas->Key(TAtlasKey::ZoomIn);
  ending.window.placement = {30, 40, 900, 700, true};
  ending.form->SessionEnding();
  written(ending, {{"atlas", "1"}, {"atlasplacement", "30,40,900,700,maximized"}, {"atlasscale", "1:4"},
                   {"atlascenter", "726,726"}});

  AtlasRig refused(*world, {{"atlas", "1"}});
  refused.atlas->Key(TAtlasKey::ZoomIn);
  refused.window.placement = {30, 40, 900, 700, false};
  const std::string whole = refused.rig.ConfigText();
  refused.rig.dir.Write("configtravel.xml", whole.substr(0, whole.find("<config")) + "<!-- being edited");
  EXPECT_THROW(refused.atlas->Closing(), Exception);
  refused.window.open = false;
  refused.rig.dir.Write("configtravel.xml", whole);
  refused.form->SystemCommand(cmShowPlaces);
  written(refused, {{"atlas", "0"}, {"atlasplacement", "30,40,900,700"}, {"atlasscale", "1:4"},
                    {"atlascenter", "726,726"}, {"showplaces", "1"}});
}

TEST(AtlasForm, TheRulerMeasuresFromThePressUntilEscOrAClickAndThePlayerIsShownAndFollowed) {
  auto world = World();
  using Steps = std::function<void(TAtlasForm&)>;
  struct Case {
    const char* name;
    Steps after;
    bool measured;
  } cases[] = {
      {"released", [](TAtlasForm&) {}, true},
      {"dragged", [](TAtlasForm& a) { a.LeftDown(100, 100), a.MouseMove(110, 100), a.LeftUp(110, 100); }, true},
      {"clicked", [](TAtlasForm& a) { a.LeftDown(100, 100), a.LeftUp(100, 100); }, false},
      {"Esc", [](TAtlasForm& a) { a.Key(TAtlasKey::Clear); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AtlasRig rig(*world, {{"atlas", "1"}});
    rig.atlas->LeftDown(70, 100, true);
    rig.atlas->MouseMove(95, 100);
    rig.atlas->LeftUp(95, 100);
    c.after(*rig.atlas);
    EXPECT_EQ(rig.window.status.find("Distance: 200 tiles (200.0)  X: "), c.measured ? 0 : std::string::npos);
  }

  AtlasRig rig(*world, {{"atlas", "1"}});
  rig.rig.client.Assistant = kAssistant;
  rig.rig.client.SetPlayer(4, 724);
  rig.form->PlayerTimer(0);
  EXPECT_EQ(rig.Painted(70, 100), kPlayerCore);
  EXPECT_EQ(rig.Frame().OriginX, -70) << "not followed";
  rig.atlas->Key(TAtlasKey::Follow);
  EXPECT_EQ(rig.Frame().OriginX, -80) << "into the middle half";
  rig.rig.client.SetPlayer(1400, 1400);
  rig.form->PlayerTimer(0);
  EXPECT_EQ(rig.Frame().OriginX, -64) << "back to the middle half's edge";
  EXPECT_EQ(rig.Frame().OriginY, 26);
}

// A new game folder whose map 0 lacks its statics: "File not found" is shown
// while the maps are made anew, and what is handled under the box hands the
// atlas no map, which would be read once it is gone (the picture reads the map
// it showed until it gets the next).
TEST(AtlasForm, WhileTheMapsAreMadeAnewNothingHandsItAMap) {
  auto world = World();
  const std::pair<const char*, std::function<void(TMapForm&)>> meanwhile[] = {
      {"the assistant tells of a map change", [](TMapForm& f) { f.PlayerMapChanged(0); }},
      {"the player timer", [](TMapForm& f) { f.PlayerTimer(0); }},
  };
  for (const auto& [name, handled] : meanwhile) {
    SCOPED_TRACE(name);
    AtlasRig rig(*world, {{"atlas", "1"}});
    rig.rig.client.Assistant = kAssistant;
    rig.rig.client.SetPlayer(4, 724);
    rig.form->PlayerTimer(0);
    wf::testing::TempDir game;
    std::filesystem::copy_file(world->PathOf("radarcol"), game.File("radarcol.mul"));
    std::filesystem::copy_file(world->PathOf("map"), game.File("map0.mul"));
    rig.folders.answer = game.Path().string();
    rig.rig.client.SetPlayer(5, 724);  // for the timer to find a move
    rig.rig.boxes.onShow = [&, &handled = handled] { handled(*rig.form), rig.Painted(0, 0); };
    const size_t before = rig.picture.maps.size();
    rig.form->SystemCommand(cmGameFolder);
    ASSERT_EQ(rig.rig.boxes.boxes.size(), 1u);
    EXPECT_EQ(rig.rig.boxes.boxes[0].caption, "File not found");
    EXPECT_EQ(std::vector(rig.picture.maps.begin() + static_cast<std::ptrdiff_t>(before), rig.picture.maps.end()),
              std::vector<const TMap*>{nullptr});
  }
}

using namespace std::chrono_literals;

friends::FriendsSnapshot Heard(friends::LinkState state, std::vector<friends::Friend> friends) {
  return {1, state, "", std::move(friends)};
}

friends::Friend Friend(const char* id, const char* name, int x, int y, int map, TFriendsClock::time_point heard) {
  return {id, name, {x, y, std::nullopt, map}, heard};
}

const TFriendsClock::time_point kNow{10h};

TEST(AtlasForm, FriendsAreDrawnNamedAtEveryScalePointedAtAndTheLinksStateShown) {
  auto world = World();
  AtlasRig rig(*world, {{"atlas", "1"}});
  rig.atlas->MouseMove(300, 10);
  const std::string alone = rig.window.status;
  const std::string ann = "\xC3\x85sa";  // as heard, in UTF-8
  rig.atlas->FriendsChanged(Heard(friends::LinkState::Connected, {Friend("a", ann.c_str(), 4, 724, 4, kNow),
                                                                  Friend("b", "Bo", 4, 724, 0, kNow)}),
                            kNow);
  EXPECT_EQ(rig.Painted(70, 100), FriendColour("a"));
  ASSERT_EQ(rig.atlas->Names().size(), 1u) << "at 1:8 too; Bo is on another map";
  EXPECT_EQ(rig.atlas->Names()[0].Text, ann);
  EXPECT_EQ(rig.window.status, alone) << "connected: no word of the link";
  rig.atlas->MouseMove(72, 103);
  EXPECT_EQ(rig.window.status.substr(rig.window.status.size() - ann.size() - 2), "  " + ann);

  struct Case {
    friends::LinkState state;
    const char* said;
  } cases[] = {{friends::LinkState::Connecting, "  Friends: connecting..."},
               {friends::LinkState::Refused, "  Friends: refused"},
               {friends::LinkState::Off, ""}};
  rig.atlas->MouseMove(300, 10);
  for (const Case& c : cases) {
    rig.atlas->FriendsChanged(Heard(c.state, {}), kNow + 1s);
    EXPECT_EQ(rig.window.status, alone + c.said);
  }
  EXPECT_NE(rig.Painted(70, 100), FriendColour("a")) << "gone";
}

class FakeFriendsList : public IFriendsListWindow {
 public:
  void Open() override { open = true; }
  bool IsOpen() const override { return open; }
  void ShowRows(const std::vector<TFriendRow>& rows, int selected) override {
    shown.clear();
    for (const TFriendRow& row : rows) shown.push_back(row.Name + " " + row.Distance);
    chosen = selected;
    ++updates;
  }
  bool open = false;
  std::vector<std::string> shown;
  int chosen = -1;
  int updates = 0;
};

TEST(AtlasForm, TheFriendsListGoesToAFriendOnAnyMapTravelsThereAndFollowFollowsThatFriendUntilEsc) {
  auto world = World();
  AtlasRig rig(*world, {{"atlas", "1"}, {"commandchar", "."}});
  FakeFriendsList list;
  rig.atlas->AttachFriendsList(&list);
  rig.rig.client.Windows["Ultima Online"] = kClient;
  rig.rig.client.Assistant = kAssistant;
  rig.rig.client.SetPlayer(100, 700);
  rig.form->PlayerTimer(0);
  std::vector<friends::Friend> heard = {Friend("a", "Ann", 4, 724, 0, kNow), Friend("c", "Cy", 700, 700, 4, kNow)};
  rig.atlas->FriendsChanged(Heard(friends::LinkState::Connected, heard), kNow);
  EXPECT_EQ(list.updates, 0) << "closed";
  rig.atlas->Key(TAtlasKey::FriendsList);
  EXPECT_EQ(list.shown, (std::vector<std::string>{"Cy 600 tiles E", "Ann other map"}));
  rig.atlas->FriendsListSelect(1);

  // Cy comes nearer than the player is to Ann: Ann stays chosen.
  heard[1].position.x = 110;
  rig.atlas->FriendsChanged(Heard(friends::LinkState::Connected, heard), kNow + 1s);
  EXPECT_EQ(list.shown, (std::vector<std::string>{"Cy 10 tiles E", "Ann other map"}));
  EXPECT_EQ(list.chosen, 1);

  rig.atlas->FriendsListTravel(1);
  EXPECT_EQ(rig.rig.client.Received(kClient), "\r.GoSelf 4 724 17 0\r") << "Ann's cell, altitude and map";
  EXPECT_EQ(rig.form->FMapIndex, 4) << "travelling shows no other map";

  rig.atlas->Key(TAtlasKey::Follow);
  rig.atlas->FriendsListGoTo(1);
  EXPECT_EQ(rig.form->FMapIndex, 0);
  EXPECT_EQ(atlas::CentreCell(rig.Frame()), (atlas::TCellPoint{4, 724}));
  EXPECT_EQ(rig.Frame().Scale, atlas::OneToOne) << "from the whole map to 1:1";

  // Followed: Ann runs off the view and the view centres on her.
  heard[0].position.x = 400;
  rig.atlas->FriendsChanged(Heard(friends::LinkState::Connected, heard), kNow + 2s);
  const int64_t followed = rig.Frame().OriginX;
  EXPECT_EQ(followed, 400 - rig.Frame().Width / 2);
  rig.atlas->Key(TAtlasKey::Clear);
  heard[0].position.x = 600;
  rig.atlas->FriendsChanged(Heard(friends::LinkState::Connected, heard), kNow + 3s);
  EXPECT_EQ(rig.Frame().OriginX, followed) << "after Esc Follow is the player's again";

  // Go to by a friend's name, among places.
  rig.window.goTo = {std::string("cy")};
  rig.atlas->Key(TAtlasKey::GoTo);
  EXPECT_EQ(rig.form->FMapIndex, 4);
  EXPECT_EQ(atlas::CentreCell(rig.Frame()), (atlas::TCellPoint{110, 700}));

  // Without regard to case beside letters the code page lacks, offered as
  // they are; a friend on a map not loaded is named, and the view stays.
  heard.push_back(Friend("z", "Zo\xC3\xAB \xD0\x97\xD0\xBE\xD1\x8F", 300, 320, 4, kNow));
  heard.push_back(Friend("d", "Zoltan", 10, 10, 2, kNow));
  rig.atlas->FriendsChanged(Heard(friends::LinkState::Connected, heard), kNow + 4s);
  rig.window.goTo = {std::string("zo"), std::string("zo")};
  rig.window.choices = {0, 1};
  rig.atlas->Key(TAtlasKey::GoTo);
  EXPECT_EQ(rig.window.offered.back(),
            "Go to: Zo\xC3\xAB \xD0\x97\xD0\xBE\xD1\x8F (friend), Zoltan (friend, Ilshenar)");
  EXPECT_EQ(atlas::CentreCell(rig.Frame()), (atlas::TCellPoint{300, 320}));
  std::string said;
  try {
    rig.atlas->Key(TAtlasKey::GoTo);
  } catch (const Exception& e) {
    said = e.what();
  }
  EXPECT_EQ(said, "That friend is on Ilshenar, whose map is not loaded.");
  EXPECT_EQ(atlas::CentreCell(rig.Frame()), (atlas::TCellPoint{300, 320}));
}

}  // namespace
}  // namespace wf::ui
