#pragma once
// A static text, sized to its text.

#include <string>

#include "ui/win32/ChildControl.h"

namespace wf::ui::win32 {

struct TLabelArgs {
  HWND parent = nullptr;
  std::string text;  // code page 1252
  int left = 0;
  int top = 0;
};

class TLabel : public TChildControl {
 public:
  HWND Create(const TLabelArgs& args);
  // Height of a label's line of text in the controls' font.
  static int TextHeight();
};

}  // namespace wf::ui::win32
