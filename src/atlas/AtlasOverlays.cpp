#include "atlas/AtlasOverlays.h"

#include <algorithm>

#include "atlas/GridLines.h"
#include "atlas/PlaceLabels.h"

namespace wf::atlas {

namespace {

// A marker whose centre lies this far off the frame still shows a part of
// itself, or is within the pointer's reach.
constexpr int64_t kMargin = std::max(PlaceMarkerReach, PointerReach);

// The places near enough the frame to matter, and which mark each one is.
struct TInView {
  std::vector<TPlaceInView> Places;
  std::vector<int> Marks;
};

// Positions near enough the frame to matter, and which of the given each is.
template <typename Mark>
TInView MarksInView(const TAtlasFrame& frame, std::span<const Mark> marks) {
  TInView found;
  for (size_t i = 0; i < marks.size(); ++i) {
    const TFramePoint at = CellOnFrame(frame, marks[i].X, marks[i].Y);
    if (at.X < -kMargin || at.Y < -kMargin || at.X >= frame.Width + kMargin || at.Y >= frame.Height + kMargin)
      continue;
    found.Places.push_back({static_cast<int32_t>(at.X), static_cast<int32_t>(at.Y), 0, 0});
    found.Marks.push_back(static_cast<int>(i));
  }
  return found;
}

// From the top down, each row's places in their order: bucketed by row,
// which costs less than drawing them.
std::vector<TFramePoint> TopDown(const TAtlasFrame& frame, std::span<const TPlaceInView> places) {
  std::vector<size_t> first(static_cast<size_t>(frame.Height + 2 * kMargin + 1), 0);
  const auto rowOf = [](const TPlaceInView& place) { return static_cast<size_t>(place.Y + kMargin); };
  for (const TPlaceInView& place : places) ++first[rowOf(place) + 1];
  for (size_t row = 1; row < first.size(); ++row) first[row] += first[row - 1];
  std::vector<TFramePoint> sorted(places.size());
  for (const TPlaceInView& place : places) sorted[first[rowOf(place)]++] = {place.X, place.Y};
  return sorted;
}

}  // namespace

TOverlayPass::TOverlayPass(const TAtlasFrame& frame, TMapExtent map, std::span<const TPlaceMark> places,
                           const TOverlays& overlays, ILabelMeasure& measure)
    : frame_(frame), overlays_(overlays) {
  overlays_.Friends = {};  // not kept: the caller's marks need not outlive the pass
  if (overlays.Grid) grid_ = GridLinesOf(frame, static_cast<int32_t>(map.Width), static_cast<int32_t>(map.Height));
  const std::span<const TFriendMark> friends = overlays.Friends;
  const TInView friendsInView = MarksInView(frame, friends);
  for (const bool faded : {true, false})
    for (size_t i = 0; i < friendsInView.Places.size(); ++i) {
      const TFriendMark& mark = friends[static_cast<size_t>(friendsInView.Marks[i])];
      if (mark.Faded == faded)
        friends_.push_back({{friendsInView.Places[i].X, friendsInView.Places[i].Y}, mark.Colour, mark.Faded});
    }
  if (!overlays.Places && friendsInView.Places.empty()) return;
  TInView placesInView;
  if (overlays.Places) {
    placesInView = MarksInView(frame, places);
    markers_ = TopDown(frame, placesInView.Places);
  }

  // Friends first: their names are laid out before places' names, and of a
  // friend and a place equally near the pointer the friend is named.
  std::vector<TPlaceInView> all = friendsInView.Places;
  const size_t friendCount = all.size();
  for (TPlaceInView& friendInView : all) friendInView.Ahead = true;
  all.insert(all.end(), placesInView.Places.begin(), placesInView.Places.end());
  const int pointed = overlays.Pointer ? PlaceUnderPointer(all, static_cast<int32_t>(overlays.Pointer->X),
                                                           static_cast<int32_t>(overlays.Pointer->Y))
                                       : -1;
  const bool allNames = frame.Scale >= NamesFromScale;
  for (size_t i = 0; i < all.size(); ++i) {
    const bool isFriend = i < friendCount;
    if (!isFriend && !allNames && static_cast<int>(i) != pointed) continue;
    const std::string& name = isFriend ? friends[static_cast<size_t>(friendsInView.Marks[i])].Name
                                       : places[static_cast<size_t>(placesInView.Marks[i - friendCount])].Name;
    const TLabelSize size = measure.LabelSize(name);
    all[i].LabelWidth = size.Width;
    all[i].LabelHeight = size.Height;
  }
  for (const TPlacedLabel& placed : PlaceLabels(all, frame.Width, frame.Height, pointed)) {
    const size_t i = static_cast<size_t>(placed.Place);
    if (i < friendCount)
      labels_.push_back({friendsInView.Marks[i], placed.Box, true});
    else
      labels_.push_back({placesInView.Marks[i - friendCount], placed.Box, false});
  }
}

// The band is a canvas of its own, its first row the frame's row `top`: every
// primitive clips to it exactly, so the bands add up to one pass.
void TOverlayPass::DrawBand(TColor32* pixels, int32_t top, int32_t bottom) const {
  if (bottom <= top) return;
  const TCanvas band{pixels + static_cast<size_t>(top) * static_cast<size_t>(frame_.Width), frame_.Width, bottom - top};
  if (grid_) {
    TGridLines lines{grid_->Columns, {}, grid_->Span};
    for (const int32_t row : grid_->Rows)
      if (row >= top && row < bottom) lines.Rows.push_back(row - top);
    lines.Span.Top -= top;
    lines.Span.Bottom -= top;
    DrawGrid(band, lines);
  }
  if (const auto& cells = overlays_.DetailCells) {
    // Framed just outside, so that the area itself shows the map unchanged.
    const TFrameRect area = CellsOnFrame(frame_, cells->Left, cells->Top, cells->Right, cells->Bottom);
    DrawDetailArea(band, {area.Left - 1, area.Top - 1 - top, area.Right + 1, area.Bottom + 1 - top});
  }
  auto marker = std::lower_bound(markers_.begin(), markers_.end(), int64_t{top} - PlaceMarkerReach,
                                 [](const TFramePoint& at, int64_t row) { return at.Y < row; });
  for (; marker != markers_.end() && marker->Y < int64_t{bottom} + PlaceMarkerReach; ++marker)
    DrawPlaceMarker(band, {marker->X, marker->Y - top});
}

void TOverlayPass::DrawLast(TColor32* pixels) const {
  const TCanvas canvas{pixels, frame_.Width, frame_.Height};
  if (overlays_.RulerFrom && overlays_.RulerTo)
    DrawRuler(canvas, CellOnFrame(frame_, overlays_.RulerFrom->X, overlays_.RulerFrom->Y),
              CellOnFrame(frame_, overlays_.RulerTo->X, overlays_.RulerTo->Y));
  if (overlays_.Pin) DrawPin(canvas, CellOnFrame(frame_, overlays_.Pin->X, overlays_.Pin->Y));
  for (const TFriendAt& someone : friends_) DrawFriendMarker(canvas, someone.At, someone.Colour, someone.Faded);
  if (overlays_.Player) DrawPlayerMarker(canvas, CellOnFrame(frame_, overlays_.Player->X, overlays_.Player->Y));
}

int PlaceAtPixel(const TAtlasFrame& frame, std::span<const TPlaceMark> places, int32_t x, int32_t y) {
  const TInView inView = MarksInView(frame, places);
  const int found = PlaceUnderPointer(inView.Places, x, y);
  return found < 0 ? -1 : inView.Marks[static_cast<size_t>(found)];
}

int FriendAtPixel(const TAtlasFrame& frame, std::span<const TFriendMark> friends, int32_t x, int32_t y) {
  const TInView inView = MarksInView(frame, friends);
  const int found = PlaceUnderPointer(inView.Places, x, y);
  return found < 0 ? -1 : inView.Marks[static_cast<size_t>(found)];
}

}  // namespace wf::atlas
