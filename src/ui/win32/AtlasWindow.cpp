#include "ui/win32/AtlasWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <chrono>

#include "ui/win32/Dpi.h"
#include "ui/win32/ErrorBox.h"
#include "ui/win32/Font.h"
#include "ui/win32/InputDialog.h"
#include "ui/win32/ListDialog.h"
#include "ui/win32/Text.h"

namespace wf::ui::win32 {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

// Pixels of outline around a name's letters, on every side.
constexpr int kOutline = 1;
// Names measured before are kept up to this many, about as many as a player
// has places.
constexpr size_t kMaxSizes = 20000;

// Every command shows its key, so a newcomer finds it and a regular can do
// without the mouse.
HMENU CreateMenus() {
  using W = TAtlasWindow;
  HMENU view = CreatePopupMenu();
  AppendMenuW(view, MF_STRING, W::kIdPlaces, L"&Places\tP");
  AppendMenuW(view, MF_STRING, W::kIdGrid, L"&Grid\tG");
  AppendMenuW(view, MF_STRING, W::kIdFollow, L"&Follow player\tF");
  AppendMenuW(view, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(view, MF_STRING, W::kIdZoomIn, L"Zoom &in\t+");
  AppendMenuW(view, MF_STRING, W::kIdZoomOut, L"Zoom &out\t-");
  AppendMenuW(view, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(view, MF_STRING, W::kIdOnTop, L"Always on &top\tT");
  AppendMenuW(view, MF_STRING, W::kIdOpacity100, L"Opacity &100%\t1");
  AppendMenuW(view, MF_STRING, W::kIdOpacity85, L"Opacity &85%\t2");
  AppendMenuW(view, MF_STRING, W::kIdOpacity70, L"Opacity &70%\t3");
  AppendMenuW(view, MF_STRING, W::kIdOpacity55, L"Opacity &55%\t4");
  HMENU go = CreatePopupMenu();
  AppendMenuW(go, MF_STRING, W::kIdGoTo, L"&Go to...\tCtrl+G");
  AppendMenuW(go, MF_STRING, W::kIdHome, L"&Home\tHome");
  AppendMenuW(go, MF_STRING, W::kIdClear, L"&Clear pin and ruler\tEsc");
  HMENU places = CreatePopupMenu();
  AppendMenuW(places, MF_STRING, W::kIdNewPlace, L"&New place here...\tCtrl+N");
  HMENU friends = CreatePopupMenu();
  AppendMenuW(friends, MF_STRING, W::kIdFriendsList, L"&List of friends\tCtrl+F");
  AppendMenuW(friends, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(friends, MF_STRING, W::kIdFriends, L"&Settings...");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(go), L"&Go");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(places), L"&Places");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(friends), L"&Friends");
  return bar;
}

std::optional<TAtlasKey> KeyOf(WPARAM key, bool control) {
  if (control) {
    if (key == 'G') return TAtlasKey::GoTo;
    if (key == 'N') return TAtlasKey::NewPlace;
    if (key == 'F') return TAtlasKey::FriendsList;
    return std::nullopt;
  }
  switch (key) {
    case VK_LEFT: return TAtlasKey::PanLeft;
    case VK_RIGHT: return TAtlasKey::PanRight;
    case VK_UP: return TAtlasKey::PanUp;
    case VK_DOWN: return TAtlasKey::PanDown;
    case VK_PRIOR: return TAtlasKey::ZoomIn;
    case VK_NEXT: return TAtlasKey::ZoomOut;
    case VK_HOME: return TAtlasKey::Home;
    case VK_ESCAPE: return TAtlasKey::Clear;
    case 'P': return TAtlasKey::Places;
    case 'G': return TAtlasKey::Grid;
    case 'F': return TAtlasKey::Follow;
    case 'T': return TAtlasKey::OnTop;
    case '1': case VK_NUMPAD1: return TAtlasKey::Opacity100;
    case '2': case VK_NUMPAD2: return TAtlasKey::Opacity85;
    case '3': case VK_NUMPAD3: return TAtlasKey::Opacity70;
    case '4': case VK_NUMPAD4: return TAtlasKey::Opacity55;
    default: return std::nullopt;
  }
}

// "+" and "-" come as characters, so that every keyboard's own keys for them
// count, the numeric keypad's among them.
std::optional<TAtlasKey> KeyOfCharacter(WPARAM character) {
  if (character == L'+') return TAtlasKey::ZoomIn;
  if (character == L'-') return TAtlasKey::ZoomOut;
  return std::nullopt;
}

constexpr std::pair<UINT, TAtlasKey> kCommands[] = {
    {TAtlasWindow::kIdZoomIn, TAtlasKey::ZoomIn},         {TAtlasWindow::kIdZoomOut, TAtlasKey::ZoomOut},
    {TAtlasWindow::kIdHome, TAtlasKey::Home},             {TAtlasWindow::kIdPlaces, TAtlasKey::Places},
    {TAtlasWindow::kIdGrid, TAtlasKey::Grid},             {TAtlasWindow::kIdFollow, TAtlasKey::Follow},
    {TAtlasWindow::kIdOnTop, TAtlasKey::OnTop},           {TAtlasWindow::kIdOpacity100, TAtlasKey::Opacity100},
    {TAtlasWindow::kIdOpacity85, TAtlasKey::Opacity85},   {TAtlasWindow::kIdOpacity70, TAtlasKey::Opacity70},
    {TAtlasWindow::kIdOpacity55, TAtlasKey::Opacity55},   {TAtlasWindow::kIdGoTo, TAtlasKey::GoTo},
    {TAtlasWindow::kIdNewPlace, TAtlasKey::NewPlace},     {TAtlasWindow::kIdClear, TAtlasKey::Clear},
    {TAtlasWindow::kIdFriends, TAtlasKey::Friends},
    {TAtlasWindow::kIdFriendsList, TAtlasKey::FriendsList},
};

std::optional<TAtlasKey> KeyOfCommand(UINT id) {
  for (const auto& [command, key] : kCommands)
    if (command == id) return key;
  return std::nullopt;
}

UINT OpacityCommand(int opacity) {
  switch (opacity) {
    case 85: return TAtlasWindow::kIdOpacity85;
    case 70: return TAtlasWindow::kIdOpacity70;
    case 55: return TAtlasWindow::kIdOpacity55;
    default: return TAtlasWindow::kIdOpacity100;
  }
}

// A placement whose window would lie on no monitor (one that was unplugged
// since) is not used: the window opens where new windows do.
bool OnSomeMonitor(const TWindowPlacement& placement) {
  const RECT rect{placement.Left, placement.Top, placement.Right, placement.Bottom};
  return MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
}

}  // namespace

