#pragma once
// The game's maps as one table: every place that walks the maps walks this
// table, so a new map is one more row.

#include <cstdint>
#include <memory>
#include <span>

#include "mapdata/MapFormat.h"

namespace wf {

class TConfig;
class TMap;
namespace platform {
class IMessageBoxes;
}  // namespace platform

struct TMapSlot {
  int32_t Number;
  // Configuration keys of the map cell, statics index and statics files.
  const char* CellKey;
  const char* StaIdxKey;
  const char* StaticsKey;
  // The map's item in the map choice list.
  const char* ChoiceText;
  TMapSize Size;
  // The size of a map whose cell data holds at least this many blocks; the
  // same as Size for maps that have one size only.
  TMapSize LargeSize;
};

// In map number order; map 0 comes first and is the one every fallback uses.
inline constexpr TMapSlot MapSlots[] = {
    {0, "map", "staidx", "statics", "Map0.mul", {768, 512}, {896, 512}},
    {1, "map1", "staidx1", "statics1", "Map1.mul", {768, 512}, {896, 512}},
    {2, "map2", "staidx2", "statics2", "Map2.mul", {288, 200}, {288, 200}},
    {3, "map3", "staidx3", "statics3", "Map3.mul", {320, 256}, {320, 256}},
    {4, "map4", "staidx4", "statics4", "Map4.mul", {181, 181}, {181, 181}},
    {5, "map5", "staidx5", "statics5", "Map5.mul", {160, 512}, {160, 512}},
};

// The row of a map number; null when the number names no map.
constexpr const TMapSlot* FindMapSlot(int32_t mapNumber) {
  for (const TMapSlot& slot : MapSlots)
    if (slot.Number == mapNumber) return &slot;
  return nullptr;
}

// The size of a map whose cell data holds `blocksHeld` blocks; numbers
// without a row follow map 0's rule.
constexpr TMapSize MapSizeOf(int32_t mapNumber, uint64_t blocksHeld = 0) {
  const TMapSlot* slot = FindMapSlot(mapNumber);
  if (!slot) slot = &MapSlots[0];
  const TMapSize large = slot->LargeSize;
  return blocksHeld >= uint64_t(large.BlocksWide) * uint64_t(large.BlocksHigh) ? large : slot->Size;
}

// The largest size a map can have.
constexpr TMapSize LargestMapSizeOf(int32_t mapNumber) {
  const TMapSlot* slot = FindMapSlot(mapNumber);
  return slot ? slot->LargeSize : MapSlots[0].LargeSize;
}

// One TMap for every row of the table, made in table order (so map 0's box,
// if any, comes first) and destroyed together.
class TMapSet {
 public:
  TMapSet(const TConfig& config, platform::IMessageBoxes& messages);
  ~TMapSet();
  TMapSet(const TMapSet&) = delete;
  TMapSet& operator=(const TMapSet&) = delete;

  // Makes every map anew from the configuration as it stands, as when the
  // game's files have moved; pointers to the old maps are no longer valid.
  // When a file cannot be opened (EFOpenError) the old maps stay.
  void Rebuild(const TConfig& config, platform::IMessageBoxes& messages);

  // The map of a number; null when the number has no row.
  TMap* Find(int32_t mapNumber) const;
  TMap& First() const { return *maps_[0]; }
  std::span<const std::unique_ptr<TMap>> All() const { return maps_; }

 private:
  std::unique_ptr<TMap> maps_[std::size(MapSlots)];
};

}  // namespace wf
