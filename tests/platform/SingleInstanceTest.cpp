// One copy per folder: the name a copy claims, and what a second copy does.

#include <gtest/gtest.h>

#include <set>

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

// Names held by running copies, as the system would hold them.
class FakeInstances : public ISingleInstance {
 public:
  bool Claim(const std::string& name) override { return held.insert(name).second; }
  void BringRunningCopyToFront(const std::string& folder) override { broughtToFront.push_back(folder); }
  std::set<std::string> held;
  std::vector<std::string> broughtToFront;
};

TEST(SingleInstance, ASecondCopyFromTheSameFolderBringsTheFirstToTheFrontAndEnds) {
  FakeInstances system;
  EXPECT_TRUE(StartAsOnlyCopy(system, "C:\\Games\\Wayfarer\\"));
  EXPECT_TRUE(system.broughtToFront.empty());
  EXPECT_TRUE(StartAsOnlyCopy(system, "C:\\Other\\"));
  EXPECT_FALSE(StartAsOnlyCopy(system, "c:/games/wayfarer/"));
  EXPECT_EQ(system.broughtToFront, std::vector<std::string>{"c:/games/wayfarer/"});
}

}  // namespace
}  // namespace wf::platform
