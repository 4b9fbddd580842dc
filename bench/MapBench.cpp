// The map pictures on the full-size demo world, each measured beside the
// plain reading (one positioned read per block, index entry, static record
// and radar colour, nothing cached) that the map's own code replaces, and
// where the map's cells come packed, through the map on both forms of them.
//
// Run: build/native/bench/wayfarer-bench [--benchmark_filter=...]
// It writes the demo world into a temporary folder first (a few seconds) and
// prints the medians side by side with their ratios at the end.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include "BenchWorld.h"
#include "DemoWorld.h"
#include "ImportBench.h"
#include "LiteralMap.h"
#include "config/Config.h"
#include "mapdata/Map.h"

namespace {

using wf::TConfig;
using wf::TMap;
using wf::testing::TLiteralMap;

using wf::bench::Median;
using wf::bench::TBenchWorld;

TBenchWorld& World() {
  using wf::worldgen::DemoMapNumbers;
  static TBenchWorld world("wayfarer-bench-world", {std::begin(DemoMapNumbers), std::end(DemoMapNumbers)});
  return world;
}

wf::bench::TSilentBoxes boxes;

void Overview(benchmark::State& state) {
  const auto number = static_cast<int32_t>(state.range(0));
  TMap map(number, World().Config, boxes);
  for (auto _ : state) benchmark::DoNotOptimize(map.BuildOverview());
}

void OverviewPacked(benchmark::State& state) {
  const auto number = static_cast<int32_t>(state.range(0));
  TMap map(number, World().PackedConfig, boxes);
  for (auto _ : state) benchmark::DoNotOptimize(map.BuildOverview());
}

void OverviewPlain(benchmark::State& state) {
  const auto number = static_cast<int32_t>(state.range(0));
  TLiteralMap map(number, World().Config);
  for (auto _ : state) benchmark::DoNotOptimize(map.Overview());
}

void ConstructAllMaps(benchmark::State& state) {
  for (auto _ : state)
    for (int32_t number : wf::worldgen::DemoMapNumbers) {
      TMap map(number, World().Config, boxes);
      benchmark::DoNotOptimize(map.GetOverview());
    }
}

void ConstructAllMapsPacked(benchmark::State& state) {
  for (auto _ : state)
    for (int32_t number : wf::worldgen::DemoMapNumbers) {
      TMap map(number, World().PackedConfig, boxes);
      benchmark::DoNotOptimize(map.GetOverview());
    }
}

void ConstructAllMapsPlain(benchmark::State& state) {
  for (auto _ : state)
    for (int32_t number : wf::worldgen::DemoMapNumbers) {
      TLiteralMap map(number, World().Config);
      benchmark::DoNotOptimize(map.Overview());
    }
}

void Detail(benchmark::State& state) {
  const auto& town = World().Info.DensestTownOfMap0;
  TMap map(town.MapNumber, World().Config, boxes);
  const auto zoom = static_cast<uint16_t>(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(map.RenderDetail(static_cast<uint16_t>(town.X), static_cast<uint16_t>(town.Y), zoom));
}

void DetailPacked(benchmark::State& state) {
  const auto& town = World().Info.DensestTownOfMap0;
  TMap map(town.MapNumber, World().PackedConfig, boxes);
  const auto zoom = static_cast<uint16_t>(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(map.RenderDetail(static_cast<uint16_t>(town.X), static_cast<uint16_t>(town.Y), zoom));
}

void DetailPlain(benchmark::State& state) {
  const auto& town = World().Info.DensestTownOfMap0;
  TLiteralMap map(town.MapNumber, World().Config);
  const auto zoom = static_cast<uint16_t>(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(map.Detail(static_cast<uint16_t>(town.X), static_cast<uint16_t>(town.Y), zoom));
}

constexpr int Repetitions = 9;

using TCase = void (*)(benchmark::State&);

// Each case as the map reads it, as the plain reading does, and (where given)
// as the map reads the packed form of the same cells. The repetitions take
// turns (the first of each form, then the second of each, ...): on a shared
// machine the load drifts during a run, and a case measured all at once would
// see another load than the one it is compared with.
void Register(const char* name, TCase fast, TCase plain, TCase packed, std::vector<int64_t> args) {
  for (int64_t arg : args)
    for (int repetition = 0; repetition < Repetitions; ++repetition)
      for (auto [suffix, function] : {std::pair{"", fast}, {"Plain", plain}, {"Packed", packed}}) {
        if (!function) continue;
        auto* b = benchmark::RegisterBenchmark((std::string(name) + suffix).c_str(), function);
        if (arg >= 0) b->Arg(arg);
        b->Unit(benchmark::kMicrosecond)->MinTime(0.2);
      }
}

// Prints as usual and collects each case's times, for the medians and their
// ratios at the end.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  TRatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration) {
        times_[Shown(run.run_name.str())].push_back(run.GetAdjustedRealTime());
        cpuTimes_[Shown(run.run_name.str())].push_back(run.GetAdjustedCPUTime());
      }
  }
  // Plain reading over the map (how many times faster the map is), then the
  // packed form over the plain one through the map (1.00: as fast), then a
  // file's whole work over reading the file alone (how many times slower); in
  // wall clock time, and in CPU time, which a busy machine disturbs less.
  void PrintRatios() const {
    for (const auto* table : {&times_, &cpuTimes_}) {
      const char* kind = table == &times_ ? "wall, median of 9, us" : "CPU, median of 9, us";
      std::printf("\n%-28s %14s %14s %8s\n", kind, "map", "plain", "ratio");
      for (const auto& [name, times] : *table)
        if (auto other = Counterpart(*table, name, "Plain"))
          std::printf("%-28s %14.1f %14.1f %7.0fx\n", name.c_str(), Median(times), *other, *other / Median(times));
      std::printf("\n%-28s %14s %14s %8s\n", kind, "plain file", "packed file", "ratio");
      for (const auto& [name, times] : *table)
        if (auto other = Counterpart(*table, name, "Packed"))
          std::printf("%-28s %14.1f %14.1f %8.2f\n", name.c_str(), Median(times), *other, *other / Median(times));
      std::printf("\n%-28s %14s %14s %8s\n", kind, "whole work", "file alone", "ratio");
      for (const auto& [name, times] : *table)
        if (auto other = Counterpart(*table, name, "ReadAlone"))
          std::printf("%-28s %14.1f %14.1f %7.1fx\n", name.c_str(), Median(times), *other, Median(times) / *other);
    }
  }

 private:
  using TTimes = std::map<std::string, std::vector<double>>;
  static std::optional<double> Counterpart(const TTimes& table, const std::string& name, const char* suffix) {
    std::string other = name;
    const size_t slash = other.find('/');
    other.insert(slash == std::string::npos ? other.size() : slash, suffix);
    auto found = table.find(other);
    if (found == table.end()) return std::nullopt;
    return Median(found->second);
  }
  static std::string Shown(const std::string& name) { return name.substr(0, name.find("/min_time")); }

  TTimes times_, cpuTimes_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const auto& town = World().Info.DensestTownOfMap0;
  std::fprintf(stderr, "densest town of map 0: %s at %d,%d (%zu statics in its middle block)\n", town.Name.c_str(),
               town.X, town.Y, World().Info.DensestTownOfMap0Statics);
  Register("Overview", Overview, OverviewPlain, nullptr, {2, 3, 4, 5});
  Register("Overview", Overview, OverviewPlain, OverviewPacked, {0, 1});
  Register("ConstructAllMaps", ConstructAllMaps, ConstructAllMapsPlain, ConstructAllMapsPacked, {-1});
  Register("DetailDensestTownOfMap0", Detail, DetailPlain, DetailPacked, {1, 16});
  wf::bench::RegisterImportCases(Repetitions);
  TRatioReporter reporter;  // plain text, also when written to a file
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
