// The friends the link hears, over the map window's panes: a marker like the
// player's in each friend's colour, drawn over the pane's picture as the
// player's is, and the friend's name in the pointer's tip.

#include <algorithm>
#include <cstdlib>

#include "atlas/OverlayDrawing.h"
#include "mapdata/Map.h"
#include "mapdata/MapTable.h"
#include "raster/Bitmap32.h"
#include "ui/MapForm.h"

namespace wf::ui {

namespace {

constexpr int kHoverReach = 4;  // as for places' markers

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

void DrawFriendMarker(TBitmap32& pane, int32_t x, int32_t y, TColor32 colour, bool faded) {
  constexpr int reach = atlas::FriendMarkerReach;
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) {
      if (x + dx < 0 || y + dy < 0 || x + dx >= pane.Width() || y + dy >= pane.Height()) continue;
      const TColor32 marker = atlas::FriendMarkerPixel(dx, dy, colour);
      pane.WritePixel(x + dx, y + dy, faded ? atlas::HalfWay(marker, pane.Pixel(x + dx, y + dy)) : marker);
    }
}

}  // namespace

// Where a friend's marker is on a pane, placed as the player's would be there.
static std::optional<TPanePoint> FriendOnPane(const TMap& map, bool onOverview, const friends::SharedPosition& at,
                                              int32_t centreX, int32_t centreY, int32_t zoom) {
  if (at.x < 0 || at.y < 0) return std::nullopt;
  if (onOverview) {
    if (!(map.ScaleX() > 0) || !(map.ScaleY() > 0)) return std::nullopt;
    const double x = at.x / map.ScaleX(), y = at.y / map.ScaleY();
    if (x >= OverviewWidth || y >= OverviewHeight) return std::nullopt;
    return TPanePoint{static_cast<int32_t>(x), static_cast<int32_t>(y)};
  }
  const int64_t x = DetailSize / 2 + FloorDiv(int64_t{at.x} - centreX, zoom);
  const int64_t y = DetailSize / 2 + FloorDiv(int64_t{at.y} - centreY, zoom);
  if (x < 0 || x >= DetailSize || y < 0 || y >= DetailSize) return std::nullopt;
  return TPanePoint{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

// The faded ones first, so a friend heard just now is never under one gone quiet.
void TMapForm::DrawFriends(bool onOverview) {
  bool& shown = onOverview ? FOverviewFriendsShown : FDetailFriendsShown;
  shown = false;
  if (FFriends.empty()) return;
  TBitmap32& pane = onOverview ? c_.MapImage.Bitmap() : c_.ZoomMap.Bitmap();
  const TMap& map = ActiveMap();
  for (const bool fadedPass : {true, false})
    for (const friends::Friend& someone : FFriends) {
      if (someone.position.map != FMapIndex || FriendFaded(someone, FFriendsNow) != fadedPass) continue;
      const auto at = FriendOnPane(map, onOverview, someone.position, FCenterX, FCenterY, std::max<int32_t>(FZoom, 1));
      if (!at) continue;
      DrawFriendMarker(pane, at->X, at->Y, FriendColour(someone.id), fadedPass);
      shown = true;
    }
}

const friends::Friend* TMapForm::FriendAtPixel(bool onOverview, int32_t x, int32_t y) {
  const TMap& map = ActiveMap();
  const friends::Friend* nearest = nullptr;
  int nearestDistance = kHoverReach + 1;
  for (const friends::Friend& someone : FFriends) {
    if (someone.position.map != FMapIndex) continue;
    const auto at = FriendOnPane(map, onOverview, someone.position, FCenterX, FCenterY, std::max<int32_t>(FZoom, 1));
    if (!at) continue;
    const int distance = std::max(std::abs(at->X - x), std::abs(at->Y - y));
    if (distance < nearestDistance) {
      nearest = &someone;
      nearestDistance = distance;
    }
  }
  return nearest;
}

int TMapForm::FadedFriends(TFriendsClock::time_point now) const {
  return static_cast<int>(
      std::count_if(FFriends.begin(), FFriends.end(), [now](const friends::Friend& f) { return FriendFaded(f, now); }));
}

void TMapForm::FriendsChanged(const friends::FriendsSnapshot& snapshot, TFriendsClock::time_point now) {
  FFriends = snapshot.friends;
  if (FFriendsThrottle.Changed(now)) RedrawFriends(now);
}

void TMapForm::FriendsTimer(TFriendsClock::time_point now) {
  if (FFriendsThrottle.Due(now) || (FadedFriends(now) != FFadedDrawn && FFriendsThrottle.Changed(now)))
    RedrawFriends(now);
}

// Only the panes where a friend's marker is or was are drawn: a player
// without friends on the map in use never sees a pane redrawn for them.
void TMapForm::RedrawFriends(TFriendsClock::time_point now) {
  FFriendsNow = now;
  FFadedDrawn = FadedFriends(now);
  const TMap& map = ActiveMap();
  bool overview = FOverviewFriendsShown, detail = FDetailFriendsShown;
  for (const friends::Friend& someone : FFriends) {
    if (someone.position.map != FMapIndex) continue;
    overview = overview || FriendOnPane(map, true, someone.position, FCenterX, FCenterY, 1);
    detail = detail ||
             FriendOnPane(map, false, someone.position, FCenterX, FCenterY, std::max<int32_t>(FZoom, 1));
  }
  if (overview) DrawOverview();
  if (detail) DrawDetail();
}

std::optional<TMapSpot> TMapForm::PlayerSpot() const {
  const std::optional<TPlayerPosition> position = FPlayer->Position();
  if (!position) return std::nullopt;
  return TMapSpot{position->X, position->Y, FPlayer->Map().value_or(FMapIndex)};
}

void TMapForm::TravelToOnMap(int32_t x, int32_t y, int32_t map) {
  const TMap* target = s_.Maps->Find(map);
  const bool onMap = target && target->IsLoaded() && x >= 0 && y >= 0 &&
                     x < int64_t{target->BlocksWide()} * 8 && y < int64_t{target->BlocksHigh()} * 8;
  FTravelProblem.clear();
  // A map not loaded has no altitudes: the command then goes at Z 0.
  SendTravelCommand(x, y, onMap ? target->GetAltitude(x, y) : 0, map);
  ReportTravelProblem();
}

}  // namespace wf::ui
