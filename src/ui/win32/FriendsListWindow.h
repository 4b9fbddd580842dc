#pragma once
// The friends' list on Windows: a window of its own beside the atlas (owned by
// it, so it stays above it and goes with it), a report list of the friends
// heard with "Go to" and "Travel". The rows and the choice are the atlas's
// logic's; the window only shows them and forwards what the user does.

#include <windows.h>

#include <string>
#include <vector>

#include "ui/AtlasForm.h"
#include "ui/win32/Window.h"

namespace wf::ui::win32 {

class TFriendsListWindow : public TWindow, public IFriendsListWindow {
 public:
  static constexpr wchar_t kClassName[] = L"WayfarerFriendsList";

  TFriendsListWindow() = default;
  ~TFriendsListWindow() override;

  // The logic that gets the user's choices, and the window that owns the list.
  void Bind(TAtlasForm* form, const TWindow* owner) {
    form_ = form;
    owner_ = owner;
  }

  void Open() override;
  bool IsOpen() const override { return Handle() != nullptr; }
  void ShowRows(const std::vector<TFriendRow>& rows, int selected) override;

  HWND List() const { return list_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateContent();
  void Layout();
  int Chosen() const;

  TAtlasForm* form_ = nullptr;
  const TWindow* owner_ = nullptr;
  HWND list_ = nullptr;
  HWND goTo_ = nullptr;
  HWND travel_ = nullptr;
  HFONT font_ = nullptr;
  // The texts shown, so that a cell is written only when it changes.
  std::vector<std::vector<std::wstring>> shown_;
  bool filling_ = false;  // the selection changes by ShowRows, not by the user
};

}  // namespace wf::ui::win32
