#pragma once
// Which places' names the atlas writes, and where, and which place the
// pointer is on. The window measures the names in its font; this decides.

#include <cstdint>
#include <span>
#include <vector>

#include "atlas/OverlayGeometry.h"

namespace wf::atlas {

// A place in view: its marker's centre on the frame, and the size of its name
// as drawn (outline included); a name of no size is never drawn.
struct TPlaceInView {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t LabelWidth = 0;
  int32_t LabelHeight = 0;
  // Laid out before every one without it, whatever the distances (friends
  // before places).
  bool Ahead = false;
};

struct TPlacedLabel {
  int Place = 0;  // index into the places given
  TFrameRect Box;
};

// The name's box beside the marker: just right of it, centred on it. Boxes
// that only touch do not overlap.
TFrameRect LabelBoxOf(const TPlaceInView& place);

// The names to draw, none overlapping another: they are taken in the order of
// their marker's distance from the view's centre (of equal ones the first
// given), those Ahead before the others, and a name that would overlap one
// taken before is left out. The
// place `first`, when given, is taken before all (the one under the pointer).
// Found through a grid of buckets over the view, so a frame full of places
// costs about as much per place as an empty one.
std::vector<TPlacedLabel> PlaceLabels(std::span<const TPlaceInView> places, int32_t viewWidth,
                                      int32_t viewHeight, int first = -1);

// The place whose marker is nearest (x, y), counting the larger of the two
// distances, within PointerReach pixels (OverlayDrawing.h); of equally near
// ones the first given; -1 for none.
int PlaceUnderPointer(std::span<const TPlaceInView> places, int32_t x, int32_t y);

}  // namespace wf::atlas
