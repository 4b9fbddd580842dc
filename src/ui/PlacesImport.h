#pragma once
// Places from other tools' files added to the player's: which format a file
// is, and how its places join the list, in time linear in their number.

#include <cstdint>
#include <functional>
#include <string_view>

#include "places/ImportReport.h"
#include "places/MarkerFormats.h"
#include "ui/Locations.h"

namespace wf::ui {

// The places of a file's bytes in whichever format reads the most of them: a
// places file of this program (read as the program reads its own, encoding
// included), a marker file or marker CSV. Raises when the bytes are UTF-16
// text the program cannot hold.
places::TReadResult ReadPlacesToImport(std::string_view bytes, const std::string& fileName);

// The land altitude of a cell of a map, for places that come without a Z.
using TAltitudeOf = std::function<int32_t(uint16_t map, int32_t x, int32_t y)>;

// Adds the places read to `places`, which stays sorted by name. A place that
// is there already (the same name, or that name numbered as a taken name is,
// at the same X, Y and map) is counted, not added; a name that is taken gets
// the lowest free number, as "Neu" numbers it.
places::TImportCounts AddImportedPlaces(TLocationList& places, const places::TReadResult& read,
                                        const TAltitudeOf& altitude);

}  // namespace wf::ui
