// One copy per folder: the name a copy claims, and what a second copy does.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

#include "DesktopFakes.h"
#include "platform/SingleInstance.h"

namespace wf::platform {
namespace {

TEST(SingleInstance, OneFolderHasOneNameHoweverItIsSpelt) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {"C:\\Games\\Wayfarer\\", "C:\\Games\\Wayfarer\\", true},
      {"C:\\Games\\Wayfarer\\", "c:\\games\\WAYFARER\\", true},
      {"C:\\Games\\Wayfarer\\", "C:/Games/Wayfarer/", true},
      {"C:\\Games\\Wayfarer\\", "C:\\Games\\Wayfarer", true},
      {"C:\\Games\\Wayfarer\\", "C:\\Games\\Wayfarer2\\", false},
      {"C:\\Games\\Wayfarer\\", "D:\\Games\\Wayfarer\\", false},
      {"C:\\Games\\Wayfarer\\", "C:\\Games\\", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    EXPECT_EQ(SingleInstanceName(c.a) == SingleInstanceName(c.b), c.same);
    // Only the namespace prefix may hold a backslash.
    const std::string name = SingleInstanceName(c.b);
    EXPECT_EQ(name.find('\\'), name.rfind('\\'));
  }
  EXPECT_LT(SingleInstanceName(std::string(2000, 'x')).size(), 64u);
}

// Names held by running copies, as the system would hold them, on a clock
// that runs while a copy waits: a holder may end, its window appear, later.
class FakeInstances : public ISingleInstance {
 public:
  bool Claim(const std::string& name) override {
    if (const auto end = endsAt.find(name); end != endsAt.end() && now >= end->second) held.erase(name);
    return held.insert(name).second;
  }
  bool BringRunningCopyToFront(const std::string& folder) override {
    if (!windowAt || now < *windowAt) return false;
    broughtToFront.push_back(folder);
    return true;
  }
  void Pause(uint32_t ms) override { now += ms; }
  std::set<std::string> held;
  std::map<std::string, uint32_t> endsAt;
  std::optional<uint32_t> windowAt = 0;
  uint32_t now = 0;
  std::vector<std::string> broughtToFront;
};

TEST(SingleInstance, ASecondCopyFromTheSameFolderBringsTheFirstToTheFrontAndEnds) {
  FakeInstances system;
  wf::testing::FakeMessageBoxes boxes;
  EXPECT_TRUE(StartAsOnlyCopy(system, "C:\\Games\\Wayfarer\\", boxes));
  EXPECT_TRUE(system.broughtToFront.empty());
  EXPECT_TRUE(StartAsOnlyCopy(system, "C:\\Other\\", boxes));
  EXPECT_FALSE(StartAsOnlyCopy(system, "c:/games/wayfarer/", boxes));
  EXPECT_EQ(system.broughtToFront, std::vector<std::string>{"c:/games/wayfarer/"});
  EXPECT_TRUE(boxes.boxes.empty());
}

// The other copy holds the folder and has no window: it is closing, or starting.
TEST(SingleInstance, ACopyWithoutAWindowIsWaitedForAWhile) {
  struct Case {
    const char* name;
    std::optional<uint32_t> endsAt, windowAt;
    bool runs, broughtToFront, told;
  } cases[] = {
      {"it ends", 1500, std::nullopt, true, false, false},
      {"its window appears", std::nullopt, 2000, false, true, false},
      {"neither, within the wait", kOtherCopyWaitMs + 100, kOtherCopyWaitMs + 100, false, false, true},
  };
  const std::string folder = "C:\\Games\\Wayfarer\\";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeInstances system;
    system.held.insert(SingleInstanceName(folder));
    if (c.endsAt) system.endsAt[SingleInstanceName(folder)] = *c.endsAt;
    system.windowAt = c.windowAt;
    wf::testing::FakeMessageBoxes boxes;
    EXPECT_EQ(StartAsOnlyCopy(system, folder, boxes), c.runs);
    EXPECT_EQ(!system.broughtToFront.empty(), c.broughtToFront);
    EXPECT_LE(system.now, kOtherCopyWaitMs);
    ASSERT_EQ(boxes.boxes.size(), c.told ? 1u : 0u);
    if (c.told) EXPECT_NE(boxes.boxes[0].text.find(folder + " is still running"), std::string::npos) << boxes.boxes[0].text;
  }
}

}  // namespace
}  // namespace wf::platform