TAtlasWindow::~TAtlasWindow() {
  form_ = nullptr;
  DestroyHandle();
}

void TAtlasWindow::TileReady() noexcept {
  const HWND window = target_.load();
  if (!window || tilePosted_.exchange(true)) return;
  if (!PostMessageW(window, kTileReady, 0, 0)) tilePosted_.store(false);
}

void TAtlasWindow::Open(const std::optional<TWindowPlacement>& placement) {
  if (Handle()) {
    if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
    return;
  }
  static const bool controlsReady = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)controlsReady;
  RegisterWindowClass({.name = kClassName,
                       .style = 0,  // no CS_DBLCLKS: a double click is two presses
                       .background = nullptr,
                       .icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)),
                       .smallIcon = nullptr});
  TPerMonitorDpiScope perMonitor;
  CreateHandle({.className = kClassName,
                .title = L"Atlas",
                .style = kStyle,
                .exStyle = kExStyle,
                .width = Scaled(kDefaultWidth, dpi_),
                .height = Scaled(kDefaultHeight, dpi_)});
  // A message posted to the window before was lost with it: the new one is
  // told of every tile from here on.
  tilePosted_.store(false);
  target_.store(Handle());
  if (placement && OnSomeMonitor(*placement)) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    wp.showCmd = placement->Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    wp.rcNormalPosition = {placement->Left, placement->Top, placement->Right, placement->Bottom};
    SetWindowPlacement(Handle(), &wp);
  } else {
    ShowWindow(Handle(), SW_SHOWNORMAL);
  }
  UpdateWindow(Handle());
  SetForegroundWindow(Handle());
}

