#pragma once
// The 32-bit colour bitmap that every map picture is drawn into and that the
// window's image panes show.

#include <cstdint>
#include <functional>
#include <memory>

namespace wf {

// Alpha in bits 24-31, red 16-23, green 8-15, blue 0-7; alpha 255 is opaque.
using TColor32 = uint32_t;

// Only the low 8 bits of each argument count.
constexpr TColor32 MakeColor32(int r, int g, int b, int a) {
  return (static_cast<TColor32>(a & 0xFF) << 24) | (static_cast<TColor32>(r & 0xFF) << 16) |
         (static_cast<TColor32>(g & 0xFF) << 8) | static_cast<TColor32>(b & 0xFF);
}

// A desktop colour value (red in bits 0-7, green 8-15, blue 16-23), or, when
// negative, a system colour whose low byte names a desktop colour element.
using TColor = int32_t;
constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000F);

// Always opaque; bits 24-31 of a colour value are dropped.
TColor32 SystemColorToColor32(TColor color);

class TBitmap32 {
 public:
  using TNotifyEvent = std::function<void(TBitmap32& sender)>;

  TBitmap32();
  ~TBitmap32();
  TBitmap32(const TBitmap32&) = delete;
  TBitmap32& operator=(const TBitmap32&) = delete;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // Sizes below 1 become 0. Returns false, notifying nothing, when the size is
  // unchanged; otherwise reallocates (contents undefined) and notifies change
  // and resize. Raises EOutOfResources "Can't allocate the DIB handle" when
  // the pixels cannot be had, leaving an empty 0 x 0 bitmap.
  bool SetDimensions(int32_t width, int32_t height);
  void SetBitmapWidth(int32_t width) { SetDimensions(width, height_); }
  void SetBitmapHeight(int32_t height) { SetDimensions(width_, height); }
  bool IsEmpty() const;

  void ClearTo(TColor32 color);
  // The per-pixel path: no notification. Writes outside the bitmap are ignored.
  void WritePixel(int32_t x, int32_t y, TColor32 color) {
    if (static_cast<uint32_t>(x) < static_cast<uint32_t>(width_) &&
        static_cast<uint32_t>(y) < static_cast<uint32_t>(height_) && pixels_)
      pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = color;
  }
  // Pixel value, or 0 outside the bitmap.
  TColor32 Pixel(int32_t x, int32_t y) const;
  // X2 and Y2 exclusive; the rectangle is clipped to the bitmap.
  void FillArea(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 color);
  // Opaque copy of `source` (or nothing) with its top-left pixel at (x, y).
  void DrawAt(int32_t x, int32_t y, const TBitmap32* source);

  // Rows from top to bottom, Width() pixels each; null when empty.
  const TColor32* Bits() const { return pixels_.get(); }

  // While the update count is above 0 no change is notified.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate() { --updateCount_; }

  TNotifyEvent OnChange;
  TNotifyEvent OnResize;

 protected:
  void NotifyChanged();
  void NotifyResized();

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t updateCount_ = 0;
  std::unique_ptr<TColor32[]> pixels_;
};

}  // namespace wf
