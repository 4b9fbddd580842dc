#include "atlas/OverlayDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "atlas/GridLines.h"

namespace wf::atlas {

namespace {

// A yellow square in a black frame shows on every radar colour, dark or light
// (the Map window's marker).
constexpr TColor32 kPlaceFrame = 0xFF000000;
constexpr TColor32 kPlaceFill = 0xFFFFFF00;
// Black round white round red (the Map window's player).
constexpr TColor32 kPlayerOuter = 0xFF000000;
constexpr TColor32 kPlayerInner = 0xFFFFFFFF;
constexpr TColor32 kPlayerCore = 0xFFFF0000;
constexpr TColor32 kPinHead = 0xFFE01010;
constexpr TColor32 kPinShine = 0xFFFFC0C0;
constexpr TColor32 kDark = 0xFF000000;
constexpr TColor32 kLight = 0xFFFFFFFF;

TColor32& PixelAt(const TCanvas& canvas, int64_t x, int64_t y) {
  return canvas.Pixels[static_cast<size_t>(y) * static_cast<size_t>(canvas.Width) + static_cast<size_t>(x)];
}

bool Contains(const TCanvas& canvas, int64_t x, int64_t y) {
  return x >= 0 && y >= 0 && x < canvas.Width && y < canvas.Height;
}

// A square of `reach` pixels around the centre on every side.
TFrameRect Square(TFramePoint at, int reach) {
  return {at.X - reach, at.Y - reach, at.X + reach + 1, at.Y + reach + 1};
}

// The segment's part within the canvas's pixel centres (Liang-Barsky), in
// floating point so that no length overflows; false when none of it is on.
bool ClipLine(const TCanvas& canvas, double& x0, double& y0, double& x1, double& y1) {
  double t0 = 0, t1 = 1;
  const double dx = x1 - x0, dy = y1 - y0;
  const auto edge = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  if (!edge(-dx, x0) || !edge(dx, canvas.Width - 1 - x0) || !edge(-dy, y0) || !edge(dy, canvas.Height - 1 - y0))
    return false;
  x1 = x0 + t1 * dx;
  y1 = y0 + t1 * dy;
  x0 += t0 * dx;
  y0 += t0 * dy;
  return true;
}

// Every channel moved by half its range, up when it is dark and down when it
// is light, so a line shows on every colour. One operation a pixel: a grid at
// 2:1 touches every eighth pixel of the frame.
constexpr TColor32 Contrasting(TColor32 pixel) { return pixel ^ 0x00808080; }

}  // namespace

void FillRect(const TCanvas& canvas, const TFrameRect& rect, TColor32 color) {
  const int64_t left = std::max<int64_t>(rect.Left, 0), right = std::min<int64_t>(rect.Right, canvas.Width);
  const int64_t top = std::max<int64_t>(rect.Top, 0), bottom = std::min<int64_t>(rect.Bottom, canvas.Height);
  for (int64_t y = top; y < bottom; ++y)
    for (int64_t x = left; x < right; ++x) PixelAt(canvas, x, y) = color;
}

void DrawOutline(const TCanvas& canvas, const TFrameRect& rect, TColor32 color) {
  if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
  FillRect(canvas, {rect.Left, rect.Top, rect.Right, rect.Top + 1}, color);
  FillRect(canvas, {rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, color);
  FillRect(canvas, {rect.Left, rect.Top, rect.Left + 1, rect.Bottom}, color);
  FillRect(canvas, {rect.Right - 1, rect.Top, rect.Right, rect.Bottom}, color);
}

void DrawLine(const TCanvas& canvas, TFramePoint from, TFramePoint to, TColor32 color) {
  if (canvas.Width <= 0 || canvas.Height <= 0) return;
  double x0 = static_cast<double>(from.X), y0 = static_cast<double>(from.Y);
  double x1 = static_cast<double>(to.X), y1 = static_cast<double>(to.Y);
  if (!ClipLine(canvas, x0, y0, x1, y1)) return;
  // Bresenham between the clipped ends, which lie on the canvas.
  int64_t x = std::llround(x0), y = std::llround(y0);
  const int64_t endX = std::llround(x1), endY = std::llround(y1);
  const int64_t dx = std::llabs(endX - x), dy = -std::llabs(endY - y);
  const int64_t stepX = x < endX ? 1 : -1, stepY = y < endY ? 1 : -1;
  int64_t error = dx + dy;
  for (;;) {
    if (Contains(canvas, x, y)) PixelAt(canvas, x, y) = color;
    if (x == endX && y == endY) break;
    const int64_t twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y += stepY;
    }
  }
}

void DrawPlaceMarker(const TCanvas& canvas, TFramePoint at) {
  constexpr int reach = PlaceMarkerReach;
  if (at.X < reach || at.Y < reach || at.X >= canvas.Width - reach || at.Y >= canvas.Height - reach) {
    FillRect(canvas, Square(at, reach), kPlaceFrame);
    FillRect(canvas, Square(at, reach - 1), kPlaceFill);
    return;
  }
  // Wholly on the canvas, as nearly every one of the thousands a view can
  // hold: a row at a time, each pixel written once.
  TColor32* row = &PixelAt(canvas, at.X - reach, at.Y - reach);
  for (int dy = -reach; dy <= reach; ++dy, row += canvas.Width) {
    const bool edge = dy == -reach || dy == reach;
    row[0] = row[2 * reach] = kPlaceFrame;
    for (int dx = 1; dx < 2 * reach; ++dx) row[dx] = edge ? kPlaceFrame : kPlaceFill;
  }
}

void DrawPlayerMarker(const TCanvas& canvas, TFramePoint at) {
  FillRect(canvas, Square(at, 3), kPlayerOuter);
  FillRect(canvas, Square(at, 2), kPlayerInner);
  FillRect(canvas, Square(at, 1), kPlayerCore);
}

TColor32 FriendMarkerPixel(int dx, int dy, TColor32 colour) {
  const int ring = std::max(std::abs(dx), std::abs(dy));
  return ring >= 3 ? kPlayerOuter : ring == 2 ? kPlayerInner : colour;
}

TColor32 HalfWay(TColor32 colour, TColor32 under) {
  return 0xFF000000 | (((colour & 0xFEFEFE) >> 1) + ((under & 0xFEFEFE) >> 1));
}

void DrawFriendMarker(const TCanvas& canvas, TFramePoint at, TColor32 colour, bool faded) {
  constexpr int reach = FriendMarkerReach;
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) {
      const int64_t x = at.X + dx, y = at.Y + dy;
      if (!Contains(canvas, x, y)) continue;
      TColor32& pixel = PixelAt(canvas, x, y);
      const TColor32 marker = FriendMarkerPixel(dx, dy, colour);
      pixel = faded ? HalfWay(marker, pixel) : marker;
    }
}

