#include "atlas/TileQueue.h"

#include <algorithm>
#include <tuple>
#include <unordered_set>

namespace wf::atlas {

size_t TTileQueue::Replace(const std::vector<TTileKey>& wanted, double centreX, double centreY, size_t limit) {
  struct TPlaced {
    double Distance;
    TTileKey Key;
  };
  std::vector<TPlaced> placed;
  placed.reserve(wanted.size());
  for (const TTileKey& key : wanted) {
    const double dx = (key.X + 0.5) * TileSize - centreX, dy = (key.Y + 0.5) * TileSize - centreY;
    placed.push_back({dx * dx + dy * dy, key});
  }
  // Equal distances in a fixed order, so the same frame always queues alike.
  const auto nearer = [](const TPlaced& a, const TPlaced& b) {
    return std::tie(a.Distance, a.Key.Level, a.Key.Y, a.Key.X) < std::tie(b.Distance, b.Key.Level, b.Key.Y, b.Key.X);
  };
  const size_t kept = std::min(limit, placed.size());
  std::partial_sort(placed.begin(), placed.begin() + static_cast<std::ptrdiff_t>(kept), placed.end(), nearer);
  placed.resize(kept);

  std::unordered_set<TTileKey, TTileKeyHash> queued;
  for (const TPlaced& p : placed) queued.insert(p.Key);
  size_t dropped = 0;
  for (const TTileKey& key : farthestFirst_) dropped += queued.count(key) == 0;

  farthestFirst_.clear();
  for (auto p = placed.rbegin(); p != placed.rend(); ++p) farthestFirst_.push_back(p->Key);
  return dropped;
}

std::optional<TTileKey> TTileQueue::Pop() {
  if (farthestFirst_.empty()) return std::nullopt;
  const TTileKey next = farthestFirst_.back();
  farthestFirst_.pop_back();
  return next;
}

}  // namespace wf::atlas
