#pragma once
// Types a command into the running game client's window.

#include <string>

#include "platform/ClientWindows.h"

namespace wf {

class TConfig;
namespace platform {
class IMessageBoxes;
}

// Finds the client window ("Ultima Online", then "Ultima Online Third Dawn")
// and sends 13, the "commandchar" prefix, the command and 13 as character
// messages. Without a client window it shows "UO Client not started" and
// sends nothing. Returns the window, or 0.
platform::IClientWindows::Handle SendClientCommand(const std::string& command,
                                                   const TConfig& config,
                                                   platform::IClientWindows& windows,
                                                   platform::IMessageBoxes& messages);

}  // namespace wf