void DrawPin(const TCanvas& canvas, TFramePoint at) {
  FillRect(canvas, {at.X, at.Y - 6, at.X + 1, at.Y + 1}, kDark);
  // The head: a disc of radius 4 in a dark ring, 10 pixels above the tip.
  const TFramePoint head{at.X, at.Y - 10};
  for (int dy = -5; dy <= 5; ++dy)
    for (int dx = -5; dx <= 5; ++dx) {
      const int square = dx * dx + dy * dy;
      if (square > 20) continue;
      const int64_t x = head.X + dx, y = head.Y + dy;
      if (Contains(canvas, x, y)) PixelAt(canvas, x, y) = square > 10 ? kDark : kPinHead;
    }
  FillRect(canvas, Square({head.X - 1, head.Y - 1}, 0), kPinShine);
}

void DrawRuler(const TCanvas& canvas, TFramePoint from, TFramePoint to) {
  for (const TFramePoint shift : {TFramePoint{-1, 0}, TFramePoint{1, 0}, TFramePoint{0, -1}, TFramePoint{0, 1}})
    DrawLine(canvas, {from.X + shift.X, from.Y + shift.Y}, {to.X + shift.X, to.Y + shift.Y}, kDark);
  DrawLine(canvas, from, to, kLight);
  for (const TFramePoint end : {from, to}) {
    FillRect(canvas, Square(end, 2), kDark);
    FillRect(canvas, Square(end, 1), kLight);
  }
}

void DrawGrid(const TCanvas& canvas, const TGridLines& grid) {
  const TFrameRect span{std::max<int64_t>(grid.Span.Left, 0), std::max<int64_t>(grid.Span.Top, 0),
                        std::min<int64_t>(grid.Span.Right, canvas.Width),
                        std::min<int64_t>(grid.Span.Bottom, canvas.Height)};
  if (span.Right <= span.Left || span.Bottom <= span.Top) return;
  std::vector<bool> onRow(static_cast<size_t>(canvas.Height));
  for (const int32_t row : grid.Rows)
    if (row >= span.Top && row < span.Bottom) onRow[static_cast<size_t>(row)] = true;
  std::vector<int32_t> columns;
  for (const int32_t column : grid.Columns)
    if (column >= span.Left && column < span.Right) columns.push_back(column);
  // Row by row, never down a column: a column of a full-screen frame touches
  // another memory page at every pixel. Where lines cross, a pixel is mixed
  // once.
  for (int64_t y = span.Top; y < span.Bottom; ++y) {
    TColor32* row = &PixelAt(canvas, 0, y);
    if (onRow[static_cast<size_t>(y)]) {
      for (int64_t x = span.Left; x < span.Right; ++x) row[x] = Contrasting(row[x]);
    } else {
      for (const int32_t column : columns) row[column] = Contrasting(row[column]);
    }
  }
}

void DrawDetailArea(const TCanvas& canvas, const TFrameRect& rect) {
  DrawOutline(canvas, {rect.Left - 1, rect.Top - 1, rect.Right + 1, rect.Bottom + 1}, kDark);
  DrawOutline(canvas, rect, kLight);
}

}  // namespace wf::atlas
