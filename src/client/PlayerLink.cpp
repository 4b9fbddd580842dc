#include "client/PlayerLink.h"

#include "client/ClientLink.h"

namespace wf {

using platform::TSendOutcome;

namespace {

// A registration is answered with 1, or with 2 when the window was registered
// already: the assistant takes that as a request to forget it.
constexpr intptr_t kUnregistered = 2;

}  // namespace

bool TPlayerLink::Forget() {
  const bool known = FAssistant || FPosition || FMap;
  FAssistant = 0;
  FRegistered = false;
  FPosition.reset();
  FMap.reset();
  return known;
}

bool TPlayerLink::Poll(Handle ownWindow) {
  const Handle assistant = FWindows.FindWindowByClassAndTitle(kAssistantWindowName, kAssistantWindowName);
  if (assistant != FAssistant) {
    // Another client (or none): nothing known before holds for it.
    bool changed = Forget();
    FAssistant = assistant;
    if (!assistant) return changed;
  }
  if (!assistant) return false;

  if (!FRegistered && ownWindow) {
    intptr_t answer = 0;
    TSendOutcome outcome = FWindows.Send(assistant, kAssistantRegister, ownWindow, 0, kAssistantBoundMs, &answer);
    if (outcome == TSendOutcome::Handled && answer == kUnregistered)
      outcome = FWindows.Send(assistant, kAssistantRegister, ownWindow, 0, kAssistantBoundMs, &answer);
    // Whatever else it answers, asking again would only toggle it.
    FRegistered = outcome == TSendOutcome::Handled;
  }

  intptr_t answer = 0;
  const TSendOutcome outcome = FWindows.Send(assistant, kAssistantPosition, 0, 0, kAssistantBoundMs, &answer);
  if (outcome == TSendOutcome::Gone) return Forget();
  if (outcome != TSendOutcome::Handled) return false;
  const uint32_t packed = static_cast<uint32_t>(static_cast<uintptr_t>(answer));
  std::optional<TPlayerPosition> position;
  if (packed != 0)
    position = TPlayerPosition{static_cast<uint16_t>(packed & 0xFFFF), static_cast<uint16_t>(packed >> 16)};
  if (position == FPosition) return false;
  FPosition = position;
  return true;
}

bool TPlayerLink::MapChanged(int32_t map) {
  if (!FAssistant || FMap == map) return false;
  FMap = map;
  return true;
}

}  // namespace wf
