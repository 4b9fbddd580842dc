#pragma once
// The atlas's picture engine: tiles rendered by worker threads into a
// bounded cache, frames composed from whatever is cached.
//
// One mutex guards the queue, the cache and the map; a worker holds it only
// to take a tile and to file it, never while it renders. The map's files are
// mapped once per burst of work (from the first tile taken to the queue
// running dry) and shared by the workers, so tiles pay no page faults of
// their own, and the game's patcher is kept from the files only while tiles
// are being made.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "atlas/AtlasPicture.h"
#include "atlas/FrameDrawing.h"
#include "atlas/TileCache.h"
#include "atlas/TileQueue.h"
#include "atlas/TileRender.h"
#include "mapdata/Map.h"

namespace wf::atlas {

struct TAtlasStats {
  size_t CachedTiles = 0;
  size_t CacheBytes = 0;
  size_t CacheBound = 0;
  // The most that tile pixels (cached or being rendered) and the renderers'
  // scratch held at one time since the engine was made.
  size_t PeakBytes = 0;
  size_t QueuedTiles = 0;
  uint64_t RenderedTiles = 0;  // finished and cached
  uint64_t DroppedTiles = 0;   // queued, then dropped as the view moved on
};

class TAtlasEngine final : public IAtlasPicture {
 public:
  // Leaves room within 48 MiB for the window's own buffer of a full-HD
  // frame (8 MiB) and the renderers' scratch, and still holds every tile of
  // a 4K frame at 1:1.
  static constexpr size_t DefaultCacheBytes = size_t{36} << 20;
  // The machine's cores, at least 1 and at most 4.
  static int DefaultWorkers();

  // `workers` threads render tiles; with none, tiles are rendered only by
  // RunQueuedTiles, as tests do.
  explicit TAtlasEngine(int workers = DefaultWorkers(), size_t cacheBytes = DefaultCacheBytes);
  // Stops the workers, abandoning the tiles they render.
  ~TAtlasEngine() override;
  TAtlasEngine(const TAtlasEngine&) = delete;
  TAtlasEngine& operator=(const TAtlasEngine&) = delete;

  void SetMap(const TMap* map) override;
  // A frame that needs more tiles than the cache holds gets those nearest its
  // centre; the rest stay stand-ins, so the workers never chase their own tail.
  bool Compose(const TAtlasFrame& frame, TColor32* pixels, const TBandDone& bandDone = {}) override;

  // Renders the queued tiles on the calling thread until none is left.
  void RunQueuedTiles();
  TAtlasStats Stats() const;

 private:
  // The tiles of the last frame, for OnTileReady.
  struct TShownTiles {
    int32_t Level = -1;
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;  // right and bottom exclusive
    bool Holds(const TTileKey& key) const {
      return key.Level == Level && key.X >= Left && key.X < Right && key.Y >= Top && key.Y < Bottom;
    }
  };

  void Work(size_t renderer);
  // With the lock held and a tile queued: renders it (without the lock) and files it.
  void RenderNext(std::unique_lock<std::mutex>& lock, size_t renderer);
  TTileSource StandInFor(const TTileKey& key) const;
  bool InFlight(const TTileKey& key) const;
  void NotePeak();

  mutable std::mutex mutex_;
  std::condition_variable work_;  // tiles queued, or stop
  std::condition_variable idle_;  // no tile in flight
  bool stop_ = false;
  std::atomic<bool> cancel_{false};  // abandon the tiles in flight
  const TMap* map_ = nullptr;
  std::shared_ptr<const TMap::TMappedFiles> files_;  // while tiles are being made
  TTileQueue queue_;
  TTileCache cache_;
  std::vector<TTileKey> inFlight_;
  TShownTiles shown_;
  // One per worker, the last for RunQueuedTiles; each used by its renderer
  // only, its size noted under the lock.
  std::vector<TTileScratch> scratch_;
  std::vector<size_t> scratchBytes_;
  size_t peakBytes_ = 0;
  uint64_t rendered_ = 0;
  uint64_t dropped_ = 0;
  // Compose's lists, kept from frame to frame.
  std::vector<TTileSource> sources_;
  std::vector<TTileKey> missing_;
  std::vector<std::thread> workers_;  // last: started once everything else is there
};

}  // namespace wf::atlas
