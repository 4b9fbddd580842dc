#include "atlas/AtlasScale.h"

namespace wf::atlas {

static_assert(Scales[OneToOne].CellsPerPixel == 1 && Scales[OneToOne].PixelsPerCell == 1);

}  // namespace wf::atlas
