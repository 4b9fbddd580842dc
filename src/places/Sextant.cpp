#include "places/Sextant.h"

#include <cstdlib>

#include "common/IntegerText.h"

namespace wf::places {

namespace {

constexpr int32_t kWorldWidth = 5120;
constexpr int32_t kWorldHeight = 4096;

struct TCentre {
  int32_t X, Y;
};
constexpr TCentre kSurface{1323, 1624};
constexpr TCentre kDungeons{5936, 3112};

// Where the sextant takes its bearings from; nothing outside both areas of
// the two large maps.
std::optional<TCentre> CentreOf(int32_t mapNo, int32_t x, int32_t y) {
  if (mapNo != 0 && mapNo != 1) return kSurface;
  if (x >= 0 && x < kWorldWidth && y >= 0 && y < kWorldHeight) return kSurface;
  if (x >= 5120 && x <= 6143 && y >= 2304 && y <= 4095) return kDungeons;
  return std::nullopt;
}

// (value - centre) * 360 / span degrees, taken above 180 round to below 0, as
// degrees and minutes cut, with the letter of its side. Kept in integers so
// that a whole minute is never lost to rounding.
std::string Angle(int32_t value, int32_t centre, int32_t span, char positive, char negative) {
  int64_t numerator = (int64_t{value} - centre) * 360;
  if (numerator > int64_t{180} * span) numerator -= int64_t{360} * span;
  const char side = numerator >= 0 ? positive : negative;
  numerator = std::llabs(numerator);
  const int64_t degrees = numerator / span;
  const int64_t minutes = numerator % span * 60 / span;
  return NumberText(degrees) + "\xB0" + NumberText(minutes) + "'" + side;
}

}  // namespace

std::optional<std::string> SextantText(int32_t mapNo, int32_t x, int32_t y) {
  const std::optional<TCentre> centre = CentreOf(mapNo, x, y);
  if (!centre) return std::nullopt;
  return Angle(y, centre->Y, kWorldHeight, 'S', 'N') + " " +
         Angle(x, centre->X, kWorldWidth, 'E', 'W');
}

}  // namespace wf::places
