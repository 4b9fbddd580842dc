#pragma once
// The atlas's ruler: how far one cell is from another.

#include <cstdint>
#include <string>

namespace wf::atlas {

struct TDistance {
  // As the game counts steps: the larger of |dx| and |dy|.
  int64_t Tiles = 0;
  // As the crow flies, in cells.
  double Straight = 0;
};

TDistance MeasureDistance(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);

// "Distance: 50 tiles (58.3)": the straight distance to one decimal with a
// point whatever the locale, "1 tile" for one.
std::string DistanceText(const TDistance& distance);

}  // namespace wf::atlas
