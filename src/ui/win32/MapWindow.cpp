#include "ui/win32/MapWindow.h"

#include <windowsx.h>

#include <exception>

#include "client/ClientLink.h"
#include "common/Errors.h"
#include "mapdata/Map.h"
#include "ui/win32/ErrorBox.h"

namespace wf::ui::win32 {

namespace {

// Control identifiers stay clear of IDOK and IDCANCEL, which the dialog
// navigation sends for Enter and Escape.
enum ControlId {
  kIdMapImage = 101,
  kIdZoomMap,
  kIdZoomIn,
  kIdZoomOut,
  kIdTravel,
  kIdX,
  kIdY,
  kIdZ,
  kIdNeu,
  kIdChange,
  kIdDelete,
  kIdChooseMap,
  kIdGo,
};

// A label sits this many pixels above its edit field, at its left edge.
constexpr int kLabelSpacing = 3;

HICON LoadProgramIcon(int size) {
  HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TMapWindow::kIconResource),
                           IMAGE_ICON, size, size, LR_DEFAULTCOLOR);
  if (icon) return static_cast<HICON>(icon);
  return LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
}

}  // namespace

TMapWindow::TMapWindow() = default;

TMapWindow::~TMapWindow() {
  // The callbacks may reach objects that are already gone when the window is
  // only torn down because start-up failed.
  onCreate = nullptr;
  onShow = nullptr;
  onDestroy = nullptr;
  onEndSession = nullptr;
  onKeyDown = nullptr;
  onSystemCommand = nullptr;
  onPlayerTimer = nullptr;
  onFriendsTimer = nullptr;
  onPlayerMap = nullptr;
  onFriendsChanged = nullptr;
  DestroyHandle();
}

void TMapWindow::Create() {
  RegisterWindowClass({.name = kClassName,
                       .style = 0,
                       .background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)),
                       .icon = LoadProgramIcon(GetSystemMetrics(SM_CXICON)),
                       .smallIcon = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON))});
  createError_ = nullptr;
  try {
    CreateHandle({.className = kClassName,
                  .title = L"Map",
                  .style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                  .exStyle = WS_EX_CONTROLPARENT,
                  .left = kLeft,
                  .top = kTop,
                  .width = kWidth,
                  .height = kHeight});
  } catch (...) {
    if (createError_) std::rethrow_exception(createError_);
    throw;
  }
}

void TMapWindow::Show(int showCommand) {
  ShowWindow(Handle(), showCommand);
  UpdateWindow(Handle());
}

void TMapWindow::LabelledEdit(TLabel& label, TEditField& edit, int id, const char* caption,
                              TControlRect rect) {
  label.Create({.parent = Handle(),
                .text = caption,
                .left = rect.left,
                .top = rect.top - kLabelSpacing - TLabel::TextHeight()});
  edit.Create({.parent = Handle(), .id = id, .text = "0", .rect = rect});
}

void TMapWindow::CreateControls() {
  // Created in tab order; the positions are client-area pixels.
  HWND self = Handle();
  SystemMenu.Attach(self);
  // The panes are exactly as large as the pictures the logic draws into them.
  MapImage.Create({.parent = self, .id = kIdMapImage, .rect = {8, 8, OverviewWidth, OverviewHeight}});
  ZoomMap.Create({.parent = self, .id = kIdZoomMap, .rect = {408, 8, DetailSize, DetailSize}});
  btnZoomIn.Create({.parent = self, .id = kIdZoomIn, .text = "+", .rect = {520, 8, 20, 20}});
  btnZoomOut.Create({.parent = self, .id = kIdZoomOut, .text = "-", .rect = {520, 32, 20, 20}});
  cbTravel.Create({.parent = self, .id = kIdTravel, .rect = {400, 120, 161, 21}});
  LabelledEdit(lblX, eX, kIdX, "X:", {400, 168, 49, 21});
  LabelledEdit(lblY, eY, kIdY, "Y:", {456, 168, 49, 21});
  LabelledEdit(lblZ, eZ, kIdZ, "Z:", {512, 168, 41, 21});
  btnNeu.Create({.parent = self, .id = kIdNeu, .text = "Neu", .rect = {400, 200, 49, 25}});
  btnChange.Create({.parent = self, .id = kIdChange, .text = "\xC4ndern", .rect = {456, 200, 49, 25}});
  btnDelete.Create({.parent = self, .id = kIdDelete, .text = "L\xF6schen", .rect = {512, 200, 49, 25}});
  cbChooseMap.Create({.parent = self, .id = kIdChooseMap, .rect = {400, 240, 161, 21}, .visible = false});
  btnGo.Create({.parent = self, .id = kIdGo, .text = "Go", .rect = {520, 80, 25, 25}});
  FindList.Create(self);
  HoverTip.Create(self);
}

