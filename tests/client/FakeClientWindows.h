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
    uint8_t Code;
  };

  std::map<std::string, Handle> Windows;  // class name -> window
  std::optional<size_t> FailAtSend;        // index of the first send that fails
  std::vector<std::string> Lookups;
  std::vector<Sent> Sends;

  Handle FindWindowByClass(const std::string& className) override {
    Lookups.push_back(className);
    auto it = Windows.find(className);
    return it == Windows.end() ? 0 : it->second;
  }

  bool SendChar(Handle window, uint8_t code) override {
    bool ok = !FailAtSend || Sends.size() < *FailAtSend;
    Sends.push_back({window, code});
    return ok;
  }

  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const Sent& s : Sends) codes.push_back(s.Code);
    return codes;
  }
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
