#include "mapdata/MapTable.h"

#include "mapdata/Map.h"

namespace wf {

TMapSet::TMapSet(const TConfig& config, platform::IMessageBoxes& messages) {
  for (size_t i = 0; i < std::size(MapSlots); ++i)
    maps_[i] = std::make_unique<TMap>(MapSlots[i].Number, config, messages);
}

TMapSet::~TMapSet() = default;

TMap* TMapSet::Find(int32_t mapNumber) const {
  for (size_t i = 0; i < std::size(MapSlots); ++i)
    if (MapSlots[i].Number == mapNumber) return maps_[i].get();
  return nullptr;
}

}  // namespace wf
