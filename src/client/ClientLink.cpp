#include "client/ClientLink.h"

#include <vector>

#include "config/Config.h"
#include "platform/Desktop.h"

namespace wf {

using platform::IClientWindows;
using platform::TSendOutcome;
using Handle = IClientWindows::Handle;

namespace {

constexpr uint32_t kKeyDown = 0x0100;    // WM_KEYDOWN
constexpr uint32_t kKeyUp = 0x0101;      // WM_KEYUP
constexpr uint32_t kCharMessage = 0x0102;  // WM_CHAR
constexpr uintptr_t kReturnKey = 0x0D;   // VK_RETURN
// Repeat count 1 and the Enter key's scan code; the key-up adds "was down"
// and "being released".
constexpr intptr_t kReturnDownFlags = 0x001C0001;
constexpr intptr_t kReturnUpFlags = static_cast<intptr_t>(0xC01C0001u);
// How often the foreground window is looked at while the client comes forward.
constexpr uint32_t kForegroundPollMs = 10;

enum class TClientKind { Classic, Open };

struct TMessage {
  uint32_t Message;
  uintptr_t WParam;
  intptr_t LParam;
};

TDelivery DeliveryOf(TSendOutcome outcome) {
  switch (outcome) {
    case TSendOutcome::Handled: return TDelivery::Delivered;
    case TSendOutcome::TimedOut: return TDelivery::TimedOut;
    case TSendOutcome::Refused: return TDelivery::Refused;
    case TSendOutcome::Gone: break;
  }
  return TDelivery::Gone;
}

// Handles compared as Windows keeps them: the assistants answer with 32 bits.
bool SameWindow(Handle a, intptr_t answer) {
  return static_cast<uint32_t>(a) == static_cast<uint32_t>(static_cast<uintptr_t>(answer));
}

// The open client's window: of those titled as the open client, the one the
// assistants' window names, else the one in front of the others.
Handle FindOpenClient(IClientWindows& windows) {
  std::vector<Handle> candidates;
  for (const IClientWindows::TTopWindow& w : windows.WindowsOfClass("SDL_app"))
    if (w.Title.find("ClassicUO") != std::string::npos) candidates.push_back(w.Window);
  if (candidates.size() > 1) {
    const Handle assistant = windows.FindWindowByClassAndTitle(kAssistantWindowName, kAssistantWindowName);
    intptr_t named = 0;
    if (assistant && windows.Send(assistant, kAssistantClientWindow, 0, 0, kAssistantBoundMs, &named) ==
                         TSendOutcome::Handled)
      for (Handle candidate : candidates)
        if (named && SameWindow(candidate, named)) return candidate;
  }
  return candidates.empty() ? 0 : candidates.front();
}

bool BringToFront(IClientWindows& windows, Handle window) {
  const uint64_t start = windows.NowMs();
  windows.BringToFront(window);
  while (windows.ForegroundWindow() != window) {
    if (windows.NowMs() - start >= kForegroundBoundMs) return false;
    windows.Pause(kForegroundPollMs);
  }
  return true;
}

// Sends the messages in order, all of them within the command's bound.
void Deliver(IClientWindows& windows, const std::vector<TMessage>& sequence, TSendResult& result) {
  const uint64_t start = windows.NowMs();
  result.Delivery = TDelivery::Delivered;
  for (const TMessage& m : sequence) {
    const uint64_t spent = windows.NowMs() - start;
    if (spent >= kCommandBoundMs) {
      result.Delivery = TDelivery::TimedOut;
      return;
    }
    const TSendOutcome outcome = windows.Send(result.Window, m.Message, m.WParam, m.LParam,
                                              static_cast<uint32_t>(kCommandBoundMs - spent));
    if (outcome != TSendOutcome::Handled) {
      result.Delivery = DeliveryOf(outcome);
      return;
    }
    ++result.MessagesHandled;
  }
}

}  // namespace

TSendResult SendClientCommand(const std::string& command, const TConfig& config,
                              IClientWindows& windows, platform::IMessageBoxes& messages) {
  TSendResult result;
  TClientKind kind = TClientKind::Classic;
  result.Window = windows.FindWindowByClass("Ultima Online");
  if (!result.Window) result.Window = windows.FindWindowByClass("Ultima Online Third Dawn");
  if (!result.Window) {
    result.Window = FindOpenClient(windows);
    kind = TClientKind::Open;
  }
  if (!result.Window) {
    messages.ShowError("UO Client not started",
                       "The Command '" + command + "' couldn't be sent, please start your UO Client.");
    return result;
  }

  // Enter, the prefix, the command, Enter. A client that stops taking messages
  // gets nothing more of this command: the rest would arrive out of context.
  const std::string prefix = config.GetValue("commandchar");
  std::vector<TMessage> sequence;
  sequence.reserve(prefix.size() + command.size() + 4);
  const auto enter = [&] {
    if (kind == TClientKind::Classic) {
      sequence.push_back({kCharMessage, '\r', 0});
    } else {
      // Control characters typed as WM_CHAR are dropped by the open client.
      sequence.push_back({kKeyDown, kReturnKey, kReturnDownFlags});
      sequence.push_back({kKeyUp, kReturnKey, kReturnUpFlags});
    }
  };
  enter();
  for (const std::string* text : {&prefix, &command})
    for (char c : *text) sequence.push_back({kCharMessage, static_cast<uint8_t>(c), 0});
  enter();

  if (kind == TClientKind::Open && !BringToFront(windows, result.Window)) {
    result.Delivery = TDelivery::NotInFront;
    return result;
  }
  Deliver(windows, sequence, result);
  return result;
}

std::string DeliveryProblem(const std::string& command, const TSendResult& result) {
  const char* reason = nullptr;
  switch (result.Delivery) {
    case TDelivery::Delivered:
    case TDelivery::NoClient: return {};
    case TDelivery::NotInFront:
      return "The command '" + command +
             "' was not sent: the game client takes typed text only while its window is in front, "
             "and its window could not be brought to the front";
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
