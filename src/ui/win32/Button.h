#pragma once
// A push button.

#include <functional>
#include <string>

#include "ui/win32/ChildControl.h"

namespace wf::ui::win32 {

struct TButtonArgs {
  HWND parent = nullptr;
  int id = 0;
  std::string text;  // code page 1252
  TControlRect rect;
};

class TButton : public TChildControl {
 public:
  HWND Create(const TButtonArgs& args);
  void HandleCommand(WORD code) override;

  std::function<void()> onClick;
};

}  // namespace wf::ui::win32
