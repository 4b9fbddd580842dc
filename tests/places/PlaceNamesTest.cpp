#include <gtest/gtest.h>

#include "places/PlaceNames.h"

namespace wf::places {
namespace {

TEST(PlaceNames, NamesAreMadeSafeForThePlacesFile) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"Haus", "Haus"},        {"a=b", "a-b"},      {"==", "--"},       {"a//b", "a/b"},
      {"a///b", "a/b"},        {"////", "/"},       {"http://x", "http:/x"},
      {"/=/", "/-/"},          {"a/b", "a/b"},      {std::string("a\0b", 3), "a b"},
      {"a\r\nb", "a  b"},      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    const std::string safe = MakeNameSafe(c.in);
    EXPECT_EQ(safe, c.out);
    EXPECT_EQ(safe.find("//"), std::string::npos);
    EXPECT_EQ(safe.find('='), std::string::npos);
  }
}

TEST(PlaceNames, NumberedNames) {
  struct Case {
    const char *name, *base;
    bool numbered;
  } cases[] = {{"Ort1", "Ort", true},  {"Ort12", "Ort", true}, {"Ort", "Ort", false},
               {"Ort01", "Ort", false}, {"Ort1a", "Ort", false}, {"ort1", "Ort", false},
               {"Ort 1", "Ort", false}, {"1", "", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsNumberedName(c.name, c.base), c.numbered);
  }
}

TEST(PlaceNames, FindingByAnyPartOfTheNameWithoutCase) {
  const std::vector<std::string> names = {"Britain Bank", "Minoc", "K\xD6NIGSH\xC4USER",
                                          "\x8Akoda", "Vesper", "bank of vesper", "Stra\xDF" "e"};
  struct Case {
    const char* name;
    std::string part;
    std::vector<int> found;
  } cases[] = {
      {"middle of a name", "ino", {1}},
      {"any case", "BANK", {0, 5}},
      {"code page capitals and small letters", "k\xF6nigsh\xE4", {2}},
      {"s caron", "\x9A", {3}},
      {"several, in list order", "vesper", {4, 5}},
      {"spaces are part of the text", "n b", {0}},
      {"sharp s only as itself", "SS", {}},
      {"nothing matches", "Yew", {}},
      {"empty text finds nothing", "", {}},
      {"blank text finds nothing", "  ", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindMatches(names, c.part), c.found);
  }
}

}  // namespace
}  // namespace wf::places
