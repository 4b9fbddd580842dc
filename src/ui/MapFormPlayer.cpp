#include <optional>
#include <utility>

#include "client/PlayerLink.h"
#include "common/IntegerText.h"
#include "config/Config.h"
#include "mapdata/Map.h"
#include "mapdata/MapTable.h"
#include "raster/Bitmap32.h"
#include "ui/MapForm.h"
#include "ui/MenuCommands.h"

namespace wf::ui {

namespace {

// Black round white round red: one of the rings stands out on any colour the
// radar table may hold.
constexpr TColor32 kPlayerOuter = 0xFF000000;
constexpr TColor32 kPlayerInner = 0xFFFFFFFF;
constexpr TColor32 kPlayerCore = 0xFFFF0000;

void DrawPlayerMarker(TBitmap32& pane, int32_t x, int32_t y) {
  pane.FillArea(x - 3, y - 3, x + 4, y + 4, kPlayerOuter);
  pane.FillArea(x - 2, y - 2, x + 3, y + 3, kPlayerInner);
  pane.FillArea(x - 1, y - 1, x + 2, y + 2, kPlayerCore);
}

// Division rounding down, so that cells left of the centre land left of it.
int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool ValueOn(const TConfig& config, const char* key, bool absent) {
  const TPair* pair = config.FindPair(key);
  const std::optional<int32_t> value = pair ? TryParseInteger(pair->Value) : std::nullopt;
  return value ? *value != 0 : absent;
}

}  // namespace

void TMapForm::ReadPlayerSettings() {
  FShowPlayer = ValueOn(*s_.Config, "showplayer", true);
  FFollowPlayer = ValueOn(*s_.Config, "followplayer", false);
}

// The player's position while the player is on the map in use: until the
// client names a map, the player is taken to be on the map in use.
std::optional<TPlayerPosition> TMapForm::PlayerOnMapInUse() const {
  const std::optional<TPlayerPosition> position = FPlayer->Position();
  if (!position || FPlayer->Map().value_or(FMapIndex) != FMapIndex) return std::nullopt;
  return position;
}

std::optional<TPlayerPosition> TMapForm::VisiblePlayer() const {
  return FShowPlayer ? PlayerOnMapInUse() : std::nullopt;
}

std::optional<TPanePoint> TMapForm::PlayerOnOverview() {
  const std::optional<TPlayerPosition> player = VisiblePlayer();
  if (!player) return std::nullopt;
  const TMap& map = ActiveMap();
  if (!(map.ScaleX() > 0) || !(map.ScaleY() > 0)) return std::nullopt;
  const int32_t x = static_cast<int32_t>(player->X / map.ScaleX());
  const int32_t y = static_cast<int32_t>(player->Y / map.ScaleY());
  if (x >= OverviewWidth || y >= OverviewHeight) return std::nullopt;
  return TPanePoint{x, y};
}

std::optional<TPanePoint> TMapForm::PlayerOnDetail() const {
  const std::optional<TPlayerPosition> player = VisiblePlayer();
  if (!player) return std::nullopt;
  const int64_t x = 50 + FloorDiv(static_cast<int64_t>(player->X) - FCenterX, FZoom);
  const int64_t y = 50 + FloorDiv(static_cast<int64_t>(player->Y) - FCenterY, FZoom);
  if (x < 0 || x >= DetailSize || y < 0 || y >= DetailSize) return std::nullopt;
  return TPanePoint{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

// Drawn over the pane's picture, which is a copy: the map's own overview
// never holds a marker.
void TMapForm::DrawPlayerOnOverview() {
  const std::optional<TPanePoint> at = PlayerOnOverview();
  FOverviewPlayerShown = at.has_value();
  if (at) DrawPlayerMarker(c_.MapImage.Bitmap(), at->X, at->Y);
}

void TMapForm::DrawPlayerOnDetail() {
  const std::optional<TPanePoint> at = PlayerOnDetail();
  FDetailPlayerShown = at.has_value();
  if (at) DrawPlayerMarker(c_.ZoomMap.Bitmap(), at->X, at->Y);
}

// While the maps are made anew, what the client tells is noted and shown
// once they are there: drawing now would hand out a map about to go.
void TMapForm::PlayerTimer(platform::IClientWindows::Handle ownWindow) {
  if (FReplacingMaps) return;
  const bool waiting = std::exchange(FPlayerChangeWaiting, false);
  if (FPlayer->Poll(ownWindow) || waiting) PlayerChanged();
}

void TMapForm::PlayerMapChanged(int32_t map) {
  if (!FPlayer->MapChanged(map)) return;
  if (FReplacingMaps)
    FPlayerChangeWaiting = true;
  else
    PlayerChanged();
}

// Redraws only the panes whose marker appears, moves or goes: the panes of a
// player who never runs an assistant are never touched.
void TMapForm::PlayerChanged() {
  bool overview = FOverviewPlayerShown || PlayerOnOverview();
  bool detail = FDetailPlayerShown || PlayerOnDetail();
  const bool switched = FFollowPlayer && SwitchToPlayerMap();
  if (switched) overview = detail = true;
  if (FFollowPlayer && CentreOnPlayer()) detail = true;
  if (overview) DrawOverview();
  if (detail) DrawDetail();
  if (FAtlas) FAtlas->PlayerMoved();
  // Until the client names a map the player is taken to be on the one in use,
  // as the markers are.
  if (FFriendsPanel) FFriendsPanel->PlayerMoved(FPlayer->Position(), FPlayer->Map().value_or(FMapIndex));
  // Drawn first, then stored, as a map choice is: a failed save leaves the
  // panes and the map number together.
  if (switched) s_.Config->SetInteger("CurrentMap", FMapIndex);
}

// As a map choice of the user's would, without its drawing and saving: the
// caller does both.
bool TMapForm::SwitchToPlayerMap() {
  const std::optional<int32_t> map = FPlayer->Map();
  if (!FPlayer->Position() || !map || *map == FMapIndex) return false;
  return SwitchMap(*map);
}

bool TMapForm::SwitchMap(int32_t map) {
  const TMap* target = s_.Maps->Find(map);
  if (!target || !target->IsLoaded()) return false;
  FMapIndex = static_cast<uint16_t>(map);
  if (const TMapSlot* slot = FindMapSlot(map)) {
    IComboBox& list = c_.cbChooseMap;
    for (int i = 0; i < list.ItemCount(); ++i)
      if (list.Item(i) == slot->ChoiceText) list.SetItemIndex(i);
  }
  FZoom = 1;
  FCenterX = 0;
  FCenterY = 0;
  FCenterZ = 0;
  return true;
}

// As a left press on the player's cell would; the caller draws.
bool TMapForm::CentreOnPlayer() {
  const std::optional<TPlayerPosition> player = PlayerOnMapInUse();
  if (!player || (player->X == FCenterX && player->Y == FCenterY)) return false;
  FCenterX = player->X;
  FCenterY = player->Y;
  FCenterZ = static_cast<int8_t>(ActiveMap().GetAltitude(FCenterX, FCenterY));
  ShowCentre();
  return true;
}

void TMapForm::ToggleShowPlayer() {
  FShowPlayer = !FShowPlayer;
  c_.Menu.SetChecked(cmShowPlayer, FShowPlayer);
  PlayerChanged();
  s_.Config->SetInteger("showplayer", FShowPlayer ? 1 : 0);
}

void TMapForm::ToggleFollowPlayer() {
  FFollowPlayer = !FFollowPlayer;
  c_.Menu.SetChecked(cmFollowPlayer, FFollowPlayer);
  if (FFollowPlayer) PlayerChanged();
  s_.Config->SetInteger("followplayer", FFollowPlayer ? 1 : 0);
}

}  // namespace wf::ui
