// The player's marker and "Follow player", with an assistants' window that
// answers from the fake desktop, over a small world of maps 0 and 2.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

#include "AllocationCounter.h"
#include "FormRig.h"
#include "TestWorld.h"
#include "common/Errors.h"
#include "mapdata/MapTable.h"
#include "ui/MenuCommands.h"

namespace wf::ui {
namespace {

using testing::FormRig;
using wf::testing::TTestWorld;

constexpr platform::IClientWindows::Handle kAssistant = 0x77;
constexpr platform::IClientWindows::Handle kOwnWindow = 0x4242;
constexpr TColor32 kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000;

std::unique_ptr<TTestWorld> World() {
  auto world = std::make_unique<TTestWorld>();
  for (int map : {0, 2}) {
    worldgen::TMapContents contents(16, MapSizeOf(map).BlocksHigh);  // cells 0 to 127 across
    contents.SetAltitude(64, 80, static_cast<int8_t>(10 + map));
    contents.SetAltitude(70, 90, -5);
    world->AddMap(map, contents);
  }
  return world;
}

std::vector<TColor32> Pixels(const TBitmap32& b) { return {b.Bits(), b.Bits() + b.Width() * b.Height()}; }

// Each channel half way between the two.
TColor32 Mixed(TColor32 a, TColor32 b) {
  TColor32 mixed = 0xFF000000;
  for (int shift : {0, 8, 16}) mixed |= (((a >> shift) & 0xFF) / 2 + ((b >> shift) & 0xFF) / 2) << shift;
  return mixed;
}

// The pane holds `before` everywhere but the marker's 7 x 7 square round
// (x, y), whose rings are black, white and red (a friend's colour for a
// friend's marker; faded, each pixel half way to what was there).
void ExpectMarkerAt(const TBitmap32& pane, const std::vector<TColor32>& before, int x, int y, TColor32 core = kRed,
                    bool faded = false) {
  for (int py = 0; py < pane.Height(); ++py)
    for (int px = 0; px < pane.Width(); ++px) {
      const int ring = std::max(std::abs(px - x), std::abs(py - y));
      const TColor32 under = before[static_cast<size_t>(py * pane.Width() + px)];
      TColor32 expected = ring == 3 ? kBlack : ring == 2 ? kWhite : ring <= 1 ? core : under;
      if (ring <= 3 && faded) expected = Mixed(expected, under);
      if (pane.Pixel(px, py) != expected) {
        ADD_FAILURE() << "pixel (" << px << ", " << py << ") for a marker at (" << x << ", " << y << ")";
        return;
      }
    }
}

struct PlayerRig {
  std::unique_ptr<TTestWorld> world = World();
  FormRig rig{&world->Config()};
  TMapForm* form = nullptr;
  std::vector<TColor32> overview, detail;  // the panes as the user sees them without a player

