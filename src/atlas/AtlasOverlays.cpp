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

TInView PlacesInView(const TAtlasFrame& frame, std::span<const TPlaceMark> places) {
  TInView found;
  for (size_t i = 0; i < places.size(); ++i) {
    const TFramePoint at = CellOnFrame(frame, places[i].X, places[i].Y);
    if (at.X < -kMargin || at.Y < -kMargin || at.X >= frame.Width + kMargin || at.Y >= frame.Height + kMargin)
      continue;
    found.Places.push_back({static_cast<int32_t>(at.X), static_cast<int32_t>(at.Y), 0, 0});
    found.Marks.push_back(static_cast<int>(i));
  }
  return found;
}

std::vector<TLabel> DrawPlaces(const TCanvas& canvas, const TAtlasFrame& frame, std::span<const TPlaceMark> places,
                               const TOverlays& overlays, ILabelMeasure& measure) {
  TInView inView = PlacesInView(frame, places);
  for (const TPlaceInView& place : inView.Places) DrawPlaceMarker(canvas, {place.X, place.Y});

  const int pointed = overlays.Pointer ? PlaceUnderPointer(inView.Places, static_cast<int32_t>(overlays.Pointer->X),
                                                           static_cast<int32_t>(overlays.Pointer->Y))
                                       : -1;
  const bool allNames = frame.Scale >= NamesFromScale;
  for (size_t i = 0; i < inView.Places.size(); ++i) {
    if (!allNames && static_cast<int>(i) != pointed) continue;
    const TLabelSize size = measure.LabelSize(places[static_cast<size_t>(inView.Marks[i])].Name);
    inView.Places[i].LabelWidth = size.Width;
    inView.Places[i].LabelHeight = size.Height;
  }
  std::vector<TLabel> labels;
  for (const TPlacedLabel& placed : PlaceLabels(inView.Places, frame.Width, frame.Height, pointed))
    labels.push_back({inView.Marks[static_cast<size_t>(placed.Place)], placed.Box});
  return labels;
}

}  // namespace

std::vector<TLabel> DrawOverlays(const TCanvas& canvas, const TAtlasFrame& frame, TMapExtent map,
                                 std::span<const TPlaceMark> places, const TOverlays& overlays,
                                 ILabelMeasure& measure) {
  if (overlays.Grid)
    DrawGrid(canvas, GridLinesOf(frame, static_cast<int32_t>(map.Width), static_cast<int32_t>(map.Height)));
  if (const auto& cells = overlays.DetailCells) {
    // Framed just outside, so that the area itself shows the map unchanged.
    const TFrameRect area = CellsOnFrame(frame, cells->Left, cells->Top, cells->Right, cells->Bottom);
    DrawDetailArea(canvas, {area.Left - 1, area.Top - 1, area.Right + 1, area.Bottom + 1});
  }
  std::vector<TLabel> labels;
  if (overlays.Places) labels = DrawPlaces(canvas, frame, places, overlays, measure);
  if (overlays.RulerFrom && overlays.RulerTo)
    DrawRuler(canvas, CellOnFrame(frame, overlays.RulerFrom->X, overlays.RulerFrom->Y),
              CellOnFrame(frame, overlays.RulerTo->X, overlays.RulerTo->Y));
  if (overlays.Pin) DrawPin(canvas, CellOnFrame(frame, overlays.Pin->X, overlays.Pin->Y));
  if (overlays.Player) DrawPlayerMarker(canvas, CellOnFrame(frame, overlays.Player->X, overlays.Player->Y));
  return labels;
}

int PlaceAtPixel(const TAtlasFrame& frame, std::span<const TPlaceMark> places, int32_t x, int32_t y) {
  const TInView inView = PlacesInView(frame, places);
  const int found = PlaceUnderPointer(inView.Places, x, y);
  return found < 0 ? -1 : inView.Marks[static_cast<size_t>(found)];
}

}  // namespace wf::atlas
