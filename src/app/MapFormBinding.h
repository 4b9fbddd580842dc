#pragma once
// Connects the map window's events to the window's logic. Unbinds when it
// goes, so a window torn down after the logic is gone calls nothing.

namespace wf::ui {
class TMapForm;
namespace win32 {
class TMapWindow;
}
}  // namespace wf::ui

namespace wf::app {

class TMapFormBinding {
 public:
  TMapFormBinding(ui::win32::TMapWindow& window, ui::TMapForm& form);
  ~TMapFormBinding();
  TMapFormBinding(const TMapFormBinding&) = delete;
  TMapFormBinding& operator=(const TMapFormBinding&) = delete;

 private:
  ui::win32::TMapWindow& window_;
};

}  // namespace wf::app
