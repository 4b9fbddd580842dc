#pragma once
// What the portable core needs of the desktop: colours of the desktop's
// elements, modal message boxes and the text-input dialog. The window's logic
// and the map objects reach the desktop only through these, so tests stand in
// for it with fakes.

#include <cstdint>
#include <optional>
#include <string>

namespace wf::platform {

// Desktop colour elements by index (the button face is element 15).
constexpr int kColorBtnFace = 15;
constexpr int kColorWindowText = 8;

// The desktop's current colour of an element, as a colour value with red in
// bits 0-7, green 8-15 and blue 16-23. GetSysColor on Windows; a fixed
// button-face grey elsewhere.
uint32_t DesktopColor(int element);

// Modal message boxes with a single OK button.
class IMessageBoxes {
 public:
  virtual ~IMessageBoxes() = default;
  virtual void ShowError(const std::string& caption, const std::string& text) = 0;
  // A box with an information icon; where a desktop has none, an error box.
  virtual void ShowInformation(const std::string& caption, const std::string& text) {
    ShowError(caption, text);
  }
};

// The modal text-input dialog: caption, prompt, a default answer that starts
// selected, at most `maxLength` characters, OK and "Cancel". Returns the text
// on OK and nothing on Cancel.
class IInputDialog {
 public:
  virtual ~IInputDialog() = default;
  virtual std::optional<std::string> InputQuery(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& defaultAnswer,
                                                int maxLength) = 0;
};

}  // namespace wf::platform
