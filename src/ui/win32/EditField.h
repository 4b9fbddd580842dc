#pragma once
// A one-line edit field.

#include <string>

#include "ui/Controls.h"
#include "ui/win32/ChildControl.h"

namespace wf::ui::win32 {

struct TEditFieldArgs {
  HWND parent = nullptr;
  int id = 0;
  std::string text;  // code page 1252
  TControlRect rect;
};

class TEditField : public TChildControl, public IEdit {
 public:
  HWND Create(const TEditFieldArgs& args);

  // In the system code page.
  std::string Text() const override;
  void SetText(const std::string& text) override;
};

}  // namespace wf::ui::win32