TWindowPlacement TAtlasWindow::Placement() const {
  TPerMonitorDpiScope perMonitor;
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(Handle(), &wp);
  const RECT& r = wp.rcNormalPosition;
  // A minimised window comes back as it was before.
  const bool maximized = wp.showCmd == SW_SHOWMAXIMIZED ||
                         (wp.showCmd == SW_SHOWMINIMIZED && (wp.flags & WPF_RESTORETOMAXIMIZED));
  return {r.left, r.top, r.right, r.bottom, maximized};
}

void TAtlasWindow::Redraw() {
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TAtlasWindow::SetStatusText(const std::string& text) {
  if (!status_) return;
  const std::wstring wide = Widen(text, CP_UTF8);
  // The status bar changes its font only for a name the control font cannot
  // write, and back; the picture is laid out again should its height change.
  const HFONT font = FontFor(wide);
  if ((font == wideFont_) != statusWide_) {
    statusWide_ = font == wideFont_;
    SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    Layout();
  }
  SetWindowTextW(status_, wide.c_str());
}

HFONT TAtlasWindow::FontFor(const std::wstring& text) const {
  return wideFont_ && NeedsWideFont(text) ? wideFont_ : statusFont_ ? statusFont_ : ControlFont();
}

TDragDistance TAtlasWindow::DragDistance() const {
  return {GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)};
}

