#include "raster/Bitmap32.h"

#include <algorithm>
#include <new>

#include "common/Errors.h"
#include "platform/Desktop.h"

namespace wf {

TColor32 SystemColorToColor32(TColor color) {
  uint32_t value = static_cast<uint32_t>(color);
  if (color < 0) value = platform::DesktopColor(static_cast<int>(value & 0xFF));
  return MakeColor32(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                     static_cast<int>((value >> 16) & 0xFF), 255);
}

TBitmap32::TBitmap32() = default;

TBitmap32::~TBitmap32() {
  // No change is announced while the bitmap goes away.
  BeginUpdate();
  OnChange = nullptr;
  OnResize = nullptr;
}

bool TBitmap32::SetDimensions(int32_t width, int32_t height) {
  if (width < 1) width = 0;
  if (height < 1) height = 0;
  if (width == width_ && height == height_) return false;
  pixels_.reset();
  width_ = 0;
  height_ = 0;
  bool allocated = true;
  if (width > 0 && height > 0) {
    pixels_.reset(new (std::nothrow) TColor32[static_cast<size_t>(width) * static_cast<size_t>(height)]);
    allocated = pixels_ != nullptr;
  }
  if (allocated) {
    width_ = width;
    height_ = height;
  }
  NotifyChanged();
  NotifyResized();
  if (!allocated) throw EOutOfResources("Can't allocate the DIB handle");
  return true;
}

bool TBitmap32::IsEmpty() const { return !pixels_ || width_ == 0 || height_ == 0; }

void TBitmap32::ClearTo(TColor32 color) {
  if (IsEmpty()) return;
  std::fill_n(pixels_.get(), static_cast<size_t>(width_) * static_cast<size_t>(height_), color);
  NotifyChanged();
}

TColor32 TBitmap32::Pixel(int32_t x, int32_t y) const {
  if (IsEmpty() || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void TBitmap32::FillArea(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 color) {
  if (!IsEmpty()) {
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, width_);
    y2 = std::min(y2, height_);
    for (int32_t y = y1; y < y2 && x1 < x2; ++y)
      std::fill(pixels_.get() + static_cast<size_t>(y) * width_ + x1,
                pixels_.get() + static_cast<size_t>(y) * width_ + x2, color);
  }
  NotifyChanged();
}

void TBitmap32::DrawAt(int32_t x, int32_t y, const TBitmap32* source) {
  if (!source || source->IsEmpty() || IsEmpty()) return;
  // The source's rectangle on this bitmap, clipped; 64-bit so no offset overflows.
  int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
  int64_t right = std::min<int64_t>(int64_t{x} + source->width_, width_);
  int64_t bottom = std::min<int64_t>(int64_t{y} + source->height_, height_);
  for (int64_t row = top; row < bottom && left < right; ++row) {
    const TColor32* from = source->pixels_.get() + (row - y) * source->width_ + (left - x);
    std::copy(from, from + (right - left), pixels_.get() + row * width_ + left);
  }
  NotifyChanged();
}

void TBitmap32::NotifyChanged() {
  if (updateCount_ == 0 && OnChange) OnChange(*this);
}

void TBitmap32::NotifyResized() {
  if (OnResize) OnResize(*this);
}

}  // namespace wf
