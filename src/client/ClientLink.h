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
  NotInFront,  // the client takes text only in front, and could not be brought there
};

struct TSendResult {
  platform::IClientWindows::Handle Window = 0;
  TDelivery Delivery = TDelivery::NoClient;
  size_t MessagesHandled = 0;
};

// How long the open client may take to come to the front when asked; the
// command's own bound starts after it.
inline constexpr uint32_t kForegroundBoundMs = 1000;
// How long the assistants' window may take to answer one question.
inline constexpr uint32_t kAssistantBoundMs = 100;

// The hidden window through which the client (or the assistant beside it)
// answers questions about the game; its class and its title are both this.
inline constexpr char kAssistantWindowName[] = "UOASSIST-TP-MSG-WND";
// Its questions, from WM_USER (0x400) on.
inline constexpr uint32_t kAssistantRegister = 0x400 + 200;
inline constexpr uint32_t kAssistantPosition = 0x400 + 202;
inline constexpr uint32_t kAssistantClientWindow = 0x400 + 213;
// Posted to registered windows when the player's map changes; wParam: the map.
inline constexpr uint32_t kAssistantMapChanged = 0x400 + 313;

// Finds the client window and types 13, the "commandchar" prefix, the command
// and 13 into it, stopping at the first message that is not handled.
//
// The classic client ("Ultima Online", then "Ultima Online Third Dawn") takes
// everything as character messages, wherever it is. The open client (an SDL
// window titled "... ClassicUO ...") takes text only while it is the
// foreground window and Enter only as a key: it is brought to the front first,
// and stays there.
//
// Without a client window it shows "UO Client not started" and sends nothing.
TSendResult SendClientCommand(const std::string& command, const TConfig& config,
                              platform::IClientWindows& windows, platform::IMessageBoxes& messages);

// What to tell the user about a command that did not reach the client whole;
// empty when there is nothing (more) to say.
std::string DeliveryProblem(const std::string& command, const TSendResult& result);

}  // namespace wf
