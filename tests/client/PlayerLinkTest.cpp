#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "DesktopFakes.h"
#include "client/ClientLink.h"
#include "client/PlayerLink.h"

namespace wf {
namespace {

using platform::TSendOutcome;
using testing::FakeClientWindows;
using Handle = platform::IClientWindows::Handle;

constexpr Handle kOwn = 0x4242;

intptr_t Packed(uint16_t x, uint16_t y) {
  // As the assistant returns it: a 32-bit int, sign-extended.
  return static_cast<intptr_t>(static_cast<int32_t>(x | (static_cast<uint32_t>(y) << 16)));
}

// One look after another, each with what the desktop holds at that moment.
struct Step {
  const char* name;
  Handle assistant;
  std::optional<intptr_t> position;  // the answer; nothing: the ask is not answered
  bool changed;
  std::optional<TPlayerPosition> expected;
  int registrations;  // registration messages sent in this step
};

void RunSteps(const std::vector<Step>& steps, intptr_t registerAnswer = 1) {
  FakeClientWindows windows;
  windows.Answers[kAssistantRegister] = registerAnswer;
  TPlayerLink link(windows);
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    windows.Assistant = s.assistant;
    windows.Sends.clear();
    windows.Outcomes.clear();
    if (s.position) windows.Answers[kAssistantPosition] = *s.position;
    else windows.Outcomes[kAssistantPosition] = TSendOutcome::TimedOut;

    EXPECT_EQ(link.Poll(kOwn), s.changed);
    EXPECT_EQ(link.Position(), s.expected);
    EXPECT_EQ(link.HasAssistant(), s.assistant != 0);
    int registrations = 0;
    for (const auto& sent : windows.Sends) {
      EXPECT_EQ(sent.Window, s.assistant);
      EXPECT_EQ(sent.TimeoutMs, kAssistantBoundMs);
      if (sent.Message == kAssistantRegister) {
        ++registrations;
        EXPECT_EQ(sent.WParam, kOwn);
      } else {
        EXPECT_EQ(sent.Message, kAssistantPosition);
      }
    }
    EXPECT_EQ(registrations, s.registrations);
  }
}

TEST(PlayerLink, RegistersOnceAndReadsThePosition) {
  RunSteps({
      {"no assistant", 0, Packed(1, 1), false, std::nullopt, 0},
      {"assistant without a player", 0x77, 0, false, std::nullopt, 1},
      {"player appears", 0x77, Packed(1000, 2000), true, TPlayerPosition{1000, 2000}, 0},
      {"player stands", 0x77, Packed(1000, 2000), false, TPlayerPosition{1000, 2000}, 0},
      {"player moves", 0x77, Packed(1001, 2000), true, TPlayerPosition{1001, 2000}, 0},
      {"unanswered ask is skipped", 0x77, std::nullopt, false, TPlayerPosition{1001, 2000}, 0},
      {"high Y survives the sign", 0x77, Packed(5, 40000), true, TPlayerPosition{5, 40000}, 0},
      {"player logs out", 0x77, 0, true, std::nullopt, 0},
      {"player back", 0x77, Packed(7, 8), true, TPlayerPosition{7, 8}, 0},
      {"client gone", 0, Packed(7, 8), true, std::nullopt, 0},
      {"a new client registers anew", 0x88, Packed(7, 8), true, TPlayerPosition{7, 8}, 1},
      {"another client at once: known anew", 0x99, Packed(7, 8), true, TPlayerPosition{7, 8}, 1},
  });
}

TEST(PlayerLink, AWindowThatWasRegisteredAlreadyIsRegisteredAgain) {
  // The answer 2 means the assistant has just forgotten the window.
  RunSteps({{"first look", 0x77, Packed(3, 4), true, TPlayerPosition{3, 4}, 2},
       {"second look", 0x77, Packed(3, 4), false, TPlayerPosition{3, 4}, 0}},
      2);
}

TEST(PlayerLink, TheMapIsKnownOnlyOnceTheClientNamesIt) {
  FakeClientWindows windows;
  windows.Assistant = 0x77;
  windows.Answers[kAssistantPosition] = Packed(10, 20);
  TPlayerLink link(windows);
  EXPECT_FALSE(link.MapChanged(2)) << "no assistant known yet";
  EXPECT_TRUE(link.Poll(kOwn));
  EXPECT_EQ(link.Map(), std::nullopt);
  EXPECT_TRUE(link.MapChanged(3));
  EXPECT_FALSE(link.MapChanged(3));
  EXPECT_EQ(link.Map(), 3);
  windows.Assistant = 0;
  EXPECT_TRUE(link.Poll(kOwn));
  EXPECT_EQ(link.Map(), std::nullopt) << "a client that is gone names no map";
}

TEST(PlayerLink, AnAssistantThatWentAwayMidQuestionIsForgotten) {
  FakeClientWindows windows;
  windows.Assistant = 0x77;
  windows.Answers[kAssistantPosition] = Packed(10, 20);
  TPlayerLink link(windows);
  ASSERT_TRUE(link.Poll(kOwn));
  windows.Outcomes[kAssistantPosition] = TSendOutcome::Gone;
  EXPECT_TRUE(link.Poll(kOwn));
  EXPECT_FALSE(link.HasAssistant());
  EXPECT_EQ(link.Position(), std::nullopt);
}

}  // namespace
}  // namespace wf
