#pragma once
// Finished tiles, held within a fixed number of bytes: once another tile
// would pass the bound, the one used least recently goes.

#include <cstddef>
#include <list>
#include <memory>
#include <unordered_map>

#include "atlas/TileKey.h"

namespace wf::atlas {

class TTileCache {
 public:
  explicit TTileCache(size_t byteBound) : capacity_(byteBound / TileBytes) {}

  // How many tiles the bound holds.
  size_t Capacity() const { return capacity_; }
  size_t Count() const { return entries_.size(); }
  size_t Bytes() const { return entries_.size() * TileBytes; }

  // The tile's TilePixels pixels, marked as just used; null when not held.
  const TColor32* Find(const TTileKey& key);
  // The same without marking it: a stand-in is not a reason to keep a tile.
  const TColor32* Peek(const TTileKey& key) const;
  // Holds the tile (in place of an older one of the same key) as just used.
  void Insert(const TTileKey& key, std::unique_ptr<TColor32[]> pixels);
  void Clear();

 private:
  struct TEntry {
    TTileKey Key;
    std::unique_ptr<TColor32[]> Pixels;
  };
  using TEntries = std::list<TEntry>;  // most recently used first

  size_t capacity_;
  TEntries entries_;
  std::unordered_map<TTileKey, TEntries::iterator, TTileKeyHash> index_;
};

}  // namespace wf::atlas
