#include "atlas/Ruler.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/IntegerText.h"

namespace wf::atlas {

TDistance MeasureDistance(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
  const int64_t dx = std::llabs(int64_t{toX} - fromX);
  const int64_t dy = std::llabs(int64_t{toY} - fromY);
  return {std::max(dx, dy), std::hypot(static_cast<double>(dx), static_cast<double>(dy))};
}

std::string DistanceText(const TDistance& distance) {
  const int64_t tenths = std::llround(distance.Straight * 10);
  return "Distance: " + NumberText(distance.Tiles) + (distance.Tiles == 1 ? " tile (" : " tiles (") +
         NumberText(tenths / 10) + "." + NumberText(tenths % 10) + ")";
}

}  // namespace wf::atlas
