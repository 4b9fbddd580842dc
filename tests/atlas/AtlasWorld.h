#pragma once
// A world for the atlas's tests: map 4 (1448 x 1448 cells, a multiple of
// neither 16 nor 32) with random land and statics in the blocks along its
// left and right edges and plain land between them, and what the atlas must
// show of it, worked out cell by cell through the plain reader.

#include <cstdint>
#include <memory>
#include <vector>

#include "TestWorld.h"
#include "atlas/AtlasScale.h"
#include "mapdata/Map.h"

namespace wf::testing {

class TAtlasWorld {
 public:
  explicit TAtlasWorld(uint32_t seed);

  std::unique_ptr<TMap> OpenMap();
  int64_t Cells() const { return cells_; }
  // The colour of scaled pixel (sx, sy) at scale `scale`: a cell's colour,
  // or the mean of a box's cells on the map, or the background.
  TColor32 Expected(int scale, int64_t sx, int64_t sy) const;

 private:
  TTestWorld world_;
  FakeMessageBoxes boxes_;
  int64_t cells_ = 0;
  std::vector<TColor32> colors_;  // cell by cell, rows first
};

}  // namespace wf::testing