  explicit PlayerRig(void (*configure)(TConfig&) = nullptr) {
    if (configure) configure(*rig.config);
    form = &rig.Start();
  }
  void Snapshot() {
    overview = Pixels(rig.mapImage.bitmap);
    detail = Pixels(rig.zoomMap.bitmap);
  }
  void Tick() { form->PlayerTimer(kOwnWindow); }
  std::string Stored(const std::string& key) {
    const std::string text = rig.ConfigText();
    const std::string start = "key=\"" + key + "\" value=\"";
    size_t at = text.find(start);
    if (at == std::string::npos) return "absent";
    at += start.size();
    return text.substr(at, text.find('"', at) - at);
  }
};

TEST(Player, WithoutAnAssistantNothingIsDrawnOrAsked) {
  PlayerRig p;
  p.Snapshot();
  const int changes = p.rig.mapImage.changes + p.rig.zoomMap.changes;
  p.rig.client.SetPlayer(64, 80);  // a position nobody answers
  for (int i = 0; i < 10; ++i) p.Tick();
  EXPECT_EQ(p.rig.mapImage.changes + p.rig.zoomMap.changes, changes);
  EXPECT_EQ(Pixels(p.rig.mapImage.bitmap), p.overview);
  EXPECT_EQ(Pixels(p.rig.zoomMap.bitmap), p.detail);
  EXPECT_EQ(std::count(p.rig.client.Lookups.begin(), p.rig.client.Lookups.end(),
                       "UOASSIST-TP-MSG-WND|UOASSIST-TP-MSG-WND"),
            10);
  EXPECT_TRUE(p.rig.client.Sends.empty());
}

TEST(Player, TheMenuOffersShowAndFollowCheckedAsStored) {
  struct Case {
    const char* name;
    std::optional<std::string> show, follow;
    bool showChecked, followChecked;
  };
  const Case cases[] = {
      {"nothing stored", std::nullopt, std::nullopt, true, false},
      {"both on", "1", "1", true, true},
      {"both off", "0", "0", false, false},
      {"not numbers", "yes", "on", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig rig;
    if (c.show) rig.config->AddPair("showplayer", *c.show);
    if (c.follow) rig.config->AddPair("followplayer", *c.follow);
    rig.Start();
    const std::vector<std::pair<int, std::string>> items = {{cmShowPlayer, "Show player"},
                                                            {cmFollowPlayer, "Follow player"}};
    EXPECT_EQ(rig.menu.Only({cmShowPlayer, cmFollowPlayer}), items);
    EXPECT_EQ(rig.menu.checked[cmShowPlayer], c.showChecked);
    EXPECT_EQ(rig.menu.checked[cmFollowPlayer], c.followChecked);
    if (!c.show && !c.follow) {
      EXPECT_EQ(rig.ConfigText().find("player"), std::string::npos) << "written only when toggled";
    }
  }
}

TEST(Player, TheMarkerShowsWhereThePlayerIsAndMovesAndGoesWithIt) {
  PlayerRig p;
  p.form->ZoomMapMouseDown(TMouseButton::Left, 60 + 50, 80 + 50);  // centre (60, 80)
  p.Snapshot();
  const std::vector<TColor32> mapOwnOverview = Pixels(*p.form->ActiveMap().GetOverview());
  p.rig.client.Assistant = kAssistant;
  p.rig.client.SetPlayer(64, 80);

  p.Tick();
  EXPECT_EQ(p.rig.client.Registered, std::vector<uintptr_t>{kOwnWindow});
  ExpectMarkerAt(p.rig.mapImage.bitmap, p.overview, 64 / 16, 80 / 16);
  ExpectMarkerAt(p.rig.zoomMap.bitmap, p.detail, 54, 50);
  EXPECT_EQ(Pixels(*p.form->ActiveMap().GetOverview()), mapOwnOverview) << "the map's own picture";

  p.rig.client.SetPlayer(127, 127);  // off the detail view
  p.Tick();
  ExpectMarkerAt(p.rig.mapImage.bitmap, p.overview, 127 / 16, 127 / 16);
  EXPECT_EQ(Pixels(p.rig.zoomMap.bitmap), p.detail);

  const int changes = p.rig.mapImage.changes + p.rig.zoomMap.changes;
  p.Tick();  // standing still redraws nothing
  EXPECT_EQ(p.rig.mapImage.changes + p.rig.zoomMap.changes, changes);

  p.rig.client.SetPlayer(0, 0);  // logged out
  p.Tick();
  EXPECT_EQ(Pixels(p.rig.mapImage.bitmap), p.overview);

  p.rig.client.SetPlayer(59, 81);
  p.Tick();
  ExpectMarkerAt(p.rig.zoomMap.bitmap, p.detail, 49, 51);
  p.rig.client.Assistant = 0;  // the client closed
  p.Tick();
  EXPECT_EQ(Pixels(p.rig.mapImage.bitmap), p.overview);
  EXPECT_EQ(Pixels(p.rig.zoomMap.bitmap), p.detail);
  EXPECT_EQ(p.rig.client.Registered, std::vector<uintptr_t>{kOwnWindow}) << "registered once";
}

TEST(Player, TheDetailMarkerFollowsTheZoom) {
  struct Case {
    uint16_t zoom;
    uint16_t x, y;
    std::optional<TPanePoint> at;  // nothing: outside the view
  };
  const Case cases[] = {
      {1, 60, 80, TPanePoint{50, 50}}, {1, 10, 80, TPanePoint{0, 50}},  {1, 9, 80, std::nullopt},
      {2, 61, 80, TPanePoint{50, 50}}, {2, 59, 80, TPanePoint{49, 50}}, {4, 4, 8, TPanePoint{36, 32}},
      {4, 57, 80, TPanePoint{49, 50}},
      {1, 109, 129, TPanePoint{99, 99}}, {1, 110, 80, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "zoom " << c.zoom << " at " << c.x << ", " << c.y);
    PlayerRig p;
    p.form->ZoomMapMouseDown(TMouseButton::Left, 60 + 50, 80 + 50);
    p.form->FZoom = c.zoom;
    p.form->DrawDetail();
    p.Snapshot();
    p.rig.client.Assistant = kAssistant;
    p.rig.client.SetPlayer(c.x, c.y);
    p.Tick();
    if (c.at) ExpectMarkerAt(p.rig.zoomMap.bitmap, p.detail, c.at->X, c.at->Y);
    else EXPECT_EQ(Pixels(p.rig.zoomMap.bitmap), p.detail);
  }
}

TEST(Player, NoMarkerWhileThePlayerIsOnAnotherMapOrShowPlayerIsOff) {
  PlayerRig p;
  p.Snapshot();
  p.rig.client.Assistant = kAssistant;
  p.rig.client.SetPlayer(64, 80);
  p.Tick();
  ASSERT_NE(Pixels(p.rig.mapImage.bitmap), p.overview);

  p.form->PlayerMapChanged(2);  // the map in use is 0
  EXPECT_EQ(Pixels(p.rig.mapImage.bitmap), p.overview);
  p.form->PlayerMapChanged(0);
  ExpectMarkerAt(p.rig.mapImage.bitmap, p.overview, 4, 5);

  p.form->SystemCommand(cmShowPlayer);
  EXPECT_EQ(Pixels(p.rig.mapImage.bitmap), p.overview);
  EXPECT_FALSE(p.rig.menu.checked[cmShowPlayer]);
  EXPECT_EQ(p.Stored("showplayer"), "0");
  p.rig.client.SetPlayer(65, 80);
  p.Tick();
  EXPECT_EQ(Pixels(p.rig.mapImage.bitmap), p.overview);

  p.form->SystemCommand(cmShowPlayer);
  ExpectMarkerAt(p.rig.mapImage.bitmap, p.overview, 4, 5);
  EXPECT_TRUE(p.rig.menu.checked[cmShowPlayer]);
  EXPECT_EQ(p.Stored("showplayer"), "1");
}

TEST(Player, FollowKeepsTheViewOnThePlayerAsALeftPressWould) {
  PlayerRig p;
  p.rig.client.Assistant = kAssistant;
  p.rig.client.SetPlayer(64, 80);
  p.form->FZoom = 3;
  p.form->SystemCommand(cmFollowPlayer);  // nothing known yet: nothing moves
  EXPECT_EQ(p.form->FCenterX, 0);
  EXPECT_TRUE(p.rig.menu.checked[cmFollowPlayer]);
  EXPECT_EQ(p.Stored("followplayer"), "1");

  p.Tick();
  EXPECT_EQ(p.form->FCenterX, 64);
  EXPECT_EQ(p.form->FCenterY, 80);
  EXPECT_EQ(p.form->FCenterZ, 10);
  EXPECT_EQ(p.rig.eX.text, "64");
  EXPECT_EQ(p.rig.eY.text, "80");
  EXPECT_EQ(p.rig.eZ.text, "10");
  EXPECT_EQ(p.form->FZoom, 3) << "a left press keeps the zoom";

  p.rig.client.SetPlayer(70, 90);
  p.Tick();
  EXPECT_EQ(p.rig.eX.text, "70");
  EXPECT_EQ(p.rig.eZ.text, "-5");

  p.form->SystemCommand(cmFollowPlayer);
  EXPECT_EQ(p.Stored("followplayer"), "0");
  p.rig.client.SetPlayer(64, 80);
  p.Tick();
  EXPECT_EQ(p.form->FCenterX, 70) << "no longer followed";
}

TEST(Player, FollowSwitchesToThePlayersMapWhenItIsLoaded) {
  struct Case {
    const char* name;
    int32_t named;
    uint16_t mapInUse;
    uint16_t centreX;
    std::string stored;
  };
  const Case cases[] = {
      {"loaded map", 2, 2, 64, "2"},
      {"map not loaded", 3, 0, 0, "0"},
      {"the map in use", 0, 0, 64, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlayerRig p([](TConfig& config) { config.AddPair("followplayer", "1"); });
    p.rig.client.Assistant = kAssistant;
    p.rig.client.SetPlayer(0, 0);
    p.Tick();
    p.rig.client.SetPlayer(64, 80);
    p.form->PlayerMapChanged(c.named);
    p.Tick();
    EXPECT_EQ(p.form->FMapIndex, c.mapInUse);
    EXPECT_EQ(p.form->FCenterX, c.centreX);
    EXPECT_EQ(p.Stored("CurrentMap"), c.stored);
    const int index = p.rig.cbChooseMap.ItemIndex();
    if (c.mapInUse == 2) {
      ASSERT_GE(index, 0);
      EXPECT_EQ(p.rig.cbChooseMap.Item(index), FindMapSlot(2)->ChoiceText);
      EXPECT_EQ(p.form->FCenterZ, 12);
    }
  }
}

// A map switch that cannot be stored still leaves the panes showing the map
// whose number travel sends.
TEST(Player, FollowDrawsThePlayersMapBeforeStoringIt) {
  PlayerRig p([](TConfig& config) { config.AddPair("followplayer", "1"); });
  p.rig.client.Assistant = kAssistant;
  p.rig.client.SetPlayer(0, 0);
  p.Tick();
  std::filesystem::remove(p.rig.ConfigFile());
  std::filesystem::create_directory(p.rig.ConfigFile());  // nothing can be written there
  p.rig.client.SetPlayer(64, 80);
  p.form->PlayerMapChanged(2);
  EXPECT_THROW(p.Tick(), EInOutError);
  EXPECT_EQ(p.form->FMapIndex, 2);
  p.Snapshot();
  p.form->DrawOverview();
  p.form->DrawDetail();
  EXPECT_EQ(Pixels(p.rig.mapImage.bitmap), p.overview);
  EXPECT_EQ(Pixels(p.rig.zoomMap.bitmap), p.detail);
}

// The timer fires four times a second for as long as the program runs: while
// nothing changes it must cost no allocation.
TEST(Player, LookingWhileNothingChangesAllocatesNothing) {
  struct Case {
    const char* name;
    platform::IClientWindows::Handle assistant;
    bool answers;
  };
  const Case cases[] = {
      {"no assistant", 0, true}, {"player standing", kAssistant, true}, {"no answer", kAssistant, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlayerRig p;
    p.rig.client.Assistant = c.assistant;
    p.rig.client.SetPlayer(64, 80);
    p.Tick();  // registers and draws: that may allocate
    if (!c.answers) p.rig.client.Outcomes[wf::testing::FakeClientWindows::kPosition] = platform::TSendOutcome::TimedOut;
    p.rig.client.Record = false;
    EXPECT_EQ(wf::testing::AllocationsDuring([&] {
                for (int i = 0; i < 20; ++i) p.Tick();
              }),
              0);
    EXPECT_GT(wf::testing::AllocationsDuring([&] { p.form->DrawDetail(); }), 0) << "the counter counts";
  }
}

friends::Friend Friend(const char* id, const char* name, int x, int y, int map, TFriendsClock::time_point heard) {
  return {id, name, {x, y, std::nullopt, map}, heard};
}

TEST(Friends, EachHasAMarkerLikeThePlayersInItsColourFadedWhenLongUnheardAndTheRedrawsAreThrottled) {
  PlayerRig p;
  p.form->ZoomMapMouseDown(TMouseButton::Left, 60 + 50, 80 + 50);  // centre (60, 80)
  p.Snapshot();
  const TFriendsClock::time_point start{std::chrono::hours(1)};
  friends::FriendsSnapshot heard{1, friends::LinkState::Connected, "", {}};
  heard.friends = {Friend("a1", "Aria", 64, 80, 0, start), Friend("b2", "Bo", 20, 20, 2, start)};
  p.form->FriendsChanged(heard, start);
  const TColor32 aria = FriendColour("a1");
  EXPECT_NE(aria, kRed);
  ExpectMarkerAt(p.rig.mapImage.bitmap, p.overview, 64 / 16, 80 / 16, aria);  // Bo is on another map
  ExpectMarkerAt(p.rig.zoomMap.bitmap, p.detail, 54, 50, aria);

  // A move 50 ms later waits for the timer; the timer draws it once due.
  heard.friends[0].position.x = 59;
  heard.friends[0].heard = start + std::chrono::milliseconds(50);
  const int changes = p.rig.zoomMap.changes;
  p.form->FriendsChanged(heard, start + std::chrono::milliseconds(50));
  p.form->FriendsTimer(start + std::chrono::milliseconds(90));
  EXPECT_EQ(p.rig.zoomMap.changes, changes) << "within a tenth of a second of the last drawing";
  p.form->FriendsTimer(start + std::chrono::milliseconds(150));
  ExpectMarkerAt(p.rig.zoomMap.bitmap, p.detail, 49, 50, aria);
  const int drawn = p.rig.zoomMap.changes;
  p.form->FriendsTimer(start + std::chrono::seconds(60));
  EXPECT_EQ(p.rig.zoomMap.changes, drawn) << "nothing held, nobody faded";

  // Two minutes and a moment unheard: faded, the map showing through.
  p.form->FriendsTimer(heard.friends[0].heard + std::chrono::seconds(121));
  ExpectMarkerAt(p.rig.zoomMap.bitmap, p.detail, 49, 50, aria, true);

  // The player is drawn over a friend on the same cell.
  p.rig.client.Assistant = kAssistant;
  p.rig.client.SetPlayer(59, 80);
  p.Tick();
  ExpectMarkerAt(p.rig.zoomMap.bitmap, p.detail, 49, 50);

  // Gone: the panes as before.
  p.rig.client.Assistant = 0;
  p.Tick();
  p.form->FriendsChanged({2, friends::LinkState::Connected, "", {}}, start + std::chrono::minutes(5));
  EXPECT_EQ(Pixels(p.rig.mapImage.bitmap), p.overview);
  EXPECT_EQ(Pixels(p.rig.zoomMap.bitmap), p.detail);
}

TEST(Friends, NoneOnTheMapInUseRedrawsNothing) {
  PlayerRig p;
  const int changes = p.rig.mapImage.changes + p.rig.zoomMap.changes;
  const TFriendsClock::time_point now{std::chrono::hours(1)};
  p.form->FriendsChanged({1, friends::LinkState::Connecting, "", {}}, now);
  p.form->FriendsChanged({2, friends::LinkState::Connected, "", {Friend("b2", "Bo", 20, 20, 2, now)}},
                         now + std::chrono::seconds(1));
  p.form->FriendsTimer(now + std::chrono::minutes(3));
  EXPECT_EQ(p.rig.mapImage.changes + p.rig.zoomMap.changes, changes);
}

}  // namespace
}  // namespace wf::ui
