#include "client/ClientLink.h"

#include "config/Config.h"
#include "platform/Desktop.h"

namespace wf {

using platform::IClientWindows;

IClientWindows::Handle SendClientCommand(const std::string& command, const TConfig& config,
                                         IClientWindows& windows,
                                         platform::IMessageBoxes& messages) {
  IClientWindows::Handle window = windows.FindWindowByClass("Ultima Online");
  if (!window) window = windows.FindWindowByClass("Ultima Online Third Dawn");
  if (!window) {
    messages.ShowError("UO Client not started",
                       "The Command '" + command + "' couldn't be sent, please start your UO Client.");
    return 0;
  }
  // Enter, the prefix, the command, Enter. A client that stops taking characters
  // gets nothing more of this command: the rest would arrive out of context.
  const std::string prefix = config.GetValue("commandchar");
  std::string sequence;
  sequence.reserve(prefix.size() + command.size() + 2);
  sequence += '\r';
  sequence += prefix;
  sequence += command;
  sequence += '\r';
  for (char c : sequence)
    if (!windows.SendChar(window, static_cast<uint8_t>(c))) break;
  return window;
}

}  // namespace wf
