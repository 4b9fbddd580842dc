#pragma once
// Stand-ins for the window's controls and the desktop, so the window's
// handlers run without a screen.

#include <functional>
#include <map>
#include <optional>
#include <deque>
#include <string>
#include <vector>

#include "platform/ClientWindows.h"
#include "platform/Desktop.h"
#include "raster/Bitmap32.h"
#include "ui/Controls.h"
#include "ui/Locations.h"

namespace wf::ui::testing {

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
  std::vector<std::pair<int, std::string>> commands;
  std::map<int, bool> checked;
};

class FakeMessageBoxes : public platform::IMessageBoxes {
 public:
  struct Box {
    std::string caption, text;
  };
  void ShowError(const std::string& caption, const std::string& text) override {
    boxes.push_back({caption, text});
    if (onShow) onShow();
  }
  std::vector<Box> boxes;
  std::function<void()> onShow;
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
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<std::string>> answers;  // nothing: Cancel
  std::vector<Call> calls;
};

// Client windows by class name; records the characters each one receives.
// With `assistant` set, an assistants' window answers the player's position
// and records the windows registered with it.
class FakeClientWindows : public platform::IClientWindows {
 public:
  Handle FindWindowByClass(const std::string& className) override {
    auto found = windows.find(className);
    return found == windows.end() ? 0 : found->second;
  }
  Handle FindWindowByClassAndTitle(const char*, const char*) override {
    ++assistantLookups;
    return assistant;
  }
  std::vector<TTopWindow> WindowsOfClass(const std::string&) override { return {}; }
  platform::TSendOutcome Send(Handle window, uint32_t message, uintptr_t wParam, intptr_t,
                              uint32_t, intptr_t* reply) override {
    if (reply) *reply = 0;
    if (window == assistant && assistant) {
      ++assistantQuestions;
      if (!assistantAnswers) return platform::TSendOutcome::TimedOut;
      if (message == 0x400 + 200) {
        registered.push_back(wParam);
        if (reply) *reply = 1;
      } else if (message == 0x400 + 202) {
        if (reply) *reply = static_cast<intptr_t>(position);
      }
      return platform::TSendOutcome::Handled;
    }
    if (refuse) return platform::TSendOutcome::Refused;
    if (message == 0x0102) received[window].push_back(static_cast<char>(wParam));
    return platform::TSendOutcome::Handled;
  }
  void BringToFront(Handle) override {}
  Handle ForegroundWindow() override { return 0; }
  uint64_t NowMs() override { return clock; }
  void Pause(uint32_t milliseconds) override { clock += milliseconds; }

  // The position as the assistants' window answers it; 0: no player.
  void SetPlayer(uint16_t x, uint16_t y) { position = x | (static_cast<uint32_t>(y) << 16); }

  std::map<std::string, Handle> windows;
  std::map<Handle, std::string> received;
  bool refuse = false;  // every send is refused, as by a client with higher rights
  uint64_t clock = 0;
  Handle assistant = 0;
  bool assistantAnswers = true;
  uint32_t position = 0;
  std::vector<uintptr_t> registered;
  int assistantLookups = 0;
  int assistantQuestions = 0;
};

// A places file in memory, with failures on demand.
class FakePlacesStore : public IPlacesStore {
 public:
  bool Exists(const std::string&) override { return contents.has_value() || readError != 0; }
  std::optional<std::string> Read(const std::string&, int* errorCode) override {
    if (readError) {
      *errorCode = readError;
      return std::nullopt;
    }
    return contents;
  }
  int Replace(const std::string&, std::string_view text) override {
    ++writes;
    if (writeError) return writeError;
    contents = std::string(text);
    readError = 0;
    return 0;
  }
  std::optional<std::string> contents;
  int readError = 0;
  int writeError = 0;
  int writes = 0;
};

}  // namespace wf::ui::testing