void TMapWindow::HidePopups() {
  FindList.Hide();
  HoverTip.Hide();
}

TMapFormControls TMapWindow::FormControls() {
  return TMapFormControls{MapImage, ZoomMap, cbTravel, cbChooseMap, eX, eY, eZ, SystemMenu};
}

bool TMapWindow::IsOwnWindow(HWND window) const {
  return Handle() && window && (window == Handle() || IsChild(Handle(), window));
}

bool TMapWindow::PreTranslate(MSG& message) {
  if (!IsOwnWindow(message.hwnd)) return false;
  if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
    uint16_t key = static_cast<uint16_t>(message.wParam);
    if (onKeyDown) Guarded([&] { onKeyDown(key); });
    // The handler may have closed the window.
    if (!IsOwnWindow(message.hwnd)) return true;
    // While places found are offered, the keys that pick one are theirs.
    if (message.message == WM_KEYDOWN && FindList.Shown()) {
      bool used = false;
      Guarded([&] { used = FindList.HandleKey(message.wParam); });
      if (used) return true;
    }
  }
  // The wheel goes to the window with the focus; over the detail pane it is the pane's.
  if (message.message == WM_MOUSEWHEEL && message.hwnd != ZoomMap.Handle()) {
    POINT at{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    if (WindowFromPoint(at) == ZoomMap.Handle()) {
      SendMessageW(ZoomMap.Handle(), WM_MOUSEWHEEL, message.wParam, message.lParam);
      return true;
    }
  }
  return IsDialogMessageW(Handle(), &message) != FALSE;
}

LRESULT TMapWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      try {
        CreateControls();
      } catch (...) {
        createError_ = std::current_exception();
        return -1;
      }
      if (onCreate) Guarded(onCreate);
      SetTimer(Handle(), kPlayerTimer, kPlayerTimerMs, nullptr);
      SetTimer(Handle(), kFriendsTimer, kFriendsTimerMs, nullptr);
      return 0;

    case WM_TIMER:
      if (wParam == kPlayerTimer) {
        // Every message is handled inside Guarded: more than this one means the
        // timer fired in a modal loop, inside another handler.
        if (onPlayerTimer && HandlerDepth() <= 1) onPlayerTimer();
        return 0;
      }
      if (wParam == kFriendsTimer) {
        if (onFriendsTimer && HandlerDepth() <= 1) onFriendsTimer();
        return 0;
      }
      break;

    case kAssistantMapChanged:
      if (onPlayerMap) onPlayerMap(static_cast<int>(wParam));
      return 0;

    case kFriendsChanged:
      // Also inside the friends' dialog's own loop: it shows the state live.
      if (onFriendsChanged) onFriendsChanged();
      return 0;

    case WM_SHOWWINDOW:
      // lParam 0: shown by a call of ShowWindow, not because an owner was restored.
      if (wParam && lParam == 0 && onShow) Guarded(onShow);
      break;

    case WM_COMMAND:
      if (TChildControl* control = TChildControl::FromHandle(reinterpret_cast<HWND>(lParam)))
        control->HandleCommand(HIWORD(wParam));
      return 0;

    case WM_ACTIVATE:
      // Like a dialog: the focus returns to the control that had it, or goes to
      // the first control in tab order.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HidePopups();
        HWND focus = GetFocus();
        if (IsOwnWindow(focus) && focus != Handle()) focusBeforeDeactivation_ = focus;
      } else {
        HWND target = IsOwnWindow(focusBeforeDeactivation_) ? focusBeforeDeactivation_
                                                             : GetNextDlgTabItem(Handle(), nullptr, FALSE);
        if (target) {
          SetFocus(target);
          return 0;
        }
      }
      break;

    case WM_SYSCOMMAND:
      if (const int command = TSystemMenu::CommandOf(wParam)) {
        if (onSystemCommand) Guarded([&] { onSystemCommand(command); });
        return 0;
      }
      break;

    case WM_MOVE:
      HidePopups();
      break;

    case WM_CLOSE:
      // Closing the main window ends the message loop; the window itself is
      // destroyed only at the very end of the program.
      ShowWindow(Handle(), SW_HIDE);
      PostQuitMessage(0);
      return 0;

    case WM_QUERYENDSESSION:
      return TRUE;

    case WM_ENDSESSION:
      // Windows is logging off and may end the process any time after this
      // returns: what must not be lost is saved here, then the program ends
      // as if the window had been closed.
      if (wParam) {
        if (onEndSession) Guarded(onEndSession);
        PostQuitMessage(0);
      }
      return 0;

    case WM_DESTROY:
      KillTimer(Handle(), kPlayerTimer);
      KillTimer(Handle(), kFriendsTimer);
      if (onDestroy) Guarded(onDestroy);
      return 0;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace wf::ui::win32
