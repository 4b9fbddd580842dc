#pragma once
// The tiles waiting for a worker. Every frame says anew which tiles it still
// misses, so what waits is replaced whole: tiles that left the view are
// dropped, and the rest are taken nearest the frame's centre first, where
// the eye is.

#include <cstddef>
#include <optional>
#include <vector>

#include "atlas/TileKey.h"

namespace wf::atlas {

class TTileQueue {
 public:
  // Queues the `limit` tiles of `wanted` nearest the point (centreX, centreY),
  // in pixels of their level, in place of what waited before; returns how many
  // of the tiles that waited are not queued any more.
  size_t Replace(const std::vector<TTileKey>& wanted, double centreX, double centreY, size_t limit);
  // The nearest waiting tile, taken off the queue.
  std::optional<TTileKey> Pop();
  void Clear() { farthestFirst_.clear(); }
  bool Empty() const { return farthestFirst_.empty(); }
  size_t Size() const { return farthestFirst_.size(); }

 private:
  std::vector<TTileKey> farthestFirst_;  // the next one at the back
};

}  // namespace wf::atlas
