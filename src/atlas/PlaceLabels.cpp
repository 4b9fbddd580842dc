#include "atlas/PlaceLabels.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "atlas/OverlayDrawing.h"

namespace wf::atlas {

namespace {

// About one short name each, so a box looks into a few buckets only.
constexpr int32_t kBucketWidth = 128;
constexpr int32_t kBucketHeight = 32;
constexpr int32_t kLabelGap = 3;

bool Overlap(const TFrameRect& a, const TFrameRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// Buckets over the view, each a chain of the labels taken that reach into it,
// kept in two flat arrays so that a frame allocates a few times only. Boxes
// reaching past the view fall into the edge buckets, so any box, however far
// off, has buckets and the grid stays small.
class TBuckets {
 public:
  TBuckets(int32_t width, int32_t height)
      : columns_(std::max(1, (width + kBucketWidth - 1) / kBucketWidth)),
        rows_(std::max(1, (height + kBucketHeight - 1) / kBucketHeight)),
        heads_(static_cast<size_t>(columns_) * static_cast<size_t>(rows_), -1) {}

  template <typename Visit>
  bool Any(const TFrameRect& box, Visit visit) const {
    const TSpan s = SpanOf(box);
    for (int row = s.Top; row <= s.Bottom; ++row)
      for (int column = s.Left; column <= s.Right; ++column)
        for (int link = heads_[static_cast<size_t>(row * columns_ + column)]; link >= 0;
             link = links_[static_cast<size_t>(link)].Next)
          if (visit(links_[static_cast<size_t>(link)].Label)) return true;
    return false;
  }

  void Add(const TFrameRect& box, int label) {
    const TSpan s = SpanOf(box);
    for (int row = s.Top; row <= s.Bottom; ++row)
      for (int column = s.Left; column <= s.Right; ++column) {
        int& head = heads_[static_cast<size_t>(row * columns_ + column)];
        links_.push_back({label, head});
        head = static_cast<int>(links_.size()) - 1;
      }
  }

 private:
  struct TSpan {
    int Left, Top, Right, Bottom;
  };
  struct TLink {
    int Label, Next;
  };
  static int Clamp(int64_t at, int64_t size, int count) {
    return static_cast<int>(std::min<int64_t>(std::max<int64_t>(at, 0) / size, count - 1));
  }
  TSpan SpanOf(const TFrameRect& box) const {
    return {Clamp(box.Left, kBucketWidth, columns_), Clamp(box.Top, kBucketHeight, rows_),
            Clamp(box.Right - 1, kBucketWidth, columns_), Clamp(box.Bottom - 1, kBucketHeight, rows_)};
  }

  int columns_, rows_;
  std::vector<int> heads_;
  std::vector<TLink> links_;
};

}  // namespace

TFrameRect LabelBoxOf(const TPlaceInView& place) {
  const int64_t left = int64_t{place.X} + PlaceMarkerReach + 1 + kLabelGap;
  const int64_t top = int64_t{place.Y} - place.LabelHeight / 2;
  return {left, top, left + std::max(place.LabelWidth, 0), top + std::max(place.LabelHeight, 0)};
}

std::vector<TPlacedLabel> PlaceLabels(std::span<const TPlaceInView> places, int32_t viewWidth,
                                      int32_t viewHeight, int first) {
  const int64_t centreX = viewWidth / 2, centreY = viewHeight / 2;
  // Distances in floating point, as squares of positions far off the view
  // would overflow; the index breaks ties, and puts `first` before all.
  std::vector<std::tuple<int, double, int>> order(places.size());
  for (size_t i = 0; i < places.size(); ++i) {
    const double dx = static_cast<double>(places[i].X - centreX), dy = static_cast<double>(places[i].Y - centreY);
    const int rank = static_cast<int>(i) == first ? 0 : places[i].Ahead ? 1 : 2;
    order[i] = {rank, dx * dx + dy * dy, static_cast<int>(i)};
  }
  std::sort(order.begin(), order.end());

  std::vector<TPlacedLabel> placed;
  TBuckets buckets(viewWidth, viewHeight);
  for (const auto& [rank, distance, index] : order) {
    const TFrameRect box = LabelBoxOf(places[static_cast<size_t>(index)]);
    if (box.Right <= box.Left || box.Bottom <= box.Top) continue;
    if (buckets.Any(box, [&](int held) { return Overlap(box, placed[static_cast<size_t>(held)].Box); }))
      continue;
    buckets.Add(box, static_cast<int>(placed.size()));
    placed.push_back({index, box});
  }
  return placed;
}

int PlaceUnderPointer(std::span<const TPlaceInView> places, int32_t x, int32_t y) {
  int nearest = -1;
  int64_t nearestDistance = PointerReach + 1;
  for (size_t i = 0; i < places.size(); ++i) {
    const int64_t distance =
        std::max(std::llabs(int64_t{places[i].X} - x), std::llabs(int64_t{places[i].Y} - y));
    if (distance < nearestDistance) {
      nearest = static_cast<int>(i);
      nearestDistance = distance;
    }
  }
  return nearest;
}

}  // namespace wf::atlas
