#include "ui/Locations.h"

#include <gtest/gtest.h>

namespace wf::ui {
namespace {

using Strings = std::vector<std::string>;

TEST(SplitString, CutsAtEveryDelimiterKeepingEmptyPartsAndAppends) {
  struct Case {
    std::string text, delimiter;
    Strings parts;
  } cases[] = {
      {"a=b=c", "=", {"a", "b", "c"}},
      {"", "=", {""}},
      {"=", "=", {"", ""}},
      {"==x=", "=", {"", "", "x", ""}},
      {"1,2,3 4", " ", {"1,2,3", "4"}},
      {"a//b//", "//", {"a", "b", ""}},
      {"a///b", "//", {"a", "/b"}},
      {"no delimiter", "=", {"no delimiter"}},
      {"abc", "", {"abc"}},  // nothing to cut at; must not loop
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Strings list;
    EXPECT_EQ(&SplitString(c.text, c.delimiter, list), &list);
    EXPECT_EQ(list, c.parts) << c.text;
  }
  Strings list{"kept"};
  SplitString("x=y", "=", list);
  EXPECT_EQ(list, (Strings{"kept", "x", "y"}));
}

TEST(LocationsFile, LinesAreReadByTheirRules) {
  using Kind = TLocationLine::Kind;
  struct Case {
    std::string line;
    Kind kind;
    std::string name, coords;
    uint16_t map;
    std::string mapText;
  } cases[] = {
      {"Haus=1400,1600,0 2 // Notiz", Kind::Place, "Haus", "1400,1600,0", 2, ""},
      {"Haus=1400,1600,0 // Notiz", Kind::Unreadable, "", "", 0, ""},
      {"Mine=5200,600,-20 2", Kind::Place, "Mine", "5200,600,-20", 2, ""},
      {"a=b=c", Kind::Place, "a", "b", 0, ""},
      {"=1,2,3 4", Kind::Place, "", "1,2,3", 4, ""},
      {" Ort =1,2,3 3", Kind::Place, " Ort ", "1,2,3", 3, ""},
      {"Ort=1,2,3 65535", Kind::Place, "Ort", "1,2,3", 65535, ""},
      // A map number the field cannot hold is no map number: written back as
      // another map, it would send travel there.
      {"Ort=1,2,3 -1", Kind::Unreadable, "", "", 0, "-1"},
      {"Ort=1,2,3 65536", Kind::Unreadable, "", "", 0, "65536"},
      {"Ort=1,2,3 70000", Kind::Unreadable, "", "", 0, "70000"},
      {"Ort=1,2,3 $10", Kind::Place, "Ort", "1,2,3", 16, ""},
      {"Ort=1,2,3 2 rest=of the line", Kind::Place, "Ort", "1,2,3", 2, ""},
      {"Ort=1,2,3 2=x", Kind::Place, "Ort", "1,2,3", 2, ""},
      {"Ort= 1,2,3 2", Kind::Unreadable, "", "", 0, "1,2,3"},
      {"Ort=1,2,3 zwei", Kind::Unreadable, "", "", 0, "zwei"},
      {"Ort=1,2,3 2 ", Kind::Place, "Ort", "1,2,3", 2, ""},
      {"Ort=1,2,3  2", Kind::Unreadable, "", "", 0, ""},
      {"\xE4rger=1,2,3 0", Kind::Place, "\xE4rger", "1,2,3", 0, ""},
      {"Ort=", Kind::Place, "Ort", "", 0, ""},
      {"", Kind::Skipped, "", "", 0, ""},
      {"//Format: <Ortsname>=<X>,<Y>,<Z> <Map>", Kind::Skipped, "", "", 0, ""},
      {"no equals sign", Kind::Skipped, "", "", 0, ""},
      {"text // a=b 2", Kind::Skipped, "", "", 0, ""},
      {" // a=b 2", Kind::Skipped, "", "", 0, ""},
  };
  for (const Case& c : cases) {
    TLocationLine read = ReadLocationLine(c.line);
    ASSERT_EQ(read.What, c.kind) << c.line;
    if (c.kind == Kind::Place) {
      EXPECT_EQ(read.Place.Name, c.name) << c.line;
      EXPECT_EQ(read.Place.Coords, c.coords) << c.line;
      EXPECT_EQ(read.Place.MapNo, c.map) << c.line;
    }
    if (c.kind == Kind::Unreadable) {
      EXPECT_EQ(read.MapText, c.mapText) << c.line;
    }
  }
}

TEST(LocationsFile, ALongNameStillSplitsAtItsEqualsSign) {
  std::string name(300, 'n');
  TLocationLine read = ReadLocationLine(name + "=1,2,3 4");
  ASSERT_EQ(read.What, TLocationLine::Kind::Place);
  EXPECT_EQ(read.Place.Name, name);
  EXPECT_EQ(read.Place.Coords, "1,2,3");
}

TEST(LocationsFile, TextIsCutIntoLinesAtAnyLineEndAndEndsAtAByteZero) {
  EXPECT_EQ(TextLines("a\r\nb\rc\nd"), (Strings{"a", "b", "c", "d"}));
  EXPECT_EQ(TextLines("a\r\n"), (Strings{"a"}));
  EXPECT_EQ(TextLines("a\n\nb"), (Strings{"a", "", "b"}));
  EXPECT_EQ(TextLines("a\r\r\nb"), (Strings{"a", "", "b"}));
  EXPECT_EQ(TextLines(std::string("a\nb\0c\nd", 7)), (Strings{"a", "b"}));
  EXPECT_EQ(TextLines(""), Strings{});
}

TEST(LocationsFile, PlacesSortByUnsignedBytesShorterFirst) {
  TLocationList places;
  for (const char* name : {"alpha", "\xE4", "Zeta", "Ort1", "Alpha", "Ort", "", "zz"})
    places.push_back(std::make_unique<TLocation>(TLocation{name, "", 0}));
  SortLocations(places);
  Strings names;
  for (const auto& place : places) names.push_back(place->Name);
  EXPECT_EQ(names, (Strings{"", "Alpha", "Ort", "Ort1", "Zeta", "alpha", "zz", "\xE4"}));

  TLocation a{"Ort", "1", 0}, b{"Ort", "2", 3}, c{"Orte", "", 0};
  EXPECT_EQ(CompareLocations(a, a), 0);
  EXPECT_EQ(CompareLocations(a, b), 0);
  EXPECT_EQ(CompareLocations(a, c), -1);
  EXPECT_EQ(CompareLocations(c, a), 1);
}

TEST(LocationsFile, WrittenLayoutIsHeaderEmptyLineThenOnePlacePerLine) {
  TLocationList places;
  EXPECT_EQ(LocationsFileText(places, {}), "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n");
  places.push_back(std::make_unique<TLocation>(TLocation{"Ort", "10,20,5", 3}));
  places.push_back(std::make_unique<TLocation>(TLocation{"", "", 65535}));
  EXPECT_EQ(LocationsFileText(places, {"Haus=1,2,3 // Notiz"}),
            "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n"
            "\r\n"
            "Ort=10,20,5 3\r\n"
            "= 65535\r\n"
            "Haus=1,2,3 // Notiz\r\n");
}

TEST(CommaText, ItemsAreCutAtCommasAndBlanksWithQuotes) {
  struct Case {
    std::string text;
    Strings items;
  } cases[] = {
      {"1400,1600,0", {"1400", "1600", "0"}},
      {"100, 200, 5", {"100", "200", "5"}},
      {"100 200 5", {"100", "200", "5"}},
      {"  100 ,\t200\r\n,5  ", {"100", "200", "5"}},
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {"a, ", {"a"}},
      {",a", {"", "a"}},
      {", a", {"", "a"}},
      {",", {"", ""}},
      {"", {}},
      {"   ", {}},
      {"\"a b\",c", {"a b", "c"}},
      {"\"a\"\"b\"", {"a\"b"}},
      {"\"\"", {""}},
      {"\"\",1", {"", "1"}},
      {"\"x", {""}},
      {"\"abc", {"ab"}},
      {"\"a\"\"", {"a"}},
      {"\"a\"b,c", {"a", "b", "c"}},
      {"x\"y\",z", {"x\"y\"", "z"}},
      {std::string("1,2\0,3", 6), {"1", "2"}},
      {"\xE4,\xFF\x80", {"\xE4", "\xFF\x80"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseCommaText(c.text), c.items) << c.text;
}

TEST(UniqueName, CountsOnlyInOnePassInListOrder) {
  auto listOf = [](Strings names) {
    TLocationList places;
    for (const auto& name : names) places.push_back(std::make_unique<TLocation>(TLocation{name, "", 0}));
    return places;
  };
  EXPECT_EQ(UniqueLocationName(listOf({}), "Haus"), "Haus");
  EXPECT_EQ(UniqueLocationName(listOf({"Haus"}), "Haus"), "Haus1");
  EXPECT_EQ(UniqueLocationName(listOf({"Haus", "Haus1"}), "Haus"), "Haus2");
  EXPECT_EQ(UniqueLocationName(listOf({"Ort", "Ort1"}), "Ort"), "Ort2");
  EXPECT_EQ(UniqueLocationName(listOf({"Ort1"}), "Ort"), "Ort");
  EXPECT_EQ(UniqueLocationName(listOf({"ort"}), "Ort"), "Ort");
  // Only names after the first match count, in the order given.
  EXPECT_EQ(UniqueLocationName(listOf({"Ort1", "Ort"}), "Ort"), "Ort1");
  EXPECT_EQ(UniqueLocationName(listOf({"Ort", "Ort2", "Ort1"}), "Ort"), "Ort2");
}

TEST(PlaceChecks, RefuseWhatWouldNotReadBack) {
  for (const std::string& name : Strings{"a=b", "=", "a//b", "//", "a\rb", "a\nb", std::string("a\0b", 3)})
    EXPECT_THROW(CheckLocationName(name), EPlaceRefused) << name;
  for (const std::string& name : Strings{"Haus", " Haus ", "a/b/", "\xE4\xFF", "1,2 3", ""})
    EXPECT_NO_THROW(CheckLocationName(name)) << name;
  for (const std::string& text : Strings{"1 2", " 1", "1 ", "=", "1//2", "1\n", std::string("\0", 1)})
    EXPECT_THROW(CheckCoordinateText(text), EPlaceRefused) << text;
  for (const std::string& text : Strings{"1400", "-5", "", "abc", "1,2", "/1/", "\t1", "\xE4"})
    EXPECT_NO_THROW(CheckCoordinateText(text)) << text;
  try {
    CheckLocationName("a=b");
    FAIL();
  } catch (const EPlaceRefused& e) {
    EXPECT_STREQ(e.what(),
                 "The name 'a=b' cannot be used for a place: a place name must not contain \"=\", "
                 "\"//\" or a line break");
  }
}

}  // namespace
}  // namespace wf::ui
