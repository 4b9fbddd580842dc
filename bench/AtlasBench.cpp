// The atlas's picture engine on the demo world's packed map 0 (7168 x 4096
// cells), its view 1920 x 1080 device pixels centred on the densest town,
// beside the baseline: the whole map rendered at 1:1 into one image before
// anything is shown, as a viewer that draws everything first does (T).
//
// Run: build/native/bench/wayfarer-atlas-bench [--benchmark_filter=...]
// It writes map 0 of the demo world into a temporary folder first and prints
// each case's median beside T and its goal at the end.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "BenchWorld.h"
#include "atlas/AtlasEngine.h"
#include "atlas/AtlasOverlays.h"
#include "atlas/FrameDrawing.h"
#include "atlas/TileRender.h"
#include "mapdata/Map.h"

namespace {

using namespace wf::atlas;
using wf::TMap;
using wf::bench::Median;

constexpr int32_t ViewWidth = 1920, ViewHeight = 1080;

struct TAtlasWorld {
  wf::bench::TBenchWorld Files{"wayfarer-atlas-bench-world", {0}};
  wf::bench::TSilentBoxes Boxes;
  TMap Map{0, Files.PackedConfig, Boxes};
};

TAtlasWorld& World() {
  static TAtlasWorld world;
  return world;
}

// The view at a scale, centred on the densest town of map 0.
TAtlasFrame View(int scale) {
  const auto& town = World().Files.Info.DensestTownOfMap0;
  const TScale& s = Scales[scale];
  const int64_t x = int64_t{town.X} * s.PixelsPerCell / s.CellsPerPixel + s.PixelsPerCell / 2;
  const int64_t y = int64_t{town.Y} * s.PixelsPerCell / s.CellsPerPixel + s.PixelsPerCell / 2;
  return {scale, x - ViewWidth / 2, y - ViewHeight / 2, ViewWidth, ViewHeight};
}

constexpr size_t FrameBytes = size_t{ViewWidth} * ViewHeight * sizeof(wf::TColor32);
size_t peakBytes = 0;  // of every engine's tiles and scratch, and one frame

// An engine with its default workers that says when a tile it asked for is
// ready.
struct TWaitingEngine {
  TAtlasEngine Engine;
  std::mutex Mutex;
  std::condition_variable Ready;
  std::vector<wf::TColor32> Pixels = std::vector<wf::TColor32>(size_t{ViewWidth} * ViewHeight);

