#pragma once
// Types a command into the running game client's window.

#include <cstdint>
#include <string>

#include "platform/ClientWindows.h"

namespace wf {

class TConfig;
namespace platform {
class IMessageBoxes;
}

// The longest one command may keep the window waiting for the client. A
// client busy for a moment still gets the whole command; a frozen one costs
// the user two seconds, not one wait per character.
inline constexpr uint32_t kCommandBoundMs = 2000;

enum class TDelivery {
  Delivered,
  NoClient,  // no client window; the user has been told already
  TimedOut,  // the client stopped taking messages within the bound
  Refused,   // Windows would not deliver to the client
  Gone,      // the client's window went away in the middle
};

struct TSendResult {
  platform::IClientWindows::Handle Window = 0;
  TDelivery Delivery = TDelivery::NoClient;
  size_t MessagesHandled = 0;
};

// Finds the client window ("Ultima Online", then "Ultima Online Third Dawn")
// and sends 13, the "commandchar" prefix, the command and 13 as character
// messages, stopping at the first that is not handled. Without a client window
// it shows "UO Client not started" and sends nothing.
TSendResult SendClientCommand(const std::string& command, const TConfig& config,
                              platform::IClientWindows& windows, platform::IMessageBoxes& messages);

// What to tell the user about a command that did not reach the client whole;
// empty when there is nothing (more) to say.
std::string DeliveryProblem(const std::string& command, const TSendResult& result);

}  // namespace wf
