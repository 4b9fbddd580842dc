#pragma once
// What the atlas draws over its composed picture, pixel by pixel: markers, the
// pin, the ruler, the grid and the Map window's detail area. Every primitive
// clips to the canvas and takes positions far off it (and lines of any
// length) without harm. Names are drawn by the window with its font.

#include <cstdint>

#include "atlas/OverlayGeometry.h"
#include "raster/Bitmap32.h"

namespace wf::atlas {

struct TGridLines;

// A frame's pixels, rows from top to bottom, Width pixels each.
struct TCanvas {
  TColor32* Pixels = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
};

// Pixels from the centre of a place's marker to the outside of its frame.
inline constexpr int PlaceMarkerReach = 2;
// How far from a marker's centre the pointer may be to point at it, as in the
// Map window.
inline constexpr int PointerReach = 4;

// Right and bottom exclusive.
void FillRect(const TCanvas& canvas, const TFrameRect& rect, TColor32 color);
void DrawOutline(const TCanvas& canvas, const TFrameRect& rect, TColor32 color);
// Both ends included.
void DrawLine(const TCanvas& canvas, TFramePoint from, TFramePoint to, TColor32 color);

// A bright square in a black frame, as the Map window marks places.
void DrawPlaceMarker(const TCanvas& canvas, TFramePoint at);
// The Map window's player: 7 x 7 pixels, black round white round red.
void DrawPlayerMarker(const TCanvas& canvas, TFramePoint at);
// Pixels from the centre of a friend's marker to its outside: the player's size.
inline constexpr int FriendMarkerReach = 3;
// A friend's marker at (dx, dy) from its centre, each within
// FriendMarkerReach: black round white round the friend's colour, the
// player's marker with the friend's colour for the player's red.
TColor32 FriendMarkerPixel(int dx, int dy, TColor32 colour);
// Half way from `under` to `colour`, opaque: a faded marker lets the map show
// through.
TColor32 HalfWay(TColor32 colour, TColor32 under);
void DrawFriendMarker(const TCanvas& canvas, TFramePoint at, TColor32 colour, bool faded);
// A round red head on a dark needle whose tip is at `at`.
void DrawPin(const TCanvas& canvas, TFramePoint at);
// A light line in a dark border, with a square at each end.
void DrawRuler(const TCanvas& canvas, TFramePoint from, TFramePoint to);
// Each line pixel's channels moved by half their range (128 up when below
// 128, else down), so that the lines show on every colour without hiding it.
// Only the rows of grid.Span are touched: a caller that composes a frame band
// by band can draw each band's lines while its pixels are still in the cache.
void DrawGrid(const TCanvas& canvas, const TGridLines& grid);
// `rect` outlined in white with black around it.
void DrawDetailArea(const TCanvas& canvas, const TFrameRect& rect);

}  // namespace wf::atlas
