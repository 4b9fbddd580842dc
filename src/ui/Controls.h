#pragma once
// The window's controls as its logic sees them. The Win32 layer binds real
// controls to these; tests bind fakes.

#include <string>

namespace wf {
class TBitmap32;
}

namespace wf::ui {

enum class TMouseButton { Left, Right, Middle };

// A one-line edit field.
class IEdit {
 public:
  virtual ~IEdit() = default;
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
};

// A drop-down list with an editable text field.
class IComboBox {
 public:
  virtual ~IComboBox() = default;
  virtual int ItemCount() const = 0;
  virtual std::string Item(int index) const = 0;
  virtual void AddItem(const std::string& text) = 0;
  virtual void DeleteItem(int index) = 0;
  virtual void ClearItems() = 0;
  // Selected item, or -1. Selecting from the program fires no change event.
  virtual int ItemIndex() const = 0;
  virtual void SetItemIndex(int index) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  // Redrawing is suspended between these two while the items are replaced.
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
};

// An image pane: shows its bitmap one pixel per screen pixel at its top-left
// corner and repaints whenever the bitmap announces a change.
class IImagePane {
 public:
  virtual ~IImagePane() = default;
  virtual TBitmap32& Bitmap() = 0;
};

// The window's system menu: the program's own commands, below the system's.
// A command is a small positive number (see MenuCommands.h).
class ISystemMenu {
 public:
  virtual ~ISystemMenu() = default;
  virtual void AddCommand(int command, const std::string& text) = 0;
  // Shows or hides the command's check mark.
  virtual void SetChecked(int command, bool checked) = 0;
};

}  // namespace wf::ui
