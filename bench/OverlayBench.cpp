// What the atlas draws over a 1920 x 1080 frame with 2,000 places in view,
// beside copying the frame's picture alone (what composing from finished
// tiles costs at least), and the names' placement beside the plain way of
// testing every name against every one taken before.
//
// Run: build/native/bench/wayfarer-bench --benchmark_filter='Frame|Labels'

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "atlas/GridLines.h"
#include "atlas/OverlayDrawing.h"
#include "atlas/PlaceLabels.h"

namespace {

using namespace wf::atlas;

constexpr int32_t kWidth = 1920, kHeight = 1080;
constexpr int kPlaces = 2000;

// A 1:1 frame over cells (1000, 1000) on, 2,000 places spread over it with
// names 30 to 120 pixels wide, as a town-dense map shows them.
struct TScene {
  TAtlasFrame Frame{OneToOne, 1000, 1000, kWidth, kHeight};
  std::vector<TFramePoint> Cells;
  std::vector<wf::TColor32> Picture = std::vector<wf::TColor32>(size_t{kWidth} * kHeight);
  TScene() {
    std::mt19937 random(2000);
    for (int i = 0; i < kPlaces; ++i)
      Cells.push_back({1000 + static_cast<int64_t>(random() % kWidth), 1000 + static_cast<int64_t>(random() % kHeight)});
    for (wf::TColor32& pixel : Picture) pixel = 0xFF000000 | (random() & 0xFFFFFF);
  }
};

const TScene& Scene() {
  static const TScene scene;
  return scene;
}

std::vector<TPlaceInView> PlacesInView(const TScene& scene) {
  std::vector<TPlaceInView> places;
  places.reserve(scene.Cells.size());
  for (const TFramePoint& cell : scene.Cells) {
    const TFramePoint at = CellOnFrame(scene.Frame, cell.X, cell.Y);
    places.push_back({static_cast<int32_t>(at.X), static_cast<int32_t>(at.Y),
                      static_cast<int32_t>(30 + (cell.X * 7 + cell.Y) % 91), 16});
  }
  return places;
}

void FrameCopy(benchmark::State& state) {
  const TScene& scene = Scene();
  std::vector<wf::TColor32> frame(scene.Picture.size());
  for (auto _ : state) {
    std::memcpy(frame.data(), scene.Picture.data(), frame.size() * sizeof(wf::TColor32));
    benchmark::DoNotOptimize(frame.data());
  }
}

// Everything but the names' letters, which the window draws with its font.
void FrameCopyWithOverlays(benchmark::State& state) {
  const TScene& scene = Scene();
  std::vector<wf::TColor32> frame(scene.Picture.size());
  const TCanvas canvas{frame.data(), kWidth, kHeight};
  for (auto _ : state) {
    std::memcpy(frame.data(), scene.Picture.data(), frame.size() * sizeof(wf::TColor32));
    DrawGrid(canvas, GridLinesOf(scene.Frame, 7168, 4096));
    DrawDetailArea(canvas, CellsOnFrame(scene.Frame, 1500, 1300, 1600, 1400));
    const std::vector<TPlaceInView> places = PlacesInView(scene);
    for (const TPlaceInView& place : places) DrawPlaceMarker(canvas, {place.X, place.Y});
    benchmark::DoNotOptimize(PlaceLabels(places, kWidth, kHeight, PlaceUnderPointer(places, 960, 540)));
    DrawRuler(canvas, CellOnFrame(scene.Frame, 1100, 1100), CellOnFrame(scene.Frame, 2800, 1900));
    DrawPlayerMarker(canvas, CellOnFrame(scene.Frame, 1960, 1540));
    DrawPin(canvas, CellOnFrame(scene.Frame, 2000, 1500));
    benchmark::DoNotOptimize(frame.data());
  }
}

void PlaceLabels2000(benchmark::State& state) {
  const std::vector<TPlaceInView> places = PlacesInView(Scene());
  for (auto _ : state) benchmark::DoNotOptimize(PlaceLabels(places, kWidth, kHeight));
}

// The same choice, each name tested against every one taken before.
void PlaceLabels2000Plain(benchmark::State& state) {
  const std::vector<TPlaceInView> places = PlacesInView(Scene());
  for (auto _ : state) {
    std::vector<int> order(places.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    const auto distance = [&](int i) {
      const double dx = places[static_cast<size_t>(i)].X - kWidth / 2, dy = places[static_cast<size_t>(i)].Y - kHeight / 2;
      return dx * dx + dy * dy;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return distance(a) < distance(b); });
    std::vector<TFrameRect> taken;
    for (int i : order) {
      const TFrameRect box = LabelBoxOf(places[static_cast<size_t>(i)]);
      bool clear = true;
      for (const TFrameRect& other : taken)
        if (box.Left < other.Right && other.Left < box.Right && box.Top < other.Bottom && other.Top < box.Bottom) {
          clear = false;
          break;
        }
      if (clear) taken.push_back(box);
    }
    benchmark::DoNotOptimize(taken.data());
  }
}

BENCHMARK(FrameCopy)->Repetitions(9)->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameCopyWithOverlays)->Repetitions(9)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlaceLabels2000)->Repetitions(9)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlaceLabels2000Plain)->Repetitions(9)->Unit(benchmark::kMicrosecond);

}  // namespace
