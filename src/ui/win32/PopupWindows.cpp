#include "ui/win32/PopupWindows.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/win32/Font.h"
#include "ui/win32/Text.h"

namespace wf::ui::win32 {

namespace {

constexpr DWORD kPopupExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
constexpr int kTipPadding = 3;
// The tip sits below and right of the pointer, clear of the cursor's arrow.
constexpr int kTipOffsetX = 12;
constexpr int kTipOffsetY = 18;

void ShowWithoutActivation(HWND window, int left, int top, int width, int height) {
  SetWindowPos(window, HWND_TOP, left, top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

void TFindList::Create(HWND owner) {
  RegisterWindowClass({.name = kClassName,
                       .background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1))});
  CreateHandle({.className = kClassName,
                .style = WS_POPUP | WS_BORDER,
                .exStyle = kPopupExStyle,
                .left = 0,
                .top = 0,
                .width = 1,
                .height = 1,
                .parent = owner});
}

bool TFindList::Shown() const { return Handle() && IsWindowVisible(Handle()); }

void TFindList::Show(const std::vector<std::string>& items, HWND anchor) {
  items_ = items;
  top_ = 0;
  marked_ = -1;
  if (items_.empty() || !Handle()) {
    Hide();
    return;
  }
  RECT field{};
  GetWindowRect(anchor, &field);
  const int rows = std::min<int>(static_cast<int>(items_.size()), kMaxRows);
  ShowWithoutActivation(Handle(), field.left, field.bottom, field.right - field.left,
                        rows * kRowHeight + 2 * GetSystemMetrics(SM_CYBORDER));
}

void TFindList::Hide() {
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

void TFindList::Choose(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  Hide();
  if (onChoose) onChoose(index);
}

bool TFindList::HandleKey(WPARAM key) {
  if (!Shown()) return false;
  const int count = static_cast<int>(items_.size());
  switch (key) {
    case VK_DOWN:
      marked_ = std::min(marked_ + 1, count - 1);
      break;
    case VK_UP:
      marked_ = std::max(marked_ - 1, 0);
      break;
    case VK_RETURN:
      Choose(marked_ >= 0 ? marked_ : 0);
      return true;
    case VK_ESCAPE:
      Hide();
      return true;
    default:
      return false;
  }
  if (marked_ < top_) top_ = marked_;
  if (marked_ >= top_ + kMaxRows) top_ = marked_ - kMaxRows + 1;
  InvalidateRect(Handle(), nullptr, TRUE);
  return true;
}

void TFindList::Paint(HDC dc) {
  RECT client{};
  GetClientRect(Handle(), &client);
  HGDIOBJ oldFont = SelectObject(dc, ControlFont());
  SetBkMode(dc, TRANSPARENT);
  for (int row = 0; row < kMaxRows && top_ + row < static_cast<int>(items_.size()); ++row) {
    const int index = top_ + row;
    RECT line{client.left, row * kRowHeight, client.right, (row + 1) * kRowHeight};
    const bool marked = index == marked_;
    FillRect(dc, &line, GetSysColorBrush(marked ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(marked ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = line;
    text.left += 2;
    DrawTextA(dc, items_[static_cast<size_t>(index)].c_str(),
              static_cast<int>(items_[static_cast<size_t>(index)].size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  SelectObject(dc, oldFont);
}

LRESULT TFindList::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
      Choose(top_ + GET_Y_LPARAM(lParam) / kRowHeight);
      return 0;
    case WM_MOUSEWHEEL: {
      const int count = static_cast<int>(items_.size());
      top_ = std::clamp(top_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA, 0,
                        std::max(count - kMaxRows, 0));
      InvalidateRect(Handle(), nullptr, TRUE);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      Paint(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    default:
      return TWindow::HandleMessage(message, wParam, lParam);
  }
}

void THoverTip::Create(HWND owner) {
  RegisterWindowClass({.name = kClassName,
                       .background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INFOBK + 1))});
  // The pointer lands on the tip whenever it moves down and right faster than
  // the tip follows, and a tip shown under a resting pointer lies there from
  // the start. A layered window that is also transparent is left out of the
  // search for the window under the pointer, on Windows and by Wine's server
  // alike, so moves and presses over it reach the pane beneath; answering
  // "transparent" to the hit test alone does not do that under Wine.
  CreateHandle({.className = kClassName,
                .style = WS_POPUP | WS_BORDER,
                .exStyle = kPopupExStyle | WS_EX_LAYERED | WS_EX_TRANSPARENT,
                .left = 0,
                .top = 0,
                .width = 1,
                .height = 1,
                .parent = owner});
  // A layered window shows nothing until it is given its opacity.
  SetLayeredWindowAttributes(Handle(), 0, 255, LWA_ALPHA);
}

void THoverTip::Show(const std::string& text, HWND pane, int x, int y) {
  if (text.empty() || !Handle()) {
    Hide();
    return;
  }
  // The pointer moves far more often than the text changes: the text is set
  // and measured only when it does.
  const bool changed = text != text_;
  if (changed) {
    text_ = text;
    wide_ = Widen(text_, CP_UTF8);
    SetWindowTextW(Handle(), wide_.c_str());
    RECT size{0, 0, 0, 0};
    HDC dc = GetDC(Handle());
    HGDIOBJ oldFont = SelectObject(dc, ControlFont());
    DrawTextW(dc, wide_.c_str(), static_cast<int>(wide_.size()), &size, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    ReleaseDC(Handle(), dc);
    textSize_ = {size.right, size.bottom};
  }
  POINT at{x, y};
  ClientToScreen(pane, &at);
  const int border = 2 * GetSystemMetrics(SM_CXBORDER);
  SetWindowPos(Handle(), HWND_TOP, at.x + kTipOffsetX, at.y + kTipOffsetY,
               textSize_.cx + 2 * kTipPadding + border, textSize_.cy + 2 * kTipPadding + border,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (changed) InvalidateRect(Handle(), nullptr, TRUE);
}

void THoverTip::Hide() {
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

LRESULT THoverTip::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      RECT client{};
      GetClientRect(Handle(), &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
      HGDIOBJ oldFont = SelectObject(dc, ControlFont());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
      InflateRect(&client, -kTipPadding, -kTipPadding);
      DrawTextW(dc, wide_.c_str(), static_cast<int>(wide_.size()), &client, DT_LEFT | DT_NOPREFIX);
      SelectObject(dc, oldFont);
      EndPaint(Handle(), &ps);
      return 0;
    }
    default:
      return TWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace wf::ui::win32
