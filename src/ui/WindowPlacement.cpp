#include "ui/WindowPlacement.h"

#include <vector>

#include "common/IntegerText.h"

namespace wf::ui {

namespace {

constexpr std::string_view kMaximized = "maximized";

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (size_t start = 0;;) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

std::string PlacementText(const TWindowPlacement& placement) {
  std::string text = NumberText(placement.Left) + "," + NumberText(placement.Top) + "," +
                     NumberText(placement.Right) + "," + NumberText(placement.Bottom);
  if (placement.Maximized) {
    text += ',';
    text += kMaximized;
  }
  return text;
}

std::optional<TWindowPlacement> ParsePlacement(std::string_view text) {
  const std::vector<std::string_view> parts = Split(text, ',');
  if (parts.size() != 4 && !(parts.size() == 5 && parts[4] == kMaximized)) return std::nullopt;
  int32_t edges[4];
  for (int i = 0; i < 4; ++i) {
    const std::optional<int32_t> value = TryParseInteger(parts[i]);
    if (!value) return std::nullopt;
    edges[i] = *value;
  }
  const TWindowPlacement placement{edges[0], edges[1], edges[2], edges[3], parts.size() == 5};
  if (placement.Right <= placement.Left || placement.Bottom <= placement.Top) return std::nullopt;
  return placement;
}

}  // namespace wf::ui