// A window below full opacity is layered; at full opacity it is not, so that
// it costs nothing then.
void TAtlasWindow::ShowOptions(const TAtlasOptions& options) {
  if (!Handle()) return;
  HMENU menu = GetMenu(Handle());
  const auto check = [menu](UINT id, bool on) {
    CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
  };
  check(kIdPlaces, options.Places);
  check(kIdGrid, options.Grid);
  check(kIdFollow, options.Follow);
  check(kIdOnTop, options.OnTop);
  CheckMenuRadioItem(menu, kIdOpacity100, kIdOpacity55, OpacityCommand(options.Opacity), MF_BYCOMMAND);
  SetWindowPos(Handle(), options.OnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const LONG_PTR exStyle = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  if (options.Opacity < 100) {
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(MulDiv(255, options.Opacity, 100)), LWA_ALPHA);
  } else if (exStyle & WS_EX_LAYERED) {
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

std::optional<std::string> TAtlasWindow::AskGoTo(const std::string& previous) {
  TInputDialog box;
  return box.InputQuery("Go to", "Place name, X Y or sextant reading:", previous, 255);
}

std::optional<int> TAtlasWindow::ChooseOne(const std::string& caption, const std::string& prompt,
                                           const std::vector<std::string>& items) {
  return ChooseFromList(caption, prompt, items);
}

atlas::TLabelSize TAtlasWindow::LabelSize(const std::string& text) {
  if (text.empty() || !measure_) return {};
  if (const auto known = sizes_.find(text); known != sizes_.end()) return known->second;
  const std::wstring wide = Widen(text, CP_UTF8);
  SIZE size{};
  SelectObject(measure_, FontFor(wide));
  GetTextExtentPoint32W(measure_, wide.c_str(), static_cast<int>(wide.size()), &size);
  if (sizes_.size() >= kMaxSizes) sizes_.clear();
  return sizes_.emplace(text, atlas::TLabelSize{size.cx + 2 * kOutline, size.cy + 2 * kOutline}).first->second;
}

bool TAtlasWindow::InputAllowed() { return HandlerDepth() <= 1; }

// The status bar first: the menu resizes the window, and the logic then
// writes the status.
void TAtlasWindow::CreateContent() {
  status_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                            Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ApplyDpi(DpiOfWindow(Handle()));
  SetMenu(Handle(), CreateMenus());
}

// The status bar's text at the window's DPI: the program's control font, scaled.
void TAtlasWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  LOGFONTW font{};
  GetObjectW(ControlFont(), sizeof font, &font);
  font.lfHeight = Scaled(font.lfHeight, dpi);
  HFONT scaled = CreateFontIndirectW(&font);
  HFONT wide = CreateWideFont(font.lfHeight);
  if (status_)
    SendMessageW(status_, WM_SETFONT,
                 reinterpret_cast<WPARAM>(statusWide_ && wide ? wide : scaled ? scaled : ControlFont()), TRUE);
  // The names are written in the same fonts, measured anew at the new DPI.
  if (!measure_) measure_ = CreateCompatibleDC(nullptr);
  if (measure_) SelectObject(measure_, scaled ? scaled : ControlFont());
  sizes_.clear();
  if (statusFont_) DeleteObject(statusFont_);
  statusFont_ = scaled;
  if (wideFont_) DeleteObject(wideFont_);
  wideFont_ = wide;
  statusWide_ = statusWide_ && wide;
}

// The status bar at the bottom; the picture above it, one device pixel per
// pixel of the back buffer.
void TAtlasWindow::Layout() {
  if (status_) SendMessageW(status_, WM_SIZE, 0, 0);
  RECT client{};
  GetClientRect(Handle(), &client);
  RECT bar{};
  if (status_) GetWindowRect(status_, &bar);
  const int width = client.right;
  const int height = std::max(0, static_cast<int>(client.bottom - (bar.bottom - bar.top)));
  if (width <= 0 || height <= 0) return;  // minimised: the picture waits
  if (width != bufferWidth_ || height != bufferHeight_) {
    FreeBuffer();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    buffer_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (!buffer_) {
      bits_ = nullptr;
      return;
    }
    bufferWidth_ = width;
    bufferHeight_ = height;
  }
  if (form_) form_->Resize(width, height);
}

void TAtlasWindow::FreeBuffer() {
  if (buffer_) DeleteObject(buffer_);
  buffer_ = nullptr;
  bits_ = nullptr;
  bufferWidth_ = bufferHeight_ = 0;
}

void TAtlasWindow::PaintContent(HDC dc) {
  if (!buffer_ || !form_) return;
  GdiFlush();  // the buffer is written directly, not through GDI
  form_->Paint(static_cast<TColor32*>(bits_));
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, buffer_);
  WriteNames(memory);
  BitBlt(dc, 0, 0, bufferWidth_, bufferHeight_, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

// White letters in a black outline read on every colour of the map.
void TAtlasWindow::WriteNames(HDC memory) {
  const std::vector<TFrameName>& names = form_->Names();
  if (names.empty()) return;
  const HGDIOBJ oldFont = SelectObject(memory, statusFont_ ? statusFont_ : ControlFont());
  SetBkMode(memory, TRANSPARENT);
  for (const TFrameName& name : names) {
    const std::wstring wide = Widen(name.Text, CP_UTF8);
    SelectObject(memory, FontFor(wide));
    const int length = static_cast<int>(wide.size());
    const int x = static_cast<int>(name.Box.Left) + kOutline, y = static_cast<int>(name.Box.Top) + kOutline;
    SetTextColor(memory, RGB(0, 0, 0));
    for (int dy = -kOutline; dy <= kOutline; ++dy)
      for (int dx = -kOutline; dx <= kOutline; ++dx)
        if (dx != 0 || dy != 0) TextOutW(memory, x + dx, y + dy, wide.c_str(), length);
    SetTextColor(memory, RGB(255, 255, 255));
    TextOutW(memory, x, y, wide.c_str(), length);
  }
  SelectObject(memory, oldFont);
}

LRESULT TAtlasWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_CREATE:
      CreateContent();
      SetTimer(Handle(), kFriendsTimer, kFriendsTimerMs, nullptr);
      return 0;

    case WM_TIMER:
      if (wParam != kFriendsTimer) break;
      if (form_ && InputAllowed()) form_->FriendsTimer(std::chrono::steady_clock::now());
      return 0;

    case WM_SIZE:
      Layout();
      return 0;

    case WM_GETMINMAXINFO: {
      RECT least{0, 0, Scaled(kMinClientWidth, dpi_), Scaled(kMinClientHeight, dpi_)};
      AdjustForDpi(least, kStyle, true, kExStyle, dpi_);
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {least.right - least.left, least.bottom - least.top};
      return 0;
    }

    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wParam));
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }

    case WM_ERASEBKGND:
      return 1;  // the picture covers every pixel above the status bar

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

    case kTileReady:
      tilePosted_.store(false);
      Redraw();
      return 0;

    case WM_MOUSEMOVE:
      if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
      }
      if (form_ && InputAllowed()) form_->MouseMove(x, y);
      return 0;

    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      if (form_) form_->MouseLeave();
      return 0;

    case WM_LBUTTONDOWN:
      SetFocus(Handle());
      if (!form_ || !InputAllowed()) return 0;
      SetCapture(Handle());
      form_->LeftDown(x, y, (wParam & MK_SHIFT) != 0);
      return 0;

    case WM_RBUTTONDOWN:
      SetFocus(Handle());
      if (form_ && InputAllowed()) form_->RightDown(x, y);
      return 0;

    case WM_LBUTTONUP:
      if (GetCapture() != Handle()) return 0;
      // Before the capture goes: its loss ends a press without a click.
      if (form_) form_->LeftUp(x, y);
      ReleaseCapture();
      return 0;

    case WM_CAPTURECHANGED:
      if (form_) form_->PressLost();
      return 0;

    case WM_MOUSEWHEEL: {
      POINT at{x, y};  // on the screen
      ScreenToClient(Handle(), &at);
      if (form_ && InputAllowed()) form_->Wheel(GET_WHEEL_DELTA_WPARAM(wParam), at.x, at.y);
      return 0;
    }

    case WM_MOUSEHWHEEL:
      if (form_ && InputAllowed()) form_->HorizontalWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;

    case WM_KEYDOWN:
      if (const auto key = KeyOf(wParam, GetKeyState(VK_CONTROL) < 0); key && form_ && InputAllowed()) {
        form_->Key(*key);
        return 0;
      }
      break;

    case WM_CHAR:
      if (const auto key = KeyOfCharacter(wParam); key && form_ && InputAllowed()) {
        form_->Key(*key);
        return 0;
      }
      break;

    case WM_COMMAND:
      if (const auto key = KeyOfCommand(LOWORD(wParam)); key && lParam == 0 && form_ && InputAllowed()) {
        form_->Key(*key);
        return 0;
      }
      break;

    case WM_CLOSE:
      // The window goes even when what it keeps cannot be written.
      if (form_) Guarded([this] { form_->Closing(); });
      DestroyHandle();
      return 0;

    case WM_DESTROY:
      // A "tile ready" still queued goes with the window.
      KillTimer(Handle(), kFriendsTimer);
      target_.store(nullptr);
      tilePosted_.store(false);
      status_ = nullptr;
      FreeBuffer();
      if (measure_) DeleteDC(measure_);
      measure_ = nullptr;
      sizes_.clear();
      if (statusFont_) DeleteObject(statusFont_);
      statusFont_ = nullptr;
      if (wideFont_) DeleteObject(wideFont_);
      wideFont_ = nullptr;
      statusWide_ = false;
      trackingLeave_ = false;
      return 0;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace wf::ui::win32
