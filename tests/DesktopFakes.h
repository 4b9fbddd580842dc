#pragma once
// Stand-ins for the desktop services every layer reports through: message
// boxes and the game client's windows. They record what they are asked to do.

#include <cstddef>
#include <cstdint>
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

// Client windows by class name. Records every lookup and every character sent;
// a send can be made to fail from a given one on.
class FakeClientWindows : public platform::IClientWindows {
 public:
  struct Sent {
    Handle window;
    uint8_t code;
    bool delivered;
  };

  Handle FindWindowByClass(const std::string& className) override {
    lookups.push_back(className);
    auto found = windows.find(className);
    return found == windows.end() ? 0 : found->second;
  }
  bool SendChar(Handle window, uint8_t code) override {
    bool delivered = !failAtSend || sends.size() < *failAtSend;
    sends.push_back({window, code, delivered});
    return delivered;
  }

  // Every code tried, in order, whether delivered or not.
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const Sent& s : sends) codes.push_back(s.code);
    return codes;
  }
  // The characters one window received.
  std::string Received(Handle window) const {
    std::string text;
    for (const Sent& s : sends)
      if (s.window == window && s.delivered) text += static_cast<char>(s.code);
    return text;
  }

  std::map<std::string, Handle> windows;  // class name -> window
  std::optional<size_t> failAtSend;        // index of the first send that fails
  std::vector<std::string> lookups;
  std::vector<Sent> sends;
};

// The character codes a text should arrive as.
inline std::vector<int> CodesOf(const std::string& bytes) {
  std::vector<int> codes;
  for (char c : bytes) codes.push_back(static_cast<unsigned char>(c));
  return codes;
}

}  // namespace wf::testing
