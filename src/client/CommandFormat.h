#pragma once
// The travel command's text from a template, so that one program serves
// shards whose travel commands differ.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wf {

struct TTravelTarget {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Z = 0;
  int32_t Map = 0;
};

// What an absent or empty "commandformat" means.
inline constexpr std::string_view kDefaultCommandFormat = "GoSelf {x} {y} {z} {map}";

// The names shards give the maps 0 to 5; other numbers are named by their number.
std::string FacetName(int32_t map);
std::string RealmName(int32_t map);

struct TFormattedCommand {
  std::string Text;   // the command, or empty when the template is not usable
  std::string Error;  // why the template is not usable; empty when it is
};

// True when the text holds a control character (below 32, 127, or one of the
// code page's unassigned bytes, which stand for control characters): typed
// into the client, it would act as a key of its own (Backspace, Escape).
bool HoldsControlCharacter(std::string_view text);

// Replaces {x}, {y}, {z}, {map}, {facet} and {realm} by the target's values,
// {{ and }} by single braces, and copies everything else. Any other use of a
// brace makes the template unusable.
TFormattedCommand FormatCommand(std::string_view format, const TTravelTarget& target);

}  // namespace wf
