// Until the map data library is part of the build, the window's tests link
// against this TMap, which behaves as a map whose data files are missing: not
// loaded, size 0, every query 0 or none.

#include "mapdata/Map.h"
#include "platform/Files.h"

namespace wf {

TColor32 RadarColorToColor32(uint16_t) { return 0; }

TMap::TMap(int32_t mapNumber, const TConfig&, platform::IMessageBoxes&)
    : LoadFailed(true), FMapNumber(mapNumber) {}

TMap::~TMap() = default;

uint16_t TMap::GetLandTile(int32_t, int32_t) const { return 0; }
int32_t TMap::GetAltitude(int32_t, int32_t) const { return 0; }
std::unique_ptr<TBitmap32> TMap::RenderDetail(uint16_t, uint16_t, uint16_t) const { return nullptr; }
std::unique_ptr<TBitmap32> TMap::BuildOverview() const { return nullptr; }

}  // namespace wf
