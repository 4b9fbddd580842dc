#pragma once
// The map window's two small pop-ups: the list of places found while a name is
// typed, and the pointer's tip over the panes. Both are windows of their own,
// owned by the map window, that never take the focus or the activation, so
// typing goes on in the field and the panes' pixels stay as they are.

#include <functional>
#include <string>
#include <vector>

#include "ui/win32/Window.h"

namespace wf::ui::win32 {

class TFindList : public TWindow {
 public:
  static constexpr wchar_t kClassName[] = L"WayfarerFindList";
  static constexpr int kRowHeight = 13;
  static constexpr int kMaxRows = 8;

  void Create(HWND owner);
  // Shows `items` right under `anchor` (the field typed into); hides the list
  // when there are none.
  void Show(const std::vector<std::string>& items, HWND anchor);
  void Hide();
  bool Shown() const;
  const std::vector<std::string>& Items() const { return items_; }

  // The keyboard while the list is shown: Up and Down move the mark, Enter
  // chooses the marked entry, Escape closes. True when the key was used.
  bool HandleKey(WPARAM key);

  // The entry chosen, by its position; the list is hidden first.
  std::function<void(int index)> onChoose;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc);
  void Choose(int index);
  int top_ = 0;  // first entry shown
  int marked_ = -1;
  std::vector<std::string> items_;
};

class THoverTip : public TWindow {
 public:
  static constexpr wchar_t kClassName[] = L"WayfarerHoverTip";

  void Create(HWND owner);
  // Shows `text` (lines cut at "\n", UTF-8) beside the point (x, y)
  // of `pane`; hides the tip for an empty text.
  void Show(const std::string& text, HWND pane, int x, int y);
  void Hide();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::string text_;  // UTF-8: a friend's name may hold what no code page does
  std::wstring wide_;
  SIZE textSize_{0, 0};  // of text_ in the tip's font, measured when it changes
};

}  // namespace wf::ui::win32
