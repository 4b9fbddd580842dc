#pragma once
// A modal list to choose one line from: caption, prompt, the lines (the first
// one chosen), OK and "Cancel"; a double click on a line is OK. Centred on
// the screen, owned by the program's active window.

#include <optional>
#include <string>
#include <vector>

namespace wf::ui::win32 {

// Control identifiers inside the dialog (OK and Cancel are IDOK and IDCANCEL).
inline constexpr int kListPromptId = 100;
inline constexpr int kListId = 101;

// The index of the line chosen, or nothing on Cancel. Texts are in UTF-8 (a
// friend's name may hold any script); the list takes the desktop's message
// font when a line holds letters the control font lacks. Raises
// wf::Exception when the dialog cannot open.
std::optional<int> ChooseFromList(const std::string& caption, const std::string& prompt,
                                  const std::vector<std::string>& lines);

}  // namespace wf::ui::win32
