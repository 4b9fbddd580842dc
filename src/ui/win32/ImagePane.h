#pragma once
// An image pane: shows its bitmap one bitmap pixel per screen pixel with the
// bitmap's top-left corner at the pane's, copied opaquely (alpha has no
// effect), and repaints whenever the bitmap announces a change. Every press of
// the left, right or middle button is reported with the pane-relative
// position; the class has no double-click style, so both presses of a
// double-click arrive as presses.

#include <functional>

#include "raster/Bitmap32.h"
#include "ui/Controls.h"
#include "ui/win32/ChildControl.h"
#include "ui/win32/Window.h"

namespace wf::ui::win32 {

struct TImagePaneArgs {
  HWND parent = nullptr;
  int id = 0;
  TControlRect rect;
};

class TImagePane : public TWindow, public IImagePane {
 public:
  static constexpr wchar_t kClassName[] = L"WayfarerImagePane";

  TImagePane();
  ~TImagePane() override;

  HWND Create(const TImagePaneArgs& args);
  TBitmap32& Bitmap() override { return bitmap_; }

  // Draws what the pane shows; serves WM_PAINT and WM_PRINTCLIENT alike.
  void PaintContent(HDC dc);

  std::function<void(TMouseButton button, int x, int y)> onMouseDown;
  // The pointer moved over the pane, or left it.
  std::function<void(int x, int y)> onMouseMove;
  std::function<void()> onMouseLeave;
  // The wheel turned while the pointer was over the pane (120 a notch, forward positive).
  std::function<void(int delta)> onMouseWheel;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Changed();

  TBitmap32 bitmap_;
  bool trackingLeave_ = false;
};

}  // namespace wf::ui::win32
