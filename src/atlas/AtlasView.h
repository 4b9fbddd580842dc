#pragma once
// Where the atlas looks: which cell lies under which device pixel of a frame,
// and how a frame moves when the user zooms, drags, pans or asks for a cell.
// Pure arithmetic over TAtlasFrame; no window is needed.
//
// Positions are worked out in eighths of a cell, the finest unit any scale
// shows (at 8:1 one device pixel is an eighth of a cell): a device pixel is
// taken at its middle, and a scaled pixel at 1:k is named by the middle cell
// of its box. Zooming keeps that middle where it was, so the cell (at 1:k the
// box) under a point stays under it, and zooming in and back out around the
// same point returns to the same frame.

#include <cstdint>
#include <optional>

#include "atlas/AtlasScale.h"

namespace wf::atlas {

struct TCellPoint {
  int64_t X = 0;
  int64_t Y = 0;
  bool operator==(const TCellPoint&) const = default;
};

// The map's size in cells; 0 x 0 while no map is shown.
struct TMapExtent {
  int64_t Width = 0;
  int64_t Height = 0;
};

// How many scaled pixels `cells` cells span at `scale`; a partial box counts.
int64_t ScaledExtent(int scale, int64_t cells);

// The cell under device pixel (x, y) of the frame, on the map or not.
TCellPoint CellAt(const TAtlasFrame& frame, int64_t x, int64_t y);
// The cell under the frame's middle pixel (Width / 2, Height / 2).
TCellPoint CentreCell(const TAtlasFrame& frame);
// The cell on the map that device pixel (x, y) names: as CellAt, but the
// map's last cell where a part box at its edge ends before its middle;
// nothing where the pixel shows no part of the map.
std::optional<TCellPoint> MapCellAt(const TAtlasFrame& frame, int64_t x, int64_t y, TMapExtent map);

// The frame at `scale` (clamped to the scales there are) with the cell under
// device pixel (x, y) still under it.
TAtlasFrame ZoomedAround(const TAtlasFrame& frame, int scale, int64_t x, int64_t y);
// The frame moved so that its picture moves `dx`, `dy` device pixels.
TAtlasFrame Dragged(const TAtlasFrame& frame, int64_t dx, int64_t dy);
// The frame at `scale` whose middle pixel shows `cell`.
TAtlasFrame CentredOn(int scale, TCellPoint cell, int32_t width, int32_t height);
// The closest scale at which the whole map fits into width x height, the map
// centred; the coarsest scale when even that is too large.
TAtlasFrame Fitted(TMapExtent map, int32_t width, int32_t height);
// The frame resized to width x height around the same middle.
TAtlasFrame Resized(const TAtlasFrame& frame, int32_t width, int32_t height);
// The frame moved the least so that its middle pixel lies on the map: however
// far the user pans or zooms out, the map never leaves the view.
TAtlasFrame Clamped(const TAtlasFrame& frame, TMapExtent map);

}  // namespace wf::atlas
