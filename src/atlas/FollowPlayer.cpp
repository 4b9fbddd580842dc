#include "atlas/FollowPlayer.h"

#include "atlas/OverlayGeometry.h"

namespace wf::atlas {

namespace {

// The origin along one axis that brings `at` (a frame position) into the
// middle half of `size` with the least move.
int64_t LeastPan(int64_t origin, int64_t at, int32_t size) {
  const int64_t low = size / 4, high = size - size / 4;
  if (at < low) return origin - (low - at);
  if (at >= high) return origin + (at - high + 1);
  return origin;
}

}  // namespace

TFrameOrigin FollowOrigin(const TAtlasFrame& frame, int32_t x, int32_t y) {
  const TFramePoint at = CellOnFrame(frame, x, y);
  if (at.X < 0 || at.X >= frame.Width || at.Y < 0 || at.Y >= frame.Height)
    return {frame.OriginX + at.X - frame.Width / 2, frame.OriginY + at.Y - frame.Height / 2};
  return {LeastPan(frame.OriginX, at.X, frame.Width), LeastPan(frame.OriginY, at.Y, frame.Height)};
}

}  // namespace wf::atlas
