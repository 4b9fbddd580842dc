#pragma once
// Everything the atlas draws over a composed frame: the grid, the Map
// window's detail area, the places' markers, the ruler, the pin and the
// player, and which places' names are written where. The letters themselves
// are the window's: it measures them in its font for the layout and draws
// them after the frame is finished.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "atlas/AtlasView.h"
#include "atlas/GridLines.h"
#include "atlas/OverlayDrawing.h"

namespace wf::atlas {

// A place of the map shown, by cell.
struct TPlaceMark {
  int32_t X = 0;
  int32_t Y = 0;
  std::string Name;
};

struct TLabelSize {
  int32_t Width = 0;
  int32_t Height = 0;
};

// How large a name is as the window writes it, outline included.
class ILabelMeasure {
 public:
  virtual ~ILabelMeasure() = default;
  virtual TLabelSize LabelSize(const std::string& text) = 0;
};

struct TOverlays {
  bool Places = true;
  bool Grid = false;
  // The device pixel under the pointer, while it is over the picture.
  std::optional<TFramePoint> Pointer;
  // The cells the Map window's detail pane shows, right and bottom exclusive.
  std::optional<TFrameRect> DetailCells;
  std::optional<TCellPoint> Player;
  std::optional<TCellPoint> Pin;
  // From the press to the pointer.
  std::optional<TCellPoint> RulerFrom, RulerTo;
};

// A name to write: the place (an index into the marks given) and its box,
// outline included.
struct TLabel {
  int Place = 0;
  TFrameRect Box;
};

// Names are written at this scale and closer; at coarser ones only the name
// of the place under the pointer is.
inline constexpr int NamesFromScale = 4;  // 1:2

// The overlays of one frame, laid out once and drawn as the frame is
// composed: the grid, the detail area and the markers band by band, while
// each band's rows are still in the processor's cache, then the ruler, the
// pin and the player over all. The pixels are the
// same as those of one pass over the finished frame (one band of all rows).
// `map` is the map's size in cells; the pixels are the frame's.
class TOverlayPass {
 public:
  TOverlayPass(const TAtlasFrame& frame, TMapExtent map, std::span<const TPlaceMark> places,
               const TOverlays& overlays, ILabelMeasure& measure);
  // Rows `top` to `bottom` (exclusive) of the frame's pixels are composed.
  void DrawBand(TColor32* pixels, int32_t top, int32_t bottom) const;
  // Once every band is drawn.
  void DrawLast(TColor32* pixels) const;
  // The names to write, none overlapping another (PlaceLabels.h).
  const std::vector<TLabel>& Labels() const { return labels_; }

 private:
  TAtlasFrame frame_;
  TOverlays overlays_;
  std::optional<TGridLines> grid_;
  std::vector<TFramePoint> markers_;  // from the top down
  std::vector<TLabel> labels_;
};

// The place whose marker the pointer at device pixel (x, y) is on, as
// PlaceUnderPointer decides; -1 for none.
int PlaceAtPixel(const TAtlasFrame& frame, std::span<const TPlaceMark> places, int32_t x, int32_t y);

}  // namespace wf::atlas
