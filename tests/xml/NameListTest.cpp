#include <gtest/gtest.h>

#include "xml/NameLists.h"

namespace wf {
namespace {

std::vector<std::string> Names(const TNvpList<>& list) {
  std::vector<std::string> names;
  for (const TNvpNode& n : list) names.push_back(n.Name + "=" + n.Value);
  return names;
}

TEST(NameList, AddSortedKeepsByteOrderAndPutsANewEqualNameFirst) {
  TNvpList<> list;
  for (auto [name, value] : {std::pair{"b", "1"}, {"a", "2"}, {"\xE4", "3"}, {"B", "4"}, {"b", "5"},
                             {"ab", "6"}, {"", "7"}, {"b", "8"}})
    list.AddSorted(std::make_unique<TNvpNode>(name, value));
  // Upper case before lower case, a prefix before the longer name, bytes above
  // 127 after ASCII; of equal names the one added last comes first.
  EXPECT_EQ(Names(list), (std::vector<std::string>{"=7", "B=4", "a=2", "ab=6", "b=8", "b=5", "b=1",
                                                   "\xE4=3"}));
}

TEST(NameList, FindByNameTakesTheEntryTheBinarySearchMeetsFirst) {
  struct Case {
    std::vector<std::string> names;  // in list order, all with distinct values
    std::string sought;
    int expectedIndex;  // -1: none
  };
  const Case cases[] = {
      {{}, "a", -1},
      {{"a"}, "a", 0},
      {{"a"}, "b", -1},
      {{"b"}, "a", -1},
      {{"a", "b", "c"}, "c", 2},
      {{"a", "b", "c"}, "bb", -1},
      // Equal names: the middle probe decides. Two b's: mid 1 is the second.
      {{"b", "b"}, "b", 1},
      {{"a", "b", "b"}, "b", 1},
      {{"b", "b", "b", "c"}, "b", 2},
      {{"a", "a", "a", "b", "c"}, "a", 2},
      {{"a", "b", "b", "b", "b", "b", "c"}, "b", 3},
      {{"a", "c", "e", "g", "i", "k"}, "a", 0},
      {{"a", "c", "e", "g", "i", "k"}, "k", 5},
      {{"a", "c", "e", "g", "i", "k"}, "j", -1},
      {{"a", "c", "e", "g", "i", "k"}, "", -1},
  };
  for (const Case& c : cases) {
    TNvpList<> list;
    // Added back to front, so equal names keep the order given above.
    for (size_t i = c.names.size(); i-- > 0;)
      list.AddSorted(std::make_unique<TNvpNode>(c.names[i], std::to_string(i)));
    const TNvpNode* found = list.FindByName(c.sought);
    if (c.expectedIndex < 0) {
      EXPECT_EQ(found, nullptr) << c.sought;
      EXPECT_EQ(list.ValueOf(c.sought), "");
    } else {
      ASSERT_NE(found, nullptr) << c.sought;
      EXPECT_EQ(found->Value, std::to_string(c.expectedIndex)) << c.sought;
      EXPECT_EQ(list.ValueOf(c.sought), std::to_string(c.expectedIndex));
    }
  }
}

TEST(NameList, FindByNameIsCaseSensitiveAndExact) {
  TNvpList<> list;
  list.AddSorted(std::make_unique<TNvpNode>("key", "k"));
  list.AddSorted(std::make_unique<TNvpNode>("value", "v"));
  EXPECT_EQ(list.ValueOf("key"), "k");
  EXPECT_EQ(list.FindByName("Key"), nullptr);
  EXPECT_EQ(list.FindByName("ke"), nullptr);
  EXPECT_EQ(list.FindByName("keys"), nullptr);
}

TEST(NameList, DeleteAndExtractKeepTheOrder) {
  TNvpList<> list;
  for (const char* n : {"c", "a", "b"}) list.AddSorted(std::make_unique<TNvpNode>(n, n));
  std::unique_ptr<TNvpNode> b = list.Extract(1);
  EXPECT_EQ(b->Name, "b");
  list.Delete(0);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"c=c"}));
  list.Clear();
  EXPECT_TRUE(list.Empty());
}

}  // namespace
}  // namespace wf
