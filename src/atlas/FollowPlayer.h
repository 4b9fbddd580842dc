#pragma once
// "Follow player": how the atlas pans so that the player stays inside the
// middle half of the view.

#include <cstdint>

#include "atlas/AtlasScale.h"

namespace wf::atlas {

struct TFrameOrigin {
  int64_t X = 0;
  int64_t Y = 0;
  bool operator==(const TFrameOrigin&) const = default;
};

// The frame's origin once the player at cell (x, y) has been followed. The
// player's pixel (OverlayGeometry.h's CellOnFrame) counts as inside the
// middle half when it lies in [Width / 4, Width - Width / 4) across and
// likewise down.
//  - Inside: the origin stays, so small steps never shake the view.
//  - Outside the middle half but on the frame (the player walked): the least
//    pan along each axis that brings the player back to the middle half's
//    edge, so that the view glides along as the player walks on.
//  - Off the frame (a recall, a gate, a new map, the first report): the view
//    centres on the player on both axes, since a view that showed the player
//    only at its edge would leave out where the player is going.
TFrameOrigin FollowOrigin(const TAtlasFrame& frame, int32_t x, int32_t y);

}  // namespace wf::atlas
