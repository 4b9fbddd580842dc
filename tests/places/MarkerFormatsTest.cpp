#include <gtest/gtest.h>

#include <algorithm>

#include "places/MarkerFormats.h"

namespace wf::places {
namespace {

struct Expected {
  std::string name;
  int x, y, map;
};

// A file's text and what reading it gives.
struct ReadCase {
  const char* name;
  std::string text;
  std::vector<Expected> places;
  int unreadable, firstUnreadable;
};

void ExpectReads(TReadResult (*read)(std::string_view), const std::vector<ReadCase>& cases) {
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TReadResult result = read(c.text);
    EXPECT_EQ(result.Places.size(), c.places.size());
    for (size_t i = 0; i < std::min(c.places.size(), result.Places.size()); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(result.Places[i].Name, c.places[i].name);
      EXPECT_EQ(result.Places[i].X, c.places[i].x);
      EXPECT_EQ(result.Places[i].Y, c.places[i].y);
      EXPECT_EQ(result.Places[i].MapNo, c.places[i].map);
      EXPECT_FALSE(result.Places[i].Z);
    }
    EXPECT_EQ(result.Unreadable, c.unreadable);
    EXPECT_EQ(result.FirstUnreadableLine, c.firstUnreadable);
  }
}

TEST(MarkerFile, LinesAndTheMapsTheirFacetsName) {
  ExpectReads(ReadMarkerFile, {
      {"facet counts from one", "3\r\n+town: 1400 1600 1 Britain\r\n+dungeon: 5200 600 3 Mine\r\n",
       {{"Britain", 1400, 1600, 0}, {"Mine", 5200, 600, 2}}, 0, 0},
      {"facet zero is the first map too", "3\n+x: 1 2 0 Null\n", {{"Null", 1, 2, 0}}, 0, 0},
      {"a minus stands for the plus", "3\n-bank: 10 20 6 Bank\n", {{"Bank", 10, 20, 5}}, 0, 0},
      {"the name runs to the end, spaces and colons included", "3\n+a: 1 2 1 Haus am See: Tor 2 \n",
       {{"Haus am See: Tor 2 ", 1, 2, 0}}, 0, 0},
      {"several blanks between the numbers", "3\n+a:   7\t8  2 X\n", {{"X", 7, 8, 1}}, 0, 0},
      {"no name: the icon stands in", "3\n+moongate: 5 6 1\n", {{"moongate", 5, 6, 0}}, 0, 0},
      {"no format line", "+a: 1 2 1 A\n", {{"A", 1, 2, 0}}, 0, 0},
      {"code page names as they are", "3\n+a: 1 2 1 K\xF6nig\n", {{"K\xF6nig", 1, 2, 0}}, 0, 0},
      {"damaged lines are counted and the rest read",
       "3\n+a: 1 2 1 A\ngarbage\n+b: x 2 1 B\n\n+c: 1 2 8 C\n+d: -1 2 1 D\n+e: 1 70000 1 E\n"
       "+f 1 2 1 F\n+g: 3 4 2 G",
       {{"A", 1, 2, 0}, {"G", 3, 4, 1}}, 6, 3},
      {"a second number line is no marker", "3\n4\n", {}, 1, 2},
      {"empty file", "", {}, 0, 0},
  });
}

TEST(MarkerCsv, LinesInUtf8OrTheCodePage) {
  ExpectReads(ReadMarkerCsv, {
      {"six fields", "1400,1600,0,Britain,,white\r\n", {{"Britain", 1400, 1600, 0}}, 0, 0},
      {"seven fields with zoom", "10,20,4,Ilshenar,bank,red,5\n", {{"Ilshenar", 10, 20, 4}}, 0, 0},
      {"utf-8 name", "1,2,1,K\xC3\xB6nigsh\xC3\xA4user,,white\n", {{"K\xF6nigsh\xE4user", 1, 2, 1}}, 0, 0},
      {"code page name", "1,2,1,K\xF6nig,,white\n", {{"K\xF6nig", 1, 2, 1}}, 0, 0},
      {"byte order mark", "\xEF\xBB\xBF" "1,2,3,A,,white\n", {{"A", 1, 2, 3}}, 0, 0},
      {"spaces round numbers and in names", " 1 , 2 ,5, Alte Burg ,,white\n",
       {{" Alte Burg ", 1, 2, 5}}, 0, 0},
      {"damaged lines are counted",
       "x,y,map,name,icon,color\n1,2,0,A,,white\n1,2,0,B,C,,white,3\n1,2,6,D,,white\n"
       "1,2,0,E\n-5,2,0,F,,white\n1,2,1,G,,white",
       {{"A", 1, 2, 0}, {"G", 1, 2, 1}}, 5, 1},
  });
}

TEST(MarkerFormats, WrittenLayouts) {
  const std::vector<TPlace> places = {{"Britain", 1400, 1600, 5, 0}, {"K\xF6nig, Tor", 7, 8, {}, 5}};
  EXPECT_EQ(MarkerFileText(places),
            "3\r\n+place: 1400 1600 1 Britain\r\n+place: 7 8 6 K\xF6nig, Tor\r\n");
  EXPECT_EQ(MarkerCsvText(places),
            "1400,1600,0,Britain,,white\r\n7,8,5,K\xC3\xB6nig  Tor,,white\r\n");
}

TEST(MarkerFormats, TheFormatIsToldByContentThenByExtension) {
  const TReadResult none, one{{TPlace{}}}, two{{TPlace{}, TPlace{}}};
  using F = TPlacesFormat;
  struct Case {
    const char* name;
    const TReadResult *placesFile, *markerFile, *csv;
    const char* fileName;
    TPlacesFormat chosen;
  } cases[] = {
      {"content wins over the extension", &none, &two, &one, "x.csv", F::MarkerFile},
      {"csv content in a .txt", &none, &none, &one, "C:\\a\\places.txt", F::MarkerCsv},
      {"a tie goes to the extension", &one, &one, &one, "m.MAP", F::MarkerFile},
      {"a tie without a known extension goes to the places file", &one, &none, &one, "m.dat",
       F::PlacesFile},
      {"nothing readable: the extension", &none, &none, &none, "m.csv", F::MarkerCsv},
      {"a dot in a folder name is no extension", &none, &none, &none, "C:\\a.csv\\m",
       F::PlacesFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ChooseFormat({{F::PlacesFile, c.placesFile}, {F::MarkerFile, c.markerFile},
                            {F::MarkerCsv, c.csv}},
                           c.fileName),
              c.chosen);
  }
}

}  // namespace
}  // namespace wf::places
