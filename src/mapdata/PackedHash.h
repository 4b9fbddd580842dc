#pragma once
// Names in a packed data file are found by a 64-bit hash of their bytes.

#include <cstdint>
#include <string_view>

namespace wf {

// Bob Jenkins' lookup3 `hashlittle2` over the name's bytes with both seeds 0;
// the two 32-bit results b and c give (b << 32) | c.
uint64_t PackedNameHash(std::string_view name);

}  // namespace wf