  TWaitingEngine() {
    Engine.OnTileReady = [this] {
      std::lock_guard lock(Mutex);
      Ready.notify_all();
    };
    Engine.SetMap(&World().Map);
  }
  ~TWaitingEngine() { peakBytes = std::max(peakBytes, Engine.Stats().PeakBytes + FrameBytes); }
  void CompleteFrame(const TAtlasFrame& frame) {
    std::unique_lock lock(Mutex);
    while (!Engine.Compose(frame, Pixels.data())) Ready.wait(lock);
  }
};

void Baseline(benchmark::State& state) {
  const TMap& map = World().Map;
  for (auto _ : state) {
    const TMap::TMappedFiles files = map.MapFiles();
    auto image = std::make_unique_for_overwrite<wf::TColor32[]>(size_t{7168} * 4096);
    map.ReadCellColors(files, 0, 0, map.BlocksWide(), map.BlocksHigh(), image.get(), size_t(map.BlocksWide()) * 8);
    benchmark::DoNotOptimize(image.get());
  }
}

void FirstFrame(benchmark::State& state) {
  const auto scale = static_cast<int>(state.range(0));
  TWaitingEngine waiting;
  for (auto _ : state) {
    state.PauseTiming();
    waiting.Engine.SetMap(nullptr);  // an empty cache, and the files let go
    waiting.Engine.SetMap(&World().Map);
    state.ResumeTiming();
    waiting.CompleteFrame(View(scale));
  }
}

void ComposeCached(benchmark::State& state) {
  const auto scale = static_cast<int>(state.range(0));
  TWaitingEngine waiting;
  waiting.CompleteFrame(View(scale));
  for (auto _ : state) benchmark::DoNotOptimize(waiting.Engine.Compose(View(scale), waiting.Pixels.data()));
}

// 2,000 places spread over the view at a scale, with names of 4 to 23
// letters, and the names' sizes as the window keeps them once measured (6
// pixels a letter and 15 high in the window's font, outline included).
struct TPlacesInView : ILabelMeasure {
  std::vector<TPlaceMark> Places;
  std::unordered_map<std::string, TLabelSize> Sizes;
  explicit TPlacesInView(const TAtlasFrame& frame) {
    std::mt19937 random(2000);
    const TCellPoint first = CellAt(frame, 0, 0), last = CellAt(frame, frame.Width - 1, frame.Height - 1);
    for (int i = 0; i < 2000; ++i) {
      std::string name(4 + random() % 20, 'a');
      for (char& letter : name) letter = static_cast<char>('a' + random() % 26);
      Places.push_back({static_cast<int32_t>(first.X + random() % (last.X - first.X + 1)),
                        static_cast<int32_t>(first.Y + random() % (last.Y - first.Y + 1)), name});
      Sizes[name] = {static_cast<int32_t>(6 * name.size() + 2), 15};
    }
  }
  TLabelSize LabelSize(const std::string& text) override { return Sizes.at(text); }
};

// 256 friends (as many as the link keeps) spread over the view, with names of
// 3 to 16 letters, one in three faded; their names' sizes join the places'.
std::vector<TFriendMark> FriendsInView(const TAtlasFrame& frame, TPlacesInView& measured) {
  std::mt19937 random(256);
  const TCellPoint first = CellAt(frame, 0, 0), last = CellAt(frame, frame.Width - 1, frame.Height - 1);
  std::vector<TFriendMark> friends;
  for (int i = 0; i < 256; ++i) {
    std::string name(3 + random() % 14, 'A');
    for (char& letter : name) letter = static_cast<char>('A' + random() % 26);
    friends.push_back({static_cast<int32_t>(first.X + random() % (last.X - first.X + 1)),
                       static_cast<int32_t>(first.Y + random() % (last.Y - first.Y + 1)), name,
                       static_cast<wf::TColor32>(0xFF000000 | (random() & 0xFFFFFF)), i % 3 == 0});
    measured.Sizes[name] = {static_cast<int32_t>(6 * name.size() + 2), 15};
  }
  return friends;
}

// The cached frame composed and every overlay drawn over it: the grid, the
// detail area, 2,000 places with their names' layout, a ruler across the
// view, the pin and the player, the pointer on a place. The names' letters
// are written by the window with GDI afterwards and are not in it.
void ComposeWithOverlays(benchmark::State& state, bool withFriends) {
  const auto scale = static_cast<int>(state.range(0));
  const TAtlasFrame frame = View(scale);
  TWaitingEngine waiting;
  waiting.CompleteFrame(frame);
  TPlacesInView places(frame);
  const std::vector<TFriendMark> friends = withFriends ? FriendsInView(frame, places) : std::vector<TFriendMark>{};
  const TCellPoint centre = CentreCell(frame), corner = CellAt(frame, 40, 40);
  TOverlays overlays;
  overlays.Grid = true;
  overlays.DetailCells = TFrameRect{centre.X - 50, centre.Y - 50, centre.X + 50, centre.Y + 50};
  overlays.Player = TCellPoint{centre.X + 3, centre.Y + 3};
  overlays.Pin = TCellPoint{centre.X - 3, centre.Y - 3};
  overlays.RulerFrom = corner;
  overlays.RulerTo = CellAt(frame, frame.Width - 40, frame.Height - 40);
  overlays.Pointer = CellOnFrame(frame, places.Places[0].X, places.Places[0].Y);
  overlays.Friends = friends;
  const TMapExtent map{int64_t{World().Map.BlocksWide()} * 8, int64_t{World().Map.BlocksHigh()} * 8};
  size_t names = 0;
  wf::TColor32* pixels = waiting.Pixels.data();
  for (auto _ : state) {
    // As the atlas paints: laid out, then drawn band by band as composed.
    const TOverlayPass pass(frame, map, places.Places, overlays, places);
    waiting.Engine.Compose(frame, pixels, [&](int32_t top, int32_t bottom) { pass.DrawBand(pixels, top, bottom); });
    pass.DrawLast(pixels);
    names = pass.Labels().size();
  }
  state.counters["names"] = static_cast<double>(names);
}
void ComposeWithOverlays(benchmark::State& state) { ComposeWithOverlays(state, false); }
// The same with 256 friends in view besides: markers, names laid out first.
void ComposeWithFriends(benchmark::State& state) { ComposeWithOverlays(state, true); }

// The view at 1:1 moved over the whole map a view's width or height at a time,
// each frame completed: the map has far more tiles than the cache holds, so
// this is where the memory's bound is met.
void PanWholeMap(benchmark::State& state) {
  for (auto _ : state) {
    TWaitingEngine waiting;
    for (int64_t y = 0; y < 4096; y += ViewHeight)
      for (int64_t x = 0; x < 7168; x += ViewWidth) waiting.CompleteFrame({OneToOne, x, y, ViewWidth, ViewHeight});
  }
}

// The view's 1:1 tiles on one thread, through one mapping of the files for
// all of them or through a mapping of their own each: what the mappings'
// lifetime costs.
void ViewTiles(benchmark::State& state, bool mappingPerTile) {
  const TMap& map = World().Map;
  const TFrameLayout layout = LayOutFrame(View(OneToOne), map.BlocksWide() * 8, map.BlocksHigh() * 8);
  std::vector<wf::TColor32> pixels(TilePixels);
  TTileScratch scratch;
  const std::atomic<bool> cancel{false};
  for (auto _ : state) {
    TMap::TMappedFiles shared = map.MapFiles();
    for (int32_t j = 0; j < layout.TilesDown; ++j)
      for (int32_t i = 0; i < layout.TilesAcross; ++i) {
        const TTileKey key{OneToOne, layout.FirstTileX + i, layout.FirstTileY + j};
        RenderTile(map, mappingPerTile ? map.MapFiles() : shared, key, pixels.data(), scratch, cancel);
      }
  }
}
void ViewTilesOneMapping(benchmark::State& state) { ViewTiles(state, false); }
void ViewTilesMappingPerTile(benchmark::State& state) { ViewTiles(state, true); }

constexpr int Repetitions = 9;
// The overlays are measured beside composing alone (ComposeCached) at these
// scales: the grid every 64 cells with the pointed name only, every 64 with
// all names, and every 8 with all names.
constexpr int kOverlayScales[] = {3, OneToOne, OneToOne + 1};

// Every case once, then every case again, and so on: on a shared machine the
// load drifts, and a case measured all at once would see another load than
// the baseline it is compared with.
void RegisterAll() {
  for (int repetition = 0; repetition < Repetitions; ++repetition) {
    benchmark::RegisterBenchmark("Baseline", Baseline)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(0.5);
    for (int scale = 0; scale < ScaleCount; ++scale)
      benchmark::RegisterBenchmark("FirstFrame", FirstFrame)
          ->Arg(scale)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(0.3);
    for (int scale = 0; scale < ScaleCount; ++scale)
      benchmark::RegisterBenchmark("ComposeCached", ComposeCached)
          ->Arg(scale)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(0.1);
    for (const int scale : kOverlayScales)
      benchmark::RegisterBenchmark("ComposeWithOverlays", ComposeWithOverlays)
          ->Arg(scale)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(0.1);
    for (const int scale : kOverlayScales)
      benchmark::RegisterBenchmark("ComposeWithFriends", ComposeWithFriends)
          ->Arg(scale)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(0.1);
    benchmark::RegisterBenchmark("PanWholeMap", PanWholeMap)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(1);
    benchmark::RegisterBenchmark("ViewTilesOneMapping", ViewTilesOneMapping)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(0.3);
    benchmark::RegisterBenchmark("ViewTilesMappingPerTile", ViewTilesMappingPerTile)
        ->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(0.3);
  }
}

// Prints as usual and keeps each case's times for the summary: wall clock,
// and the CPU time of the whole process (the workers' too), which a machine
// busy with other work disturbs less.
class TSummaryReporter : public benchmark::ConsoleReporter {
 public:
  TSummaryReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration) {
        const std::string name = run.run_name.str();
        const std::string shown = name.substr(0, std::min(name.find("/min_time"), name.find("/iterations")));
        times_[shown].push_back(run.GetAdjustedRealTime());
        cpuTimes_[shown].push_back(run.GetAdjustedCPUTime());
      }
  }
  // Each case's median against T and the goal it has.
  void PrintSummary() const {
    const double t = Median(Times(times_, "Baseline")), cpuT = Median(Times(cpuTimes_, "Baseline"));
    std::printf("\n%-24s %10s %8s %10s %8s %8s\n", "median of 9, ms", "wall", "of T", "CPU", "of T", "goal");
    std::printf("%-24s %10.1f %8s %10.1f %8s\n", "Baseline (T)", t, "1", cpuT, "1");
    for (const char* kind : {"FirstFrame", "ComposeCached"})
      for (int scale = 0; scale < ScaleCount; ++scale) {
        const std::string key = std::string(kind) + "/" + std::to_string(scale);
        const double ms = Median(Times(times_, key)), cpu = Median(Times(cpuTimes_, key));
        const char* goal = kind[0] == 'C' ? "T/100" : scale >= OneToOne ? "T/10" : "T/2";
        const std::string name = std::string(kind) + " " + Scales[scale].Text;
        std::printf("%-24s %10.2f %8s %10.2f %8s %8s\n", name.c_str(), ms, Ratio(t, ms).c_str(), cpu,
                    Ratio(cpuT, cpu).c_str(), goal);
      }
    std::printf("\n%-24s %10s %10s %8s %10s %10s %8s %8s\n", "overlays, median, ms", "compose", "+overlays",
                "ratio", "CPU", "+overlays", "ratio", "goal");
    for (const int scale : kOverlayScales) {
      const std::string plain = "ComposeCached/" + std::to_string(scale);
      const std::string drawn = "ComposeWithOverlays/" + std::to_string(scale);
      const double ms = Median(Times(times_, plain)), with = Median(Times(times_, drawn));
      const double cpu = Median(Times(cpuTimes_, plain)), cpuWith = Median(Times(cpuTimes_, drawn));
      std::printf("%-24s %10.2f %10.2f %8.2f %10.2f %10.2f %8.2f %8s\n", Scales[scale].Text, ms, with, with / ms, cpu,
                  cpuWith, cpuWith / cpu, "2");
    }
    std::printf("\n%-24s %10s %10s %8s %10s %10s %8s %8s\n", "+256 friends, median, ms", "compose", "+all",
                "ratio", "CPU", "+all", "ratio", "goal");
    for (const int scale : kOverlayScales) {
      const std::string plain = "ComposeCached/" + std::to_string(scale);
      const std::string drawn = "ComposeWithFriends/" + std::to_string(scale);
      const double ms = Median(Times(times_, plain)), with = Median(Times(times_, drawn));
      const double cpu = Median(Times(cpuTimes_, plain)), cpuWith = Median(Times(cpuTimes_, drawn));
      std::printf("%-24s %10.2f %10.2f %8.2f %10.2f %10.2f %8.2f %8s\n", Scales[scale].Text, ms, with, with / ms, cpu,
                  cpuWith, cpuWith / cpu, "2");
    }
    for (const char* name : {"PanWholeMap", "ViewTilesOneMapping", "ViewTilesMappingPerTile"})
      std::printf("%-24s %10.2f %8s %10.2f\n", name, Median(Times(times_, name)), "",
                  Median(Times(cpuTimes_, name)));
    std::printf("\npeak of the tiles, the renderers' scratch and one frame: %.1f MiB (goal 48 MiB)\n",
                static_cast<double>(peakBytes) / (1 << 20));
  }

 private:
  using TTimes = std::map<std::string, std::vector<double>>;
  static std::vector<double> Times(const TTimes& table, const std::string& name) {
    const auto found = table.find(name);
    return found == table.end() ? std::vector<double>{} : found->second;
  }
  // "T/n": the time as a part of T.
  static std::string Ratio(double t, double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "T/%.0f", ms > 0 ? t / ms : 0.0);
    return text;
  }
  TTimes times_, cpuTimes_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const auto& town = World().Files.Info.DensestTownOfMap0;
  std::fprintf(stderr, "densest town of map 0: %s at %d,%d; %d workers\n", town.Name.c_str(), town.X, town.Y,
               TAtlasEngine::DefaultWorkers());
  RegisterAll();
  TSummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  benchmark::Shutdown();
  return 0;
}
