#include "ui/win32/ImagePane.h"

#include <windowsx.h>

#include <algorithm>

namespace wf::ui::win32 {

TImagePane::TImagePane() {
  bitmap_.OnChange = [this](TBitmap32&) { Changed(); };
  bitmap_.OnResize = [this](TBitmap32&) { Changed(); };
}

TImagePane::~TImagePane() {
  bitmap_.OnChange = nullptr;
  bitmap_.OnResize = nullptr;
  DestroyHandle();
}

HWND TImagePane::Create(const TImagePaneArgs& args) {
  RegisterWindowClass({.name = kClassName,
                       .style = 0,  // no CS_DBLCLKS: a double-click is two presses
                       .background = nullptr});
  return CreateHandle({.className = kClassName,
                       .style = WS_CHILD | WS_VISIBLE,
                       .left = args.rect.left,
                       .top = args.rect.top,
                       .width = args.rect.width,
                       .height = args.rect.height,
                       .parent = args.parent,
                       .id = args.id});
}

void TImagePane::Changed() {
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TImagePane::PaintContent(HDC dc) {
  RECT client{};
  GetClientRect(Handle(), &client);
  int shownWidth = 0;
  int shownHeight = 0;
  if (!bitmap_.IsEmpty()) {
    shownWidth = std::min<int>(bitmap_.Width(), client.right);
    shownHeight = std::min<int>(bitmap_.Height(), client.bottom);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bitmap_.Width();
    info.bmiHeader.biHeight = -bitmap_.Height();  // rows from the top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;  // BI_RGB: the fourth byte (alpha) is ignored
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(bitmap_.Width()),
                      static_cast<DWORD>(bitmap_.Height()), 0, 0, 0,
                      static_cast<UINT>(bitmap_.Height()), bitmap_.Bits(), &info, DIB_RGB_COLORS);
  }
  // Where the bitmap does not reach, the pane shows the window's background.
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  RECT right{shownWidth, 0, client.right, client.bottom};
  RECT below{0, shownHeight, shownWidth, client.bottom};
  if (right.left < right.right) FillRect(dc, &right, face);
  if (below.top < below.bottom) FillRect(dc, &below, face);
}

LRESULT TImagePane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      PaintContent(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintContent(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // PaintContent covers every pixel
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      TMouseButton button = message == WM_LBUTTONDOWN   ? TMouseButton::Left
                            : message == WM_RBUTTONDOWN ? TMouseButton::Right
                                                        : TMouseButton::Middle;
      if (onMouseDown) onMouseDown(button, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    }
    case WM_MOUSEMOVE:
      if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
      }
      if (onMouseMove) onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      if (onMouseLeave) onMouseLeave();
      return 0;
    case WM_MOUSEWHEEL:
      if (onMouseWheel) {
        onMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
      }
      break;
    default:
      break;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace wf::ui::win32
