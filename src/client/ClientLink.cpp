#include "client/ClientLink.h"

#include "config/Config.h"
#include "platform/Desktop.h"

namespace wf {

using platform::IClientWindows;
using platform::TSendOutcome;

namespace {

constexpr uint32_t kCharMessage = 0x0102;  // WM_CHAR

TDelivery DeliveryOf(TSendOutcome outcome) {
  switch (outcome) {
    case TSendOutcome::Handled: return TDelivery::Delivered;
    case TSendOutcome::TimedOut: return TDelivery::TimedOut;
    case TSendOutcome::Refused: return TDelivery::Refused;
    case TSendOutcome::Gone: break;
  }
  return TDelivery::Gone;
}

}  // namespace

TSendResult SendClientCommand(const std::string& command, const TConfig& config,
                              IClientWindows& windows, platform::IMessageBoxes& messages) {
  TSendResult result;
  result.Window = windows.FindWindowByClass("Ultima Online");
  if (!result.Window) result.Window = windows.FindWindowByClass("Ultima Online Third Dawn");
  if (!result.Window) {
    messages.ShowError("UO Client not started",
                       "The Command '" + command + "' couldn't be sent, please start your UO Client.");
    return result;
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

  const uint64_t start = windows.NowMs();
  result.Delivery = TDelivery::Delivered;
  for (char c : sequence) {
    const uint64_t spent = windows.NowMs() - start;
    if (spent >= kCommandBoundMs) {
      result.Delivery = TDelivery::TimedOut;
      break;
    }
    const TSendOutcome outcome =
        windows.Send(result.Window, kCharMessage, static_cast<uint8_t>(c), 0,
                     static_cast<uint32_t>(kCommandBoundMs - spent));
    if (outcome != TSendOutcome::Handled) {
      result.Delivery = DeliveryOf(outcome);
      break;
    }
    ++result.MessagesHandled;
  }
  return result;
}

std::string DeliveryProblem(const std::string& command, const TSendResult& result) {
  const char* reason = nullptr;
  switch (result.Delivery) {
    case TDelivery::Delivered:
    case TDelivery::NoClient: return {};
    case TDelivery::TimedOut:
      // A message that timed out stays in the client's queue and may still be
      // handled: the user has to know the chat line may hold a piece of it.
      reason = "the client did not take it in time, and part of it may be left in the client's chat line";
      break;
    case TDelivery::Refused:
      reason = "the client runs with higher rights than Wayfarer (as administrator), and Windows does "
               "not let a program with normal rights send to it";
      break;
    case TDelivery::Gone: reason = "the client's window closed"; break;
  }
  return "The command '" + command + "' was not completely delivered to the game client: " + reason;
}

}  // namespace wf
