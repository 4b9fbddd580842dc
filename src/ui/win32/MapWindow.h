#pragma once
// The map window on Windows: the top-level window "Map" with its panes, buttons,
// drop-down lists and labelled edit fields, laid out at fixed pixel positions.
// It decides nothing itself; every event is handed to a callback, which the
// program binds to the window's logic.

#include <cstdint>
#include <exception>
#include <functional>

#include "ui/MapForm.h"
#include "ui/win32/Button.h"
#include "ui/win32/ComboBox.h"
#include "ui/win32/EditField.h"
#include "ui/win32/ImagePane.h"
#include "ui/win32/Label.h"
#include "ui/win32/PopupWindows.h"
#include "ui/win32/SystemMenu.h"
#include "ui/win32/Window.h"

namespace wf::ui::win32 {

class TMapWindow : public TWindow {
 public:
  static constexpr wchar_t kClassName[] = L"WayfarerMapWindow";
  static constexpr int kLeft = 200;
  static constexpr int kTop = 109;
  static constexpr int kWidth = 577;
  static constexpr int kHeight = 299;
  // Icon resource of the executable; a standard icon stands in where it has none.
  static constexpr int kIconResource = 1;

  TMapWindow();
  ~TMapWindow() override;

  // Creates the window and all its controls, hidden; onCreate runs once they
  // all exist. Raises wf::Exception when the window cannot be made.
  void Create();
  // Shows the window; onShow runs as it becomes visible.
  void Show(int showCommand = SW_SHOWNORMAL);
  // Destroys the window; onDestroy runs while its controls still exist.
  void Destroy() { DestroyHandle(); }

  // For the message loop, before a message is dispatched: every key press for
  // this window or one of its controls first goes to onKeyDown, then the Tab
  // and arrow keys move between controls. True when the message was handled
  // here; otherwise it goes on to the control as usual.
  bool PreTranslate(MSG& message);

  TMapFormControls FormControls();

  // Controls in tab order, with the labels of the edit fields.
  TImagePane MapImage;
  TImagePane ZoomMap;
  TButton btnZoomIn;
  TButton btnZoomOut;
  TComboBox cbTravel;
  TLabel lblX;
  TEditField eX;
  TLabel lblY;
  TEditField eY;
  TLabel lblZ;
  TEditField eZ;
  TButton btnNeu;
  TButton btnChange;
  TButton btnDelete;
  TComboBox cbChooseMap;
  TButton btnGo;
  TSystemMenu SystemMenu;
  // Pop-ups of their own, not controls: the places found while typing into
  // cbTravel, and the pointer's tip over the panes.
  TFindList FindList;
  THoverTip HoverTip;

  std::function<void()> onCreate;
  std::function<void()> onShow;
  std::function<void()> onDestroy;
  // The desktop session is ending; the program may be ended before the window
  // is destroyed. The message loop ends after it.
  std::function<void()> onEndSession;
  std::function<void(uint16_t key)> onKeyDown;
  // One of the program's commands was chosen from the system menu.
  std::function<void(int command)> onSystemCommand;
  // A few times a second, never inside another handler.
  std::function<void()> onPlayerTimer;
  // Ten times a second: friends' changes held back and friends who faded.
  std::function<void()> onFriendsTimer;
  // The game client posted the map the player is on now.
  std::function<void(int map)> onPlayerMap;
  // The friends' link posted that its snapshot changed (kFriendsChanged).
  std::function<void()> onFriendsChanged;

  static constexpr UINT_PTR kPlayerTimer = 1;
  static constexpr UINT kPlayerTimerMs = 250;
  static constexpr UINT kFriendsChanged = WM_APP + 2;
  static constexpr UINT_PTR kFriendsTimer = 2;
  static constexpr UINT kFriendsTimerMs = 100;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateControls();
  void LabelledEdit(TLabel& label, TEditField& edit, int id, const char* caption, TControlRect rect);
  bool IsOwnWindow(HWND window) const;
  void HidePopups();

  HWND focusBeforeDeactivation_ = nullptr;
  std::exception_ptr createError_;
};

}  // namespace wf::ui::win32
