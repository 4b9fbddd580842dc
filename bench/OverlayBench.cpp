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

// 2,000 places spread over a frame with names 30 to 120 pixels wide, as a
// town-dense map shows them, over a picture of any colours.
struct TScene {
  std::vector<TPlaceInView> Places;
  std::vector<wf::TColor32> Picture = std::vector<wf::TColor32>(size_t{kWidth} * kHeight);
  TScene() {
    std::mt19937 random(2000);
    for (int i = 0; i < kPlaces; ++i)
      Places.push_back({static_cast<int32_t>(random() % kWidth), static_cast<int32_t>(random() % kHeight),
                        static_cast<int32_t>(30 + random() % 91), 16});
    for (wf::TColor32& pixel : Picture) pixel = 0xFF000000 | (random() & 0xFFFFFF);
  }
};

const TScene& Scene() {
  static const TScene scene;
  return scene;
}

// A frame at the scale the case is given, over cells (1000, 1000) on at 1:1.
TAtlasFrame FrameAt(int scale) {
  const int64_t origin = ScaledBegin(scale, 1000);
  return {scale, origin, origin, kWidth, kHeight};
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
// The scale changes the grid: a line every 64 cells at 1:1, every 8 at 2:1.
void FrameCopyWithOverlays(benchmark::State& state) {
  const TScene& scene = Scene();
  const TAtlasFrame frame = FrameAt(static_cast<int>(state.range(0)));
  std::vector<wf::TColor32> pixels(scene.Picture.size());
  const TCanvas canvas{pixels.data(), kWidth, kHeight};
  for (auto _ : state) {
    std::memcpy(pixels.data(), scene.Picture.data(), pixels.size() * sizeof(wf::TColor32));
    DrawGrid(canvas, GridLinesOf(frame, 7168, 4096));
    DrawDetailArea(canvas, CellsOnFrame(frame, 1200, 1100, 1300, 1200));
    for (const TPlaceInView& place : scene.Places) DrawPlaceMarker(canvas, {place.X, place.Y});
    benchmark::DoNotOptimize(PlaceLabels(scene.Places, kWidth, kHeight, PlaceUnderPointer(scene.Places, 960, 540)));
    DrawRuler(canvas, CellOnFrame(frame, 1010, 1010), CellOnFrame(frame, 1900, 1500));
    DrawPlayerMarker(canvas, CellOnFrame(frame, 1400, 1250));
    DrawPin(canvas, CellOnFrame(frame, 1420, 1260));
    benchmark::DoNotOptimize(pixels.data());
  }
}

void PlaceLabels2000(benchmark::State& state) {
  const std::vector<TPlaceInView>& places = Scene().Places;
  for (auto _ : state) benchmark::DoNotOptimize(PlaceLabels(places, kWidth, kHeight));
}

// The same choice, each name tested against every one taken before.
void PlaceLabels2000Plain(benchmark::State& state) {
  const std::vector<TPlaceInView>& places = Scene().Places;
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
BENCHMARK(FrameCopyWithOverlays)->Arg(OneToOne)->Arg(OneToOne + 1)->Repetitions(9)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlaceLabels2000)->Repetitions(9)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlaceLabels2000Plain)->Repetitions(9)->Unit(benchmark::kMicrosecond);

}  // namespace
