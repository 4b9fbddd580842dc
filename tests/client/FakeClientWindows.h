#pragma once
// Stand-ins for the client's windows and the message boxes: they record what
// the client link does with them.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ClientWindows.h"
#include "platform/Desktop.h"

namespace wf::testing {

class FakeClientWindows : public platform::IClientWindows {
 public:
  struct Sent {
    Handle Window;
    uint32_t Message;
    uintptr_t WParam;
    intptr_t LParam;
    uint32_t TimeoutMs;
    uint8_t Code;  // WParam as a character
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

  Handle FindWindowByClass(const std::string& className) override {
    Lookups.push_back(className);
    auto it = Windows.find(className);
    return it == Windows.end() ? 0 : it->second;
  }

  Handle FindWindowByClassAndTitle(const char* className, const char* title) override {
    Lookups.push_back(std::string(className) + "|" + title);
    return std::string(className) == "UOASSIST-TP-MSG-WND" && std::string(title) == className
               ? Assistant
               : 0;
  }

  std::vector<TTopWindow> WindowsOfClass(const std::string& className) override {
    Lookups.push_back(className + " *");
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
    Sends.push_back({window, message, wParam, lParam, timeoutMs, static_cast<uint8_t>(wParam)});
    if (FailAtSend && Sends.size() > *FailAtSend) {
      if (FailWith == platform::TSendOutcome::TimedOut) Clock += timeoutMs;
      return FailWith;
    }
    if (auto scripted = Outcomes.find(message); scripted != Outcomes.end()) {
      if (scripted->second == platform::TSendOutcome::TimedOut) Clock += timeoutMs;
      return scripted->second;
    }
    if (MsPerMessage > timeoutMs) {
      Clock += timeoutMs;
      return platform::TSendOutcome::TimedOut;
    }
    Clock += MsPerMessage;
    if (reply) {
      auto answer = Answers.find(message);
      *reply = answer == Answers.end() ? 0 : answer->second;
    }
    return platform::TSendOutcome::Handled;
  }

  uint64_t NowMs() override { return Clock; }

  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const Sent& s : Sends) codes.push_back(s.Code);
    return codes;
  }

 private:
  Handle pendingFront_ = 0;
};

class RecordingMessageBoxes : public platform::IMessageBoxes {
 public:
  struct Box {
    std::string Caption;
    std::string Text;
  };
  std::vector<Box> Shown;

  void ShowError(const std::string& caption, const std::string& text) override {
    Shown.push_back({caption, text});
  }
};

// The character codes one command should arrive as.
inline std::vector<int> CodesOf(const std::string& bytes) {
  std::vector<int> codes;
  for (char c : bytes) codes.push_back(static_cast<unsigned char>(c));
  return codes;
}

}  // namespace wf::testing
