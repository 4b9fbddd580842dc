#pragma once
// Composing a frame: which tiles of which level it shows, and copying their
// pixels (or a stand-in's) to the frame, magnified at the m:1 scales.

#include <cstdint>
#include <vector>

#include "atlas/AtlasPicture.h"
#include "atlas/AtlasScale.h"
#include "atlas/TileKey.h"

namespace wf {
class TBitmap32;
}

namespace wf::atlas {

struct TFrameLayout {
  int Level = OneToOne;
  int64_t Magnify = 1;                   // device pixels per level pixel, each way
  int64_t LevelWide = 0, LevelHigh = 0;  // the map, in level pixels
  // The tiles on the map that the frame shows; none when it shows only the
  // background.
  int32_t FirstTileX = 0, FirstTileY = 0;
  int32_t TilesAcross = 0, TilesDown = 0;
  double CentreX = 0, CentreY = 0;  // the frame's centre, in level pixels
};

// A map of `cellsWide` x `cellsHigh` cells seen through `frame`. A scale that
// is not one of Scales, or an origin so far out that no map comes near it,
// shows the background only.
TFrameLayout LayOutFrame(const TAtlasFrame& frame, int64_t cellsWide, int64_t cellsHigh);

// Where one tile's area is drawn from: its own pixels (Shift 0), or those of
// a coarser tile that holds the area, one of whose pixels stands for
// 2^Shift x 2^Shift of this level's, the area starting at (OffsetX, OffsetY)
// in it. Without pixels: the map's overview.
struct TTileSource {
  const TColor32* Pixels = nullptr;
  int Shift = 0;
  int OffsetX = 0, OffsetY = 0;
};

// The map's overview, stretched over the map as a last stand-in.
struct TOverviewStandIn {
  const TBitmap32* Overview = nullptr;  // none: the background
  int64_t CellsWide = 0, CellsHigh = 0;
};

// Fills the frame (frame.Width x frame.Height pixels, rows top to bottom):
// the tiles' areas from `sources` (TilesAcross x TilesDown of them, a row of
// tiles after another), the background off the map. Bands of about
// BandRows rows are reported to `bandDone` as they are finished; a band ends
// where a row of level pixels does, as the rows of one are copies of its
// first.
inline constexpr int32_t BandRows = 32;
void DrawFrame(const TAtlasFrame& frame, const TFrameLayout& layout, const std::vector<TTileSource>& sources,
               const TOverviewStandIn& overview, TColor32* pixels, const TBandDone& bandDone = {});

}  // namespace wf::atlas
