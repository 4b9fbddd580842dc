#include "ui/win32/ChildControl.h"

#include "common/Errors.h"
#include "ui/win32/Font.h"

namespace wf::ui::win32 {

namespace {
constexpr wchar_t kWrapperProperty[] = L"Wayfarer.Control";
}

TChildControl::~TChildControl() {
  if (hwnd_ && IsWindow(hwnd_) && GetPropW(hwnd_, kWrapperProperty) == this)
    RemovePropW(hwnd_, kWrapperProperty);
}

TChildControl* TChildControl::FromHandle(HWND control) {
  return control ? static_cast<TChildControl*>(GetPropW(control, kWrapperProperty)) : nullptr;
}

HWND TChildControl::CreateControl(const TCreateArgs& args) {
  HWND made = CreateWindowExW(args.exStyle, args.className, args.text.c_str(),
                              args.style | WS_CHILD, args.rect.left, args.rect.top,
                              args.rect.width, args.rect.height, args.parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                              GetModuleHandleW(nullptr), nullptr);
  if (!made)
    throw Exception("Cannot create a control (error " + std::to_string(GetLastError()) + ")");
  SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), FALSE);
  SetPropW(made, kWrapperProperty, this);
  hwnd_ = made;
  return made;
}

}  // namespace wf::ui::win32
