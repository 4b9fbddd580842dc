#include "raster/Bitmap32.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Desktop.h"

namespace wf {
namespace {

// Records the bitmap's notifications in order: "C" for change, "R" for resize.
struct Recorder {
  std::string events;
  explicit Recorder(TBitmap32& b) {
    b.OnChange = [this](TBitmap32&) { events += 'C'; };
    b.OnResize = [this](TBitmap32&) { events += 'R'; };
  }
};

void Fill(TBitmap32& b, TColor32 base) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.WritePixel(x, y, base + static_cast<TColor32>(y * 1000 + x));
}

TEST(Color32, MakeColorUsesLowBytesAndSystemColorsAreOpaque) {
  EXPECT_EQ(MakeColor32(0x1F8, 0, 0, 255), 0xFFF80000u);
  EXPECT_EQ(MakeColor32(1, 2, 3, 4), 0x04010203u);
  EXPECT_EQ(SystemColorToColor32(0), 0xFF000000u);
  EXPECT_EQ(SystemColorToColor32(0x00FF8040), 0xFF4080FFu);
  EXPECT_EQ(SystemColorToColor32(0x7FFF8040), 0xFF4080FFu);  // bits 24-31 dropped
  uint32_t face = platform::DesktopColor(platform::kColorBtnFace);
  EXPECT_EQ(SystemColorToColor32(clBtnFace),
            0xFF000000u | ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF));
}

TEST(Bitmap32, SetDimensionsNotifiesOnlyRealChanges) {
  TBitmap32 b;
  Recorder r(b);
  EXPECT_TRUE(b.IsEmpty());
  b.SetBitmapWidth(384);  // width stored, nothing allocated yet
  EXPECT_EQ(b.Width(), 384);
  EXPECT_TRUE(b.IsEmpty());
  b.SetBitmapHeight(256);
  EXPECT_FALSE(b.IsEmpty());
  EXPECT_EQ(r.events, "CRCR");

  r.events.clear();
  EXPECT_TRUE(b.SetDimensions(100, 100));
  EXPECT_EQ(r.events, "CR");
  EXPECT_FALSE(b.SetDimensions(100, 100));
  EXPECT_EQ(r.events, "CR");

  b.BeginUpdate();
  EXPECT_TRUE(b.SetDimensions(10, 10));
  EXPECT_EQ(r.events, "CRR");  // no change notice while updating; resize still comes
  b.EndUpdate();
}

TEST(Bitmap32, NegativeOrZeroSidesLeaveAnEmptyBitmapThatIgnoresDrawing) {
  TBitmap32 b;
  Recorder r(b);
  b.SetDimensions(-5, 10);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 10);
  EXPECT_TRUE(b.IsEmpty());
  r.events.clear();
  b.ClearTo(0xFFFFFFFF);
  TBitmap32 s;
  s.SetDimensions(4, 4);
  b.DrawAt(0, 0, &s);
  b.WritePixel(0, 0, 1);
  EXPECT_EQ(r.events, "");
  EXPECT_EQ(b.Pixel(0, 0), 0u);
}

TEST(Bitmap32, ClearToKeepsAlphaAndNotifiesOnce) {
  TBitmap32 b;
  b.SetDimensions(7, 3);
  Recorder r(b);
  b.ClearTo(0x00FFFFFF);
  EXPECT_EQ(r.events, "C");
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) ASSERT_EQ(b.Pixel(x, y), 0x00FFFFFFu);
}

TEST(Bitmap32, WritePixelIsSilentAndNeverWritesOutside) {
  TBitmap32 b;
  b.SetDimensions(4, 4);
  b.ClearTo(0);
  Recorder r(b);
  b.WritePixel(3, 2, 0xAB);
  EXPECT_EQ(b.Pixel(3, 2), 0xABu);
  EXPECT_EQ(b.Bits()[2 * 4 + 3], 0xABu);  // rows top to bottom, X + Y * Width
  for (auto [x, y] : {std::pair{4, 0}, {-1, 0}, {0, 4}, {0, -1}, {INT32_MAX, 0}, {0, INT32_MIN}})
    b.WritePixel(x, y, 0xFF);
  int changed = 0;
  for (int i = 0; i < 16; ++i) changed += b.Bits()[i] != 0;
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(r.events, "");
}

TEST(Bitmap32, FillAreaExclusiveEdgesClippedAndAlwaysNotifies) {
  TBitmap32 b;
  b.SetDimensions(100, 100);
  b.ClearTo(0);
  Recorder r(b);
  b.FillArea(29, 49, 49, 50, 0xFF000000);
  int painted = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x)
      if (b.Pixel(x, y)) {
        ++painted;
        EXPECT_EQ(y, 49);
        EXPECT_TRUE(x >= 29 && x <= 48) << x;
      }
  EXPECT_EQ(painted, 20);
  b.FillArea(5, 5, 5, 9, 1);   // no columns
  b.FillArea(5, 9, 9, 5, 1);   // no rows
  EXPECT_EQ(r.events, "CCC");
  b.FillArea(-10, -10, 1000, 2, 7);  // clipped to rows 0 and 1
  EXPECT_EQ(b.Pixel(99, 1), 7u);
  EXPECT_EQ(b.Pixel(0, 2), 0u);
}

TEST(Bitmap32, DrawAtCopiesOpaquelyAndClips) {
  TBitmap32 s;
  s.SetDimensions(100, 100);
  Fill(s, 0x01000000);
  TBitmap32 d;
  d.SetDimensions(100, 100);
  d.ClearTo(0x00FFFFFF);
  Recorder r(d);

  d.DrawAt(0, 0, nullptr);
  EXPECT_EQ(r.events, "");
  d.DrawAt(0, 0, &s);
  EXPECT_EQ(r.events, "C");
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(d.Pixel(x, y), s.Pixel(x, y));

  d.ClearTo(0x00FFFFFF);
  d.DrawAt(50, 50, &s);
  EXPECT_EQ(d.Pixel(50, 50), s.Pixel(0, 0));
  EXPECT_EQ(d.Pixel(99, 99), s.Pixel(49, 49));
  EXPECT_EQ(d.Pixel(49, 49), 0x00FFFFFFu);
  EXPECT_EQ(d.Pixel(99, 10), 0x00FFFFFFu);

  d.DrawAt(-98, -99, &s);  // only the source's bottom-right corner lands
  EXPECT_EQ(d.Pixel(0, 0), s.Pixel(98, 99));
  EXPECT_EQ(d.Pixel(1, 0), s.Pixel(99, 99));
  d.DrawAt(INT32_MAX, INT32_MIN, &s);  // entirely outside: nothing changes
  EXPECT_EQ(d.Pixel(0, 0), s.Pixel(98, 99));
}

TEST(Bitmap32, DestructionAnnouncesNothing) {
  int changes = 0;
  {
    TBitmap32 b;
    b.SetDimensions(2, 2);
    b.OnChange = [&](TBitmap32&) { ++changes; };
  }
  EXPECT_EQ(changes, 0);
}

}  // namespace
}  // namespace wf
