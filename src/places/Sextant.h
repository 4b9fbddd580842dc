#pragma once
// The sextant position of a cell, as the game's sextants read it.

#include <cstdint>
#include <optional>
#include <string>

namespace wf::places {

// "12°34'S 5°7'E" (the degree sign as code page byte 0xB0): latitude first,
// whole degrees and whole minutes; nothing where the map has no reading there.
std::optional<std::string> SextantText(int32_t mapNo, int32_t x, int32_t y);

}  // namespace wf::places
