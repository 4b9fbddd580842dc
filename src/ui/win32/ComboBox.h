#pragma once
// A drop-down list with an editable text field. Its change event comes both
// when the user selects an item and when the user types into the text field.

#include <functional>
#include <string>

#include "ui/Controls.h"
#include "ui/win32/ChildControl.h"

namespace wf::ui::win32 {

struct TComboBoxArgs {
  HWND parent = nullptr;
  int id = 0;
  TControlRect rect;  // height: the closed control's
  bool visible = true;
  int dropDownRows = 8;
  int rowHeight = 13;
};

class TComboBox : public TChildControl, public IComboBox {
 public:
  HWND Create(const TComboBoxArgs& args);
  void HandleCommand(WORD code) override;

  // Item texts are in the system code page.
  int ItemCount() const override;
  std::string Item(int index) const override;
  void AddItem(const std::string& text) override;
  void DeleteItem(int index) override;
  void ClearItems() override;
  int ItemIndex() const override;
  void SetItemIndex(int index) override;
  bool Visible() const override;
  void SetVisible(bool visible) override;
  void BeginUpdate() override;
  void EndUpdate() override;

  std::function<void()> onChange;
  // After onChange for text typed into the field: the field's text.
  std::function<void(const std::string& text)> onTextTyped;
  // The field lost the focus, or the list dropped down.
  std::function<void()> onLeave;

 private:
  int updateDepth_ = 0;
};

}  // namespace wf::ui::win32
