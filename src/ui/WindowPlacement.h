#pragma once
// Where a top-level window was left, as the configuration keeps it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wf::ui {

// The window's normal (restored) rectangle in desktop pixels, right and bottom
// exclusive, and whether it was maximised. A window left minimised comes back
// as it was before.
struct TWindowPlacement {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  bool Maximized = false;
  bool operator==(const TWindowPlacement&) const = default;
};

// "left,top,right,bottom", then ",maximized" for a maximised window.
std::string PlacementText(const TWindowPlacement& placement);

// Nothing for text that is not written so, or whose rectangle is empty:
// a hand-edited value the window cannot use is ignored, never obeyed halfway.
std::optional<TWindowPlacement> ParsePlacement(std::string_view text);

}  // namespace wf::ui
