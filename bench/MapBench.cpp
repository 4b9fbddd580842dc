// The map pictures on the full-size demo world, each measured beside the
// plain reading (one positioned read per block, index entry, static record
// and radar colour, nothing cached) that the map's own code replaces.
//
// Run: build/native/bench/wayfarer-bench [--benchmark_filter=...]
// It writes the demo world into a temporary folder first (a few seconds) and
// prints the medians side by side with their ratios at the end.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "DemoWorld.h"
#include "LiteralMap.h"
#include "common/IntegerText.h"
#include "config/Config.h"
#include "mapdata/Map.h"
#include "platform/Desktop.h"

namespace {

using wf::TConfig;
using wf::TMap;
using wf::testing::TLiteralMap;

class TSilentBoxes : public wf::platform::IMessageBoxes {
 public:
  void ShowError(const std::string&, const std::string&) override {}
};

// The demo world, written once for the whole run.
struct TWorld {
  std::filesystem::path Dir;
  TConfig Config;
  wf::worldgen::TDemoWorld Info;

  TWorld() {
    Dir = std::filesystem::temp_directory_path() / "wayfarer-bench-world";
    std::filesystem::create_directories(Dir);
    std::fprintf(stderr, "writing the demo world to %s\n", Dir.string().c_str());
    Info = wf::worldgen::WriteDemoWorld(Dir.string());
    for (int32_t number : wf::worldgen::DemoMapNumbers) {
      const std::string suffix = number == 0 ? "" : wf::NumberText(number);
      for (const char* word : {"map", "statics", "staidx"})
        Config.AddPair(word + suffix, (Dir / wf::worldgen::DemoFileName(word, number)).string());
    }
    Config.AddPair("radarcol", (Dir / "radarcol.mul").string());
  }
  ~TWorld() {
    std::error_code ec;
    std::filesystem::remove_all(Dir, ec);
  }
};

TWorld& World() {
  static TWorld world;
  return world;
}

TSilentBoxes boxes;

void Overview(benchmark::State& state) {
  const auto number = static_cast<int32_t>(state.range(0));
  TMap map(number, World().Config, boxes);
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

void ConstructAllMapsPlain(benchmark::State& state) {
  for (auto _ : state)
    for (int32_t number : wf::worldgen::DemoMapNumbers) {
      TLiteralMap map(number, World().Config);
      benchmark::DoNotOptimize(map.Overview());
    }
}

void Detail(benchmark::State& state) {
  const auto& town = World().Info.DensestTown;
  TMap map(town.MapNumber, World().Config, boxes);
  const auto zoom = static_cast<uint16_t>(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(map.RenderDetail(static_cast<uint16_t>(town.X), static_cast<uint16_t>(town.Y), zoom));
}

void DetailPlain(benchmark::State& state) {
  const auto& town = World().Info.DensestTown;
  TLiteralMap map(town.MapNumber, World().Config);
  const auto zoom = static_cast<uint16_t>(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(map.Detail(static_cast<uint16_t>(town.X), static_cast<uint16_t>(town.Y), zoom));
}

constexpr int Repetitions = 9;

void Register(const char* name, void (*fast)(benchmark::State&), void (*plain)(benchmark::State&),
              std::vector<int64_t> args) {
  for (int64_t arg : args) {
    for (auto [suffix, function] : {std::pair{"", fast}, {"Plain", plain}}) {
      auto* b = benchmark::RegisterBenchmark((std::string(name) + suffix).c_str(), function);
      if (arg >= 0) b->Arg(arg);
      b->Unit(benchmark::kMicrosecond)->Repetitions(Repetitions)->ReportAggregatesOnly(true)->MinTime(0.2);
    }
  }
}

// Prints as usual and remembers each median, for the ratios at the end.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  TRatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        medians_[run.run_name.str()] = run.GetAdjustedRealTime();
  }
  void PrintRatios() const {
    std::printf("\n%-22s %14s %14s %8s\n", "median, us", "map", "plain", "ratio");
    for (const auto& [name, time] : medians_) {
      std::string plain = name;
      const size_t slash = plain.find('/');
      plain.insert(slash == std::string::npos ? plain.size() : slash, "Plain");
      auto found = medians_.find(plain);
      if (found == medians_.end()) continue;
      const std::string shown = name.substr(0, name.find("/min_time"));
      std::printf("%-22s %14.1f %14.1f %7.0fx\n", shown.c_str(), time, found->second, found->second / time);
    }
  }

 private:
  std::map<std::string, double> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::fprintf(stderr, "densest town: %s on map %d at %d,%d (%zu statics in its middle block)\n",
               World().Info.DensestTown.Name.c_str(), World().Info.DensestTown.MapNumber,
               World().Info.DensestTown.X, World().Info.DensestTown.Y, World().Info.DensestTownStatics);
  Register("Overview", Overview, OverviewPlain, {0, 2, 3, 4});
  Register("ConstructAllMaps", ConstructAllMaps, ConstructAllMapsPlain, {-1});
  Register("DetailDensestTown", Detail, DetailPlain, {1, 16});
  TRatioReporter reporter;  // plain text, also when written to a file
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
