#pragma once
// Stand-ins for the desktop services every layer reports through: message
// boxes and the game client's windows. They record what they are asked to do.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ClientWindows.h"
#include "platform/Desktop.h"

namespace wf::testing {

class FakeMessageBoxes : public platform::IMessageBoxes {
 public:
  struct Box {
    std::string caption, text;
  };
  void ShowError(const std::string& caption, const std::string& text) override {
    boxes.push_back({caption, text});
    if (onShow) onShow();
  }
  void ShowInformation(const std::string& caption, const std::string& text) override {
    informations.push_back({caption, text});
  }
  std::vector<Box> boxes;
  std::vector<Box> informations;
  std::function<void()> onShow;  // runs while the box is "open"
};

// The game client's windows: found by class (and title), sent messages on a
// fake clock, brought to the front. Records every lookup and every message;
// sends can be made to fail, and an assistants' window answers the player's
// position and records the windows registered with it.
class FakeClientWindows : public platform::IClientWindows {
 public:
  static constexpr uint32_t kChar = 0x0102;
  static constexpr uint32_t kRegister = 0x400 + 200;
  static constexpr uint32_t kPosition = 0x400 + 202;

  struct Sent {
    Handle Window;
    uint32_t Message;
    uintptr_t WParam;
    intptr_t LParam;
    uint32_t TimeoutMs;
    uint8_t Code;  // WParam as a character
    bool Handled;
  };

  std::map<std::string, Handle> Windows;  // class name -> window
  // Every window of a class, in the window order; WindowsOfClass reads these.
  std::map<std::string, std::vector<TTopWindow>> Ordered;
  Handle Assistant = 0;                  // the assistants' message window
  std::map<uint32_t, intptr_t> Answers;  // what a window returns for a message
  // How a message ends when not handled, by message (e.g. a position ask).
  std::map<uint32_t, platform::TSendOutcome> Outcomes;
  // The foreground window, and what BringToFront does: the window asked for
  // comes to the front after this many looks at the foreground, or never.
  Handle Foreground = 0;
  std::optional<int> FrontAfterLooks = 0;
  std::vector<Handle> BroughtToFront;
  int Looks = 0;
  int Pauses = 0;
  // From this send on (by index), every send ends with FailWith.
  std::optional<size_t> FailAtSend;
  platform::TSendOutcome FailWith = platform::TSendOutcome::TimedOut;
  uint64_t MsPerMessage = 0;  // how long the client takes to handle one message
  uint64_t Clock = 1000;      // the fake clock, advanced by every send
  std::vector<std::string> Lookups;
  std::vector<Sent> Sends;
  std::vector<uintptr_t> Registered;  // windows registered with the assistants' window
  // Off: lookups and sends are not recorded, so that a test can count the
  // allocations of the code under test alone.
  bool Record = true;

  Handle FindWindowByClass(const std::string& className) override {
    if (Record) Lookups.push_back(className);
    auto it = Windows.find(className);
    return it == Windows.end() ? 0 : it->second;
  }

  Handle FindWindowByClassAndTitle(const char* className, const char* title) override {
    if (Record) Lookups.push_back(std::string(className) + "|" + title);
    return std::strcmp(className, "UOASSIST-TP-MSG-WND") == 0 && std::strcmp(title, className) == 0
               ? Assistant
               : 0;
  }

  std::vector<TTopWindow> WindowsOfClass(const std::string& className) override {
    if (Record) Lookups.push_back(className + " *");
    auto it = Ordered.find(className);
    return it == Ordered.end() ? std::vector<TTopWindow>{} : it->second;
  }

  void BringToFront(Handle window) override {
    BroughtToFront.push_back(window);
    pendingFront_ = window;
    Looks = 0;
  }

  Handle ForegroundWindow() override {
    if (pendingFront_ && FrontAfterLooks && Looks++ >= *FrontAfterLooks) {
      Foreground = pendingFront_;
      pendingFront_ = 0;
    }
    return Foreground;
  }

  void Pause(uint32_t milliseconds) override {
    ++Pauses;
    Clock += milliseconds;
  }

  platform::TSendOutcome Send(Handle window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                              uint32_t timeoutMs, intptr_t* reply) override {
    const platform::TSendOutcome outcome = Outcome(message, timeoutMs);
    if (Record)
      Sends.push_back({window, message, wParam, lParam, timeoutMs, static_cast<uint8_t>(wParam),
                       outcome == platform::TSendOutcome::Handled});
    if (outcome != platform::TSendOutcome::Handled) return outcome;
    Clock += MsPerMessage;
    // The assistants' window registers a window with 1 unless told otherwise.
    const bool registering = window == Assistant && Assistant && message == kRegister;
    if (registering) Registered.push_back(wParam);
    intptr_t answer = registering ? 1 : 0;
    if (auto it = Answers.find(message); it != Answers.end()) answer = it->second;
    if (reply) *reply = answer;
    return outcome;
  }

  uint64_t NowMs() override { return Clock; }

  // The position as the assistants' window answers it; (0, 0): no player.
  void SetPlayer(uint16_t x, uint16_t y) {
    Answers[kPosition] = static_cast<intptr_t>(x | (static_cast<uint32_t>(y) << 16));
  }

  // Every character code tried, in order, whether handled or not.
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const Sent& s : Sends) codes.push_back(s.Code);
    return codes;
  }
  // The characters one window handled.
  std::string Received(Handle window) const {
    std::string text;
    for (const Sent& s : Sends)
      if (s.Window == window && s.Message == kChar && s.Handled) text += static_cast<char>(s.Code);
    return text;
  }
  // How many messages went to one window.
  int SendsTo(Handle window) const {
    int count = 0;
    for (const Sent& s : Sends) count += s.Window == window;
    return count;
  }

 private:
  platform::TSendOutcome Outcome(uint32_t message, uint32_t timeoutMs) {
    platform::TSendOutcome outcome = platform::TSendOutcome::Handled;
    if (FailAtSend && Sends.size() >= *FailAtSend) outcome = FailWith;
    else if (auto it = Outcomes.find(message); it != Outcomes.end()) outcome = it->second;
    else if (MsPerMessage > timeoutMs) outcome = platform::TSendOutcome::TimedOut;
    if (outcome == platform::TSendOutcome::TimedOut) Clock += timeoutMs;
    return outcome;
  }

  Handle pendingFront_ = 0;
};

// The character codes a text should arrive as.
inline std::vector<int> CodesOf(const std::string& bytes) {
  std::vector<int> codes;
  for (char c : bytes) codes.push_back(static_cast<unsigned char>(c));
  return codes;
}

}  // namespace wf::testing
