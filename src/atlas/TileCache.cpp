#include "atlas/TileCache.h"

namespace wf::atlas {

const TColor32* TTileCache::Find(const TTileKey& key) {
  const auto found = index_.find(key);
  if (found == index_.end()) return nullptr;
  entries_.splice(entries_.begin(), entries_, found->second);
  return found->second->Pixels.get();
}

const TColor32* TTileCache::Peek(const TTileKey& key) const {
  const auto found = index_.find(key);
  return found == index_.end() ? nullptr : found->second->Pixels.get();
}

void TTileCache::Insert(const TTileKey& key, std::unique_ptr<TColor32[]> pixels) {
  if (capacity_ == 0) return;
  if (const auto found = index_.find(key); found != index_.end()) {
    found->second->Pixels = std::move(pixels);
    entries_.splice(entries_.begin(), entries_, found->second);
    return;
  }
  if (entries_.size() == capacity_) {
    index_.erase(entries_.back().Key);
    entries_.pop_back();
  }
  entries_.push_front({key, std::move(pixels)});
  index_.emplace(key, entries_.begin());
}

void TTileCache::Clear() {
  index_.clear();
  entries_.clear();
}

}  // namespace wf::atlas
