#include "mapdata/MapTable.h"

#include "mapdata/Map.h"

namespace wf {

TMapSet::TMapSet(const TConfig& config, platform::IMessageBoxes& messages) { Rebuild(config, messages); }

void TMapSet::Rebuild(const TConfig& config, platform::IMessageBoxes& messages) {
  std::unique_ptr<TMap> made[std::size(MapSlots)];
  for (size_t i = 0; i < std::size(MapSlots); ++i)
    made[i] = std::make_unique<TMap>(MapSlots[i].Number, config, messages);
  for (size_t i = 0; i < std::size(MapSlots); ++i) maps_[i] = std::move(made[i]);
}

TMapSet::~TMapSet() = default;

TMap* TMapSet::Find(int32_t mapNumber) const {
  for (size_t i = 0; i < std::size(MapSlots); ++i)
    if (MapSlots[i].Number == mapNumber) return maps_[i].get();
  return nullptr;
}

}  // namespace wf
