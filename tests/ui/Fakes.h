#pragma once
// Stand-ins for the window's controls and the desktop, so the window's
// handlers run without a screen.

#include <functional>
#include <map>
#include <optional>
#include <deque>
#include <string>
#include <tuple>
#include <vector>

#include "DesktopFakes.h"
#include "platform/Desktop.h"
#include "platform/FileDialogs.h"
#include "platform/FolderDialog.h"
#include "platform/Registry.h"
#include "raster/Bitmap32.h"
#include "ui/Controls.h"
#include "ui/Locations.h"

namespace wf::ui::testing {

using wf::testing::FakeClientWindows;
using wf::testing::FakeMessageBoxes;

class FakeEdit : public IEdit {
 public:
  std::string Text() const override { return text; }
  void SetText(const std::string& value) override { text = value; }
  std::string text = "0";
};

class FakeComboBox : public IComboBox {
 public:
  int ItemCount() const override { return static_cast<int>(items.size()); }
  std::string Item(int index) const override { return items.at(static_cast<size_t>(index)); }
  void AddItem(const std::string& text) override { items.push_back(text); }
  // As a real list: the selection goes with a deleted selected item and moves
  // up with the items after it.
  void DeleteItem(int index) override {
    items.erase(items.begin() + index);
    if (itemIndex == index) itemIndex = -1;
    else if (itemIndex > index) --itemIndex;
  }
  void ClearItems() override {
    items.clear();
    itemIndex = -1;
  }
  int ItemIndex() const override { return itemIndex; }
  void SetItemIndex(int index) override { itemIndex = index >= 0 && index < ItemCount() ? index : -1; }
  bool Visible() const override { return visible; }
  void SetVisible(bool value) override { visible = value; }
  void BeginUpdate() override { ++updating; }
  void EndUpdate() override {
    --updating;
    ++updates;
  }

  std::vector<std::string> items;
  int itemIndex = -1;
  bool visible = true;
  int updating = 0;  // open BeginUpdate calls
  int updates = 0;   // finished BeginUpdate/EndUpdate pairs
};

class FakePane : public IImagePane {
 public:
  FakePane() {
    bitmap.OnChange = [this](TBitmap32&) { ++changes; };
  }
  TBitmap32& Bitmap() override { return bitmap; }
  TBitmap32 bitmap;
  int changes = 0;
};

// The system menu's commands in the order added, with their check marks.
class FakeSystemMenu : public ISystemMenu {
 public:
  void AddCommand(int command, const std::string& text) override { commands.emplace_back(command, text); }
  void SetChecked(int command, bool value) override { checked[command] = value; }
  // The commands among `wanted`, in the order added.
  std::vector<std::pair<int, std::string>> Only(std::initializer_list<int> wanted) const {
    std::vector<std::pair<int, std::string>> found;
    for (const auto& item : commands)
      if (std::find(wanted.begin(), wanted.end(), item.first) != wanted.end()) found.push_back(item);
    return found;
  }
  std::vector<std::pair<int, std::string>> commands;
  std::map<int, bool> checked;
};

// The registry's values, by root, key and value name.
class FakeRegistry : public platform::IRegistry {
 public:
  std::optional<std::string> ReadText(platform::TRegistryRoot root, const std::string& key,
                                      const std::string& value) override {
    auto found = values.find({root, key, value});
    if (found == values.end()) return std::nullopt;
    return found->second;
  }
  std::map<std::tuple<platform::TRegistryRoot, std::string, std::string>, std::string> values;
};

// The folder dialog, answering `answer` and recording what it showed.
class FakeFolderDialog : public platform::IFolderDialog {
 public:
  std::optional<std::string> ChooseFolder(const std::string& caption, const std::string& startFolder) override {
    shown.emplace_back(caption, startFolder);
    return answer;
  }
  std::optional<std::string> answer;
  std::vector<std::pair<std::string, std::string>> shown;
};

class FakeInputDialog : public platform::IInputDialog {
 public:
  struct Call {
    std::string caption, prompt, defaultAnswer;
    int maxLength;
  };
  std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                        const std::string& defaultAnswer, int maxLength) override {
    calls.push_back({caption, prompt, defaultAnswer, maxLength});
    if (onShow) onShow();
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<std::string>> answers;  // nothing: Cancel
  std::vector<Call> calls;
  std::function<void()> onShow;  // runs while the box is "open"
};

// The open and save dialogs, answered from queues; an empty queue cancels.
class FakeFileDialogs : public platform::IFileDialogs {
 public:
  std::optional<std::string> OpenFile(const std::string& title,
                                      const std::vector<platform::TFileType>& types) override {
    titles.push_back(title);
    offered = types;
    if (opens.empty()) return std::nullopt;
    std::string path = opens.front();
    opens.pop_front();
    return path;
  }
  std::optional<TSaveChoice> SaveFile(const std::string& title,
                                      const std::vector<platform::TFileType>& types,
                                      const std::string&) override {
    titles.push_back(title);
    offered = types;
    if (saves.empty()) return std::nullopt;
    TSaveChoice choice = saves.front();
    saves.pop_front();
    return choice;
  }
  std::deque<std::string> opens;
  std::deque<TSaveChoice> saves;
  std::vector<std::string> titles;
  std::vector<platform::TFileType> offered;
};

// A places file in memory, with failures on demand.
class FakePlacesStore : public IPlacesStore {
 public:
  bool Exists(const std::string&) override { return contents.has_value() || readError != 0; }
  std::optional<std::string> Read(const std::string&, std::string* reason) override {
    if (readError) {
      *reason = readReason;
      return std::nullopt;
    }
    return contents;
  }
  int Replace(const std::string&, std::string_view text, std::string* reason) override {
    ++writes;
    if (writeError) {
      *reason = writeReason;
      return writeError;
    }
    contents = std::string(text);
    readError = 0;
    return 0;
  }
  std::optional<std::string> contents;
  int readError = 0;
  std::string readReason;  // the system's text that comes with readError
  int writeError = 0;
  std::string writeReason;  // the system's text that comes with writeError
  int writes = 0;
};

}  // namespace wf::ui::testing
