#include "atlas/AtlasEngine.h"

#include <algorithm>

namespace wf::atlas {

int TAtlasEngine::DefaultWorkers() {
  return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

TAtlasEngine::TAtlasEngine(int workers, size_t cacheBytes)
    : cache_(cacheBytes),
      scratch_(static_cast<size_t>(std::max(workers, 0)) + 1),
      scratchBytes_(scratch_.size(), 0) {
  for (size_t i = 0; i + 1 < scratch_.size(); ++i) workers_.emplace_back([this, i] { Work(i); });
}

TAtlasEngine::~TAtlasEngine() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    cancel_ = true;
  }
  work_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void TAtlasEngine::SetMap(const TMap* map) {
  std::unique_lock lock(mutex_);
  if (map == map_) return;
  dropped_ += queue_.Size();
  queue_.Clear();
  cancel_ = true;
  idle_.wait(lock, [this] { return inFlight_.empty(); });
  cancel_ = false;
  cache_.Clear();
  files_.reset();
  map_ = map;
  shown_ = {};
}

bool TAtlasEngine::Compose(const TAtlasFrame& frame, TColor32* pixels, const TBandDone& bandDone) {
  if (!pixels || frame.Width <= 0 || frame.Height <= 0) return true;
  std::lock_guard lock(mutex_);
  const TMap* map = map_ && map_->IsLoaded() ? map_ : nullptr;
  const int64_t cellsWide = map ? int64_t{map->BlocksWide()} * 8 : 0;
  const int64_t cellsHigh = map ? int64_t{map->BlocksHigh()} * 8 : 0;
  const TFrameLayout layout = LayOutFrame(frame, cellsWide, cellsHigh);

  sources_.assign(static_cast<size_t>(layout.TilesAcross) * static_cast<size_t>(layout.TilesDown), {});
  missing_.clear();
  size_t present = 0, coming = 0;
  for (int32_t row = 0; row < layout.TilesDown; ++row)
    for (int32_t column = 0; column < layout.TilesAcross; ++column) {
      const TTileKey key{layout.Level, layout.FirstTileX + column, layout.FirstTileY + row};
      TTileSource& source = sources_[static_cast<size_t>(row * layout.TilesAcross + column)];
      if (const TColor32* tile = cache_.Find(key)) {
        source.Pixels = tile;
        ++present;
        continue;
      }
      source = StandInFor(key);
      if (InFlight(key))
        ++coming;
      else
        missing_.push_back(key);
    }
  const size_t taken = present + coming;
  const size_t room = cache_.Capacity() > taken ? cache_.Capacity() - taken : 0;
  dropped_ += queue_.Replace(missing_, layout.CentreX, layout.CentreY, room);
  shown_ = {layout.Level, layout.FirstTileX, layout.FirstTileY, layout.FirstTileX + layout.TilesAcross,
            layout.FirstTileY + layout.TilesDown};
  if (!queue_.Empty()) work_.notify_all();

  DrawFrame(frame, layout, sources_, {map ? map->GetOverview() : nullptr, cellsWide, cellsHigh}, pixels, bandDone);
  return missing_.empty() && coming == 0;
}

// The nearest coarser level first: its pixels are the closest to the truth.
TTileSource TAtlasEngine::StandInFor(const TTileKey& key) const {
  for (int shift = 1; shift <= key.Level; ++shift) {
    const TTileKey coarser{key.Level - shift, key.X >> shift, key.Y >> shift};
    if (const TColor32* tile = cache_.Peek(coarser)) {
      const int part = (1 << shift) - 1, step = TileSize >> shift;
      return {tile, shift, (key.X & part) * step, (key.Y & part) * step};
    }
  }
  return {};
}

bool TAtlasEngine::InFlight(const TTileKey& key) const {
  return std::find(inFlight_.begin(), inFlight_.end(), key) != inFlight_.end();
}

void TAtlasEngine::RunQueuedTiles() {
  std::unique_lock lock(mutex_);
  while (!queue_.Empty() && !stop_) RenderNext(lock, scratch_.size() - 1);
}

void TAtlasEngine::Work(size_t renderer) {
  std::unique_lock lock(mutex_);
  for (;;) {
    work_.wait(lock, [this] { return stop_ || !queue_.Empty(); });
    if (stop_) return;
    RenderNext(lock, renderer);
  }
}

void TAtlasEngine::RenderNext(std::unique_lock<std::mutex>& lock, size_t renderer) {
  const TTileKey key = *queue_.Pop();
  if (!files_) files_ = std::make_shared<const TMap::TMappedFiles>(map_->MapFiles());
  std::shared_ptr<const TMap::TMappedFiles> files = files_;
  const TMap& map = *map_;
  inFlight_.push_back(key);
  lock.unlock();

  auto pixels = std::make_unique_for_overwrite<TColor32[]>(TilePixels);
  const bool finished = RenderTile(map, *files, key, pixels.get(), scratch_[renderer], cancel_);
  files.reset();

  lock.lock();
  scratchBytes_[renderer] = scratch_[renderer].Bytes();
  NotePeak();  // the tile is still in flight, the cache maybe full
  inFlight_.erase(std::find(inFlight_.begin(), inFlight_.end(), key));
  const bool kept = finished && !cancel_;
  if (kept) {
    cache_.Insert(key, std::move(pixels));
    ++rendered_;
  }
  if (inFlight_.empty()) {
    idle_.notify_all();
    // The burst is over: the files are free for the patcher again.
    if (queue_.Empty()) files_.reset();
  }
  if (kept && shown_.Holds(key) && OnTileReady) {
    lock.unlock();
    OnTileReady();
    lock.lock();
  }
}

void TAtlasEngine::NotePeak() {
  size_t bytes = cache_.Bytes() + inFlight_.size() * TileBytes;
  for (size_t scratch : scratchBytes_) bytes += scratch;
  peakBytes_ = std::max(peakBytes_, bytes);
}

TAtlasStats TAtlasEngine::Stats() const {
  std::lock_guard lock(mutex_);
  TAtlasStats stats;
  stats.CachedTiles = cache_.Count();
  stats.CacheBytes = cache_.Bytes();
  stats.CacheBound = cache_.Capacity() * TileBytes;
  stats.PeakBytes = peakBytes_;
  stats.QueuedTiles = queue_.Size();
  stats.RenderedTiles = rendered_;
  stats.DroppedTiles = dropped_;
  return stats;
}

}  // namespace wf::atlas
