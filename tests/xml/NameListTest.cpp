#include <gtest/gtest.h>

#include <random>

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
    SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
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

// The list as a plain vector: insertion walks back from the end, lookup is the
// binary search that stops when the middle index repeats.
struct ModelList {
  std::vector<const TNvpNode*> items;
  void AddSorted(const TNvpNode* node) {
    size_t at = items.size();
    while (at > 0 && CompareNames(items[at - 1]->Name, node->Name) >= 0) --at;
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), node);
  }
  const TNvpNode* FindByName(const std::string& name) const {
    if (items.empty()) return nullptr;
    size_t lo = 0, hi = items.size(), last = static_cast<size_t>(-1);
    for (;;) {
      size_t mid = (lo + hi) / 2;
      if (mid == last) return nullptr;
      int c = CompareNames(items[mid]->Name, name);
      if (c == 0) return items[mid];
      (c < 0 ? lo : hi) = mid;
      last = mid;
    }
  }
};

TEST(NameList, LongListsBehaveLikeOneSortedSequence) {
  std::mt19937 rng(99);
  auto randomName = [&] {
    std::string name;
    for (size_t n = 1 + rng() % 3; n > 0; --n) name += static_cast<char>('a' + rng() % 6);
    return name;
  };
  TNvpList<> list;
  ModelList model;
  for (int step = 0; step < 6000; ++step) {
    if (step % 5 == 4 && list.Count() > 0) {
      int index = static_cast<int>(rng() % static_cast<unsigned>(list.Count()));
      ASSERT_EQ(&list[index], model.items[static_cast<size_t>(index)]);
      std::unique_ptr<TNvpNode> removed = list.Extract(index);
      model.items.erase(model.items.begin() + index);
      continue;  // the node is freed here; the model no longer holds it
    }
    auto node = std::make_unique<TNvpNode>(randomName(), std::to_string(step));
    model.AddSorted(node.get());
    list.AddSorted(std::move(node));
    if (step % 97 == 0) {
      ASSERT_EQ(static_cast<size_t>(list.Count()), model.items.size());
      size_t i = 0;
      for (const TNvpNode& n : list) ASSERT_EQ(&n, model.items[i++]);
      for (int k = 0; k < 50; ++k) {
        std::string name = randomName();
        ASSERT_EQ(list.FindByName(name), model.FindByName(name)) << name;
      }
    }
  }
  // Attributes read from a tag land where adding them one by one would put them.
  std::string text;
  ModelList attributeModel;
  std::vector<std::unique_ptr<TNvpNode>> keep;
  for (int i = 0; i < 2000; ++i) {
    std::string name = randomName();
    text += name + "='" + std::to_string(i) + "' ";
    keep.push_back(std::make_unique<TNvpNode>(name, std::to_string(i)));
    attributeModel.AddSorted(keep.back().get());
  }
  TAttrList attributes;
  attributes.ParseAttributes(text.c_str());
  ASSERT_EQ(static_cast<size_t>(attributes.Count()), attributeModel.items.size());
  for (int i = 0; i < attributes.Count(); ++i)
    EXPECT_EQ(attributes[i].Value, attributeModel.items[static_cast<size_t>(i)]->Value);
}

}  // namespace
}  // namespace wf
