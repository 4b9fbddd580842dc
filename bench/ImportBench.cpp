// 100,000 markers, half of them sharing ten names, imported into 5,000 places:
// the file read and told apart from the other formats, and its places added
// with their names numbered where taken. Beside it, the same file read alone
// as the marker file it is (its bytes, and its markers as places), which no
// import can do without.

#include "ImportBench.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "places/MarkerFormats.h"
#include "ui/Locations.h"
#include "ui/PlacesImport.h"

namespace wf::bench {

namespace {

constexpr int kMarkers = 100'000;
constexpr int kPlaces = 5'000;
constexpr int kSharedNames = 10;

struct TImportFiles {
  std::filesystem::path Dir;
  std::string Markers;
  ui::TLocationList Places;

  TImportFiles() {
    Dir = std::filesystem::temp_directory_path() / ("wayfarer-bench-import-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(Dir);
    std::mt19937 random(18);
    const auto name = [&](int i) {
      return i % 2 == 0 ? "Moongate " + std::to_string(random() % kSharedNames) : "Place " + std::to_string(i);
    };
    std::string text = "3\r\n";
    for (int i = 0; i < kMarkers; ++i)
      text += "+shrine: " + std::to_string(random() % 7168) + " " + std::to_string(random() % 4096) + " " +
              std::to_string(1 + random() % 6) + " " + name(i) + "\r\n";
    Markers = (Dir / "markers.map").string();
    std::ofstream(Markers, std::ios::binary) << text;
    for (int i = 0; i < kPlaces; ++i)
      Places.push_back(std::make_unique<ui::TLocation>(ui::TLocation{
          i < kSharedNames ? "Moongate " + std::to_string(i) : "Ort " + std::to_string(i),
          std::to_string(random() % 7168) + "," + std::to_string(random() % 4096) + ",0",
          static_cast<uint16_t>(random() % 6)}));
    ui::SortLocations(Places);
  }
  ~TImportFiles() {
    std::error_code ec;
    std::filesystem::remove_all(Dir, ec);
  }
};

TImportFiles& Files() {
  static TImportFiles files;
  return files;
}

std::string ReadBytes(const std::string& path) {
  std::string reason;
  std::optional<std::string> bytes = ui::ReadPlacesFileBytes(path, platform::ShareMode::DenyNone, &reason);
  if (!bytes) throw std::runtime_error(path + ": " + reason);
  return std::move(*bytes);
}

void ImportMarkers(benchmark::State& state) {
  const TImportFiles& files = Files();
  for (auto _ : state) {
    state.PauseTiming();
    ui::TLocationList places;
    for (const auto& place : files.Places) places.push_back(std::make_unique<ui::TLocation>(*place));
    state.ResumeTiming();
    const places::TReadResult read = ui::ReadPlacesToImport(ReadBytes(files.Markers), files.Markers);
    const places::TImportCounts counts = ui::AddImportedPlaces(places, read, [](uint16_t, int32_t, int32_t) { return 0; });
    benchmark::DoNotOptimize(counts);
    state.PauseTiming();
    places.clear();  // its release is no part of the import
    state.ResumeTiming();
  }
}

void ImportMarkersReadAlone(benchmark::State& state) {
  const TImportFiles& files = Files();
  for (auto _ : state) benchmark::DoNotOptimize(places::ReadMarkerFile(ReadBytes(files.Markers)));
}

}  // namespace

void RegisterImportCases(int repetitions) {
  Files();
  for (int repetition = 0; repetition < repetitions; ++repetition)
    for (auto [name, function] : {std::pair{"ImportMarkers", &ImportMarkers},
                                  std::pair{"ImportMarkersReadAlone", &ImportMarkersReadAlone}})
      benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMicrosecond)->MinTime(0.2);
}

}  // namespace wf::bench
