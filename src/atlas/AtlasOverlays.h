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

// A friend on the map shown, by cell, with the colour of its marker.
struct TFriendMark {
  int32_t X = 0;
  int32_t Y = 0;
  std::string Name;
  TColor32 Colour = 0;
  bool Faded = false;
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
  // Shown whether or not the places are, and named at every scale.
  std::span<const TFriendMark> Friends;
};

// A name to write: the place (an index into the marks given), or the friend
// (an index into the overlays' friends), and its box, outline included.
struct TLabel {
  int Place = 0;
  TFrameRect Box;
  bool Friend = false;
};

// Names are written at this scale and closer; at coarser ones only the name
// of the place under the pointer is.
inline constexpr int NamesFromScale = 4;  // 1:2

// The overlays of one frame, laid out once and drawn as the frame is
// composed: the grid, the detail area and the markers band by band, while
// each band's rows are still in the processor's cache, then the ruler, the
// pin, the friends and the player over all. Friends' names are laid out
// before places' names. The pixels are the
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
  struct TFriendAt {
    TFramePoint At;
    TColor32 Colour;
    bool Faded;
  };
  std::vector<TFriendAt> friends_;  // the faded ones first
};

// The place whose marker the pointer at device pixel (x, y) is on, as
// PlaceUnderPointer decides; -1 for none.
int PlaceAtPixel(const TAtlasFrame& frame, std::span<const TPlaceMark> places, int32_t x, int32_t y);
// The same for friends' markers; -1 for none.
int FriendAtPixel(const TAtlasFrame& frame, std::span<const TFriendMark> friends, int32_t x, int32_t y);

}  // namespace wf::atlas
