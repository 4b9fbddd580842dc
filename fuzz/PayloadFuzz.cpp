// libFuzzer entry for the position message reader and the name cleaner: what
// anyone on a group's topics may publish.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "friends/Payload.h"

namespace {

// Valid UTF-8 with at most `limit` code points.
bool CleanUtf8(std::string_view text, std::size_t limit) {
  std::size_t points = 0;
  for (std::size_t i = 0; i < text.size(); ++points) {
    const uint8_t lead = static_cast<uint8_t>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || i + length > text.size() || (lead < 0x20 && length == 1)) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<uint8_t>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return points <= limit;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string name = wf::friends::CleanName(input);
  if (!CleanUtf8(name, wf::friends::kMaxNameCharacters) || wf::friends::CleanName(name) != name) __builtin_trap();
  if (const auto heard = wf::friends::ReadPayload(input)) {
    if (!wf::friends::OnTheMap(heard->position)) __builtin_trap();
    // What was read is written and read back the same.
    const auto again = wf::friends::ReadPayload(wf::friends::WritePayload(heard->name, heard->position));
    if (!again || again->name != heard->name || !(again->position == heard->position)) __builtin_trap();
  }
  return 0;
}
