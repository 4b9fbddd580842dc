#pragma once
// What the atlas window needs of the picture engine: a map to show and frames
// composed from it. The engine renders tiles on worker threads; composing
// never waits for them.

#include <cstdint>
#include <functional>

#include "atlas/AtlasScale.h"
#include "raster/Bitmap32.h"

namespace wf {
class TMap;
}

namespace wf::atlas {

// What the frame shows off the map: a dark slate that no cell has (a cell's
// channels are multiples of 8).
inline constexpr TColor32 BackgroundColor = MakeColor32(40, 44, 52, 255);

// Rows `top` to `bottom` (exclusive) of a frame being composed are complete.
// What is drawn over them now finds them still in the processor's cache.
using TBandDone = std::function<void(int32_t top, int32_t bottom)>;

class IAtlasPicture {
 public:
  virtual ~IAtlasPicture() = default;

  // The map to show from now on; null shows the background only. When it
  // returns, no worker touches the map shown before, so that map may be
  // destroyed (as a change of the game folder does). The map shown already
  // keeps its tiles: a map made anew in the place of the one shown (which may
  // get its address) must be preceded by SetMap(nullptr).
  virtual void SetMap(const TMap* map) = 0;

  // Fills `pixels` (frame.Width x frame.Height, rows top to bottom) with the
  // frame. Tiles not yet rendered are drawn from a coarser tile or the map's
  // overview and queued, nearest the frame's centre first; queued tiles the
  // frame no longer shows are dropped. True when every tile was there.
  // `bandDone`, where given, hears of every band of rows once, from the top
  // down, the whole frame at the end; it must not call the picture back.
  virtual bool Compose(const TAtlasFrame& frame, TColor32* pixels, const TBandDone& bandDone = {}) = 0;

  // Called on a worker thread whenever a tile that the last frame asked for
  // is ready; the window then composes again on its own thread. Set it before
  // the first frame. It must neither call the picture back nor wait for the
  // window's thread (post a message, do not send one): SetMap and the
  // destructor wait for the workers.
  std::function<void()> OnTileReady;
};

}  // namespace wf::atlas
