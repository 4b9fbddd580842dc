#include "friends/Payload.h"

#include <nlohmann/json.hpp>

#include "friends/MqttPackets.h"
#include "mapdata/MapTable.h"

namespace wf::friends {

namespace {

using Json = nlohmann::json;

// Characters that would let a name reorder or hide the text around it.
bool Unshowable(char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return true;
  if (c == 0x061C || c == 0x200E || c == 0x200F) return true;  // direction marks
  if (c >= 0x202A && c <= 0x202E) return true;                  // embeddings and overrides
  if (c >= 0x2066 && c <= 0x2069) return true;                  // isolates
  return false;
}

// The code point at the front of `text` and its length in bytes; a length of
// zero for a broken, overlong or surrogate sequence.
std::pair<char32_t, std::size_t> NextCodePoint(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t c = 0;
  char32_t smallest = 0;
  if ((lead & 0xE0) == 0xC0) { length = 2; c = lead & 0x1F; smallest = 0x80; }
  else if ((lead & 0xF0) == 0xE0) { length = 3; c = lead & 0x0F; smallest = 0x800; }
  else if ((lead & 0xF8) == 0xF0) { length = 4; c = lead & 0x07; smallest = 0x10000; }
  else return {0, 0};
  if (text.size() < length) return {0, 0};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {0, 0};
    c = (c << 6) | (byte(i) & 0x3F);
  }
  if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {0, 0};
  return {c, length};
}

std::optional<int> IntegerField(const Json& message, const char* key, int low, int high) {
  const auto found = message.find(key);
  if (found == message.end() || !found->is_number_integer()) return std::nullopt;
  // Signed and unsigned both arrive here; compare in the widest type.
  const auto value = found->is_number_unsigned() ? static_cast<long long>(std::min<uint64_t>(
                                                       found->get<uint64_t>(), uint64_t{1} << 62))
                                                 : found->get<long long>();
  if (value < low || value > high) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

std::string CleanName(std::string_view name) {
  std::string out;
  std::size_t characters = 0;
  while (!name.empty() && characters < kMaxNameCharacters) {
    const auto [c, length] = NextCodePoint(name);
    if (length == 0) {
      name.remove_prefix(1);
      continue;
    }
    if (!Unshowable(c)) {
      out.append(name.substr(0, length));
      ++characters;
    }
    name.remove_prefix(length);
  }
  return out;
}

bool OnTheMap(const SharedPosition& position) {
  if (!FindMapSlot(position.map)) return false;
  const TMapSize size = LargestMapSizeOf(position.map);
  if (position.x < 0 || position.y < 0) return false;
  if (position.x >= size.BlocksWide * 8 || position.y >= size.BlocksHigh * 8) return false;
  return !position.z || (*position.z >= kMinZ && *position.z <= kMaxZ);
}

std::optional<HeardPosition> ReadPayload(std::string_view payload) {
  if (payload.empty() || payload.size() > mqtt::kMaxPayload) return std::nullopt;
  // No exceptions: a parse error is one more message to drop.
  const Json message = Json::parse(payload.begin(), payload.end(), nullptr, false);
  if (message.is_discarded() || !message.is_object()) return std::nullopt;
  const auto version = IntegerField(message, "v", 1, 1);
  const auto name = message.find("name");
  if (!version || name == message.end() || !name->is_string()) return std::nullopt;
  HeardPosition heard;
  const auto map = IntegerField(message, "map", 0, 0x7FFF);
  const auto x = IntegerField(message, "x", 0, 0x7FFF);
  const auto y = IntegerField(message, "y", 0, 0x7FFF);
  if (!map || !x || !y) return std::nullopt;
  heard.position = {*x, *y, std::nullopt, *map};
  if (message.contains("z")) {
    heard.position.z = IntegerField(message, "z", kMinZ, kMaxZ);
    if (!heard.position.z) return std::nullopt;
  }
  if (!OnTheMap(heard.position)) return std::nullopt;
  heard.name = CleanName(name->get_ref<const std::string&>());
  return heard;
}

std::string WritePayload(std::string_view name, const SharedPosition& position) {
  // Keys kept in this order, so whoever reads the messages by eye sees the
  // same shape every time.
  nlohmann::ordered_json message;
  message["v"] = 1;
  message["name"] = CleanName(name);
  message["x"] = position.x;
  message["y"] = position.y;
  if (position.z) message["z"] = *position.z;
  message["map"] = position.map;
  return message.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace wf::friends
