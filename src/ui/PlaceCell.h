#pragma once
// Where a stored place lies, read from its coordinate text.

#include <cstdint>
#include <optional>
#include <utility>

#include "common/IntegerText.h"
#include "ui/Locations.h"

namespace wf::ui {

// X and Y of a place, where its coordinate text holds them as numbers.
inline std::optional<std::pair<int32_t, int32_t>> PlaceCell(const TLocation& place) {
  const std::vector<std::string> items = ParseCommaText(place.Coords, 2);
  if (items.size() < 2) return std::nullopt;
  const auto x = TryParseInteger(items[0]);
  const auto y = TryParseInteger(items[1]);
  if (!x || !y) return std::nullopt;
  return std::make_pair(*x, *y);
}

}  // namespace wf::ui
