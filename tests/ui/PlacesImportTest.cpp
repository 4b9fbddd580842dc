// Places from and to other tools' files through the system menu, and the
// menu's places commands.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "FormRig.h"
#include "TestWorld.h"
#include "common/Errors.h"
#include "mapdata/MapTable.h"
#include "ui/MenuCommands.h"

namespace wf::ui {
namespace {

using testing::FormRig;
using Strings = std::vector<std::string>;

const std::string kHeader = "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n";

// The places as the places file holds them, one "Name=Coords Map" each.
Strings Stored(FormRig& rig) {
  Strings lines;
  for (const auto& place : rig.form->FLocations)
    lines.push_back(place->Name + "=" + place->Coords + " " + std::to_string(place->MapNo));
  return lines;
}

TMapForm& StartWith(FormRig& rig, const std::string& places) {
  if (!places.empty()) rig.dir.Write("locations.txt", kHeader + places);
  return rig.Start();
}

void Import(FormRig& rig, const std::string& fileName, const std::string& contents) {
  rig.files.opens.push_back(rig.dir.Write(fileName, contents));
  rig.form->SystemCommand(cmImportPlaces);
}

TEST(PlacesMenu, ImportExportAndShowPlacesWithTheStoredCheckMark) {
  struct Case {
    const char* name;
    std::optional<std::string> stored;
    bool checked;
  } cases[] = {{"absent", std::nullopt, false}, {"on", "1", true}, {"off", "0", false},
               {"not a number", "ja", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig rig;
    if (c.stored) rig.config->AddPair("showplaces", *c.stored);
    TMapForm& form = rig.Start();
    EXPECT_EQ(rig.menu.Only({cmImportPlaces, cmExportPlaces, cmShowPlaces}), (std::vector<std::pair<int, std::string>>{
                                     {cmImportPlaces, "Import places..."},
                                     {cmExportPlaces, "Export places..."},
                                     {cmShowPlaces, "Show places on the map"}}));
    EXPECT_EQ(rig.menu.checked[cmShowPlaces], c.checked);
    EXPECT_EQ(form.FShowPlaces, c.checked);
  }
}

TEST(PlacesMenu, ShowPlacesIsStoredOnlyWhenToggled) {
  FormRig rig;
  TMapForm& form = rig.Start();
  EXPECT_EQ(rig.ConfigText().find("showplaces"), std::string::npos);
  form.SystemCommand(cmShowPlaces);
  EXPECT_TRUE(rig.menu.checked[cmShowPlaces]);
  EXPECT_NE(rig.ConfigText().find("<config key=\"showplaces\" value=\"1\" />"), std::string::npos);
  form.SystemCommand(cmShowPlaces);
  EXPECT_FALSE(rig.menu.checked[cmShowPlaces]);
  EXPECT_NE(rig.ConfigText().find("<config key=\"showplaces\" value=\"0\" />"), std::string::npos);
}

TEST(PlacesMenu, AMenuCommandsAreThereEvenWhenThePlacesFileHasAnUnreadableLine) {
  FormRig rig;
  rig.dir.Write("locations.txt", kHeader + "Haus=1,2,3 x\r\n");
  rig.MakeForm();
  EXPECT_THROW(rig.form->FormCreate(), EConvertError);
  EXPECT_EQ(rig.menu.Only({cmImportPlaces, cmExportPlaces, cmShowPlaces}).size(), 3u);
}

// Ort and Ort1 to Ort10 as the places file holds them, and sorted with the
// place that an import of one more Ort adds.
std::string OrtFile() {
  std::string file = "Ort=0,0,0 0\r\n";
  for (int n = 1; n <= 10; ++n) file += "Ort" + std::to_string(n) + "=0," + std::to_string(n) + ",0 0\r\n";
  return file;
}
Strings OrtStored() {
  return {"Ort=0,0,0 0", "Ort1=0,1,0 0", "Ort10=0,10,0 0", "Ort11=0,99,0 0", "Ort2=0,2,0 0",
          "Ort3=0,3,0 0", "Ort4=0,4,0 0", "Ort5=0,5,0 0", "Ort6=0,6,0 0", "Ort7=0,7,0 0",
          "Ort8=0,8,0 0", "Ort9=0,9,0 0"};
}

TEST(PlacesImport, FormatsNamesAndTheMergeRules) {
  struct Case {
    const char* name;
    std::string places;  // the places file before, after its header
    std::string fileName, contents;
    Strings stored;
    std::string report;
  } cases[] = {
      {"marker file: facets count from one", "", "m.map",
       "3\r\n+town: 1400 1600 1 Britain\r\n+dungeon: 5200 600 3 Mine\r\n-x: 7 8 0 Null\r\n",
       {"Britain=1400,1600,0 0", "Mine=5200,600,0 2", "Null=7,8,0 0"},
       "3 places added, 0 already there, 0 lines not understood."},
      {"marker csv in UTF-8 and the code page", "", "m.csv",
       "10,20,4,K\xC3\xB6nig,,white\n30,40,5,M\xFChle,bank,red,3\n",
       {"K\xF6nig=10,20,0 4", "M\xFChle=30,40,0 5"},
       "2 places added, 0 already there, 0 lines not understood."},
      {"another places file keeps its Z", "", "alt.txt",
       "//Format\r\n\r\nTurm=100,200,-20 3\r\nHof=5,6,7\r\n",
       {"Hof=5,6,7 0", "Turm=100,200,-20 3"},
       "2 places added, 0 already there, 0 lines not understood."},
      {"told by content, not by extension", "", "m.txt", "3\n+a: 1 2 2 A\n", {"A=1,2,0 1"},
       "1 place added, 0 already there, 0 lines not understood."},
      {"the same name, X, Y and map is there already, whatever Z", "Haus=1,2,9 0\r\n", "m.map",
       "3\n+a: 1 2 1 Haus\n", {"Haus=1,2,9 0"},
       "0 places added, 1 already there, 0 lines not understood."},
      {"another place of the same name is numbered", "Haus=1,2,9 0\r\nHaus1=5,5,0 0\r\n", "m.map",
       "3\n+a: 1 3 1 Haus\n+a: 1 2 2 Haus\n",
       {"Haus=1,2,9 0", "Haus1=5,5,0 0", "Haus2=1,3,0 0", "Haus3=1,2,0 1"},
       "2 places added, 0 already there, 0 lines not understood."},
      {"a numbered copy from an earlier import is there already", "Haus=9,9,0 0\r\nHaus1=1,2,0 0\r\n",
       "m.map", "3\n+a: 1 2 1 Haus\n", {"Haus=9,9,0 0", "Haus1=1,2,0 0"},
       "0 places added, 1 already there, 0 lines not understood."},
      {"twice in one file", "", "m.csv", "1,2,0,A,,white\n1,2,0,A,,white\n", {"A=1,2,0 0"},
       "1 place added, 1 already there, 0 lines not understood."},
      // Ort10 sorts before Ort2, so one pass over the sorted names ends at Ort10.
      {"numbering goes on past a name that sorts early", OrtFile(), "m.csv", "0,99,0,Ort,,white\n",
       OrtStored(), "1 place added, 0 already there, 0 lines not understood."},
      {"names are made safe", "", "m.map", "3\n+a: 1 2 1 a=b//c///d\n", {"a-b/c/d=1,2,0 0"},
       "1 place added, 0 already there, 0 lines not understood."},
      {"damaged lines are counted and the rest added", "", "m.map",
       "3\n+a: 1 2 1 A\n+b: 1 x 1 B\nrubbish\n+c: 1 2 9 C\n+d: 3 4 1 D\n",
       {"A=1,2,0 0", "D=3,4,0 0"}, "2 places added, 0 already there, 3 lines not understood (the first is line 3)."},
      {"places file lines without a place", "", "p.txt",
       "A=1,2,3 0\r\nno equals sign\r\n=1,2,3 0\r\nB=1,2,3 x\r\nC=1 0\r\nD=1,2,z 0\r\nE=1,2,3 6\r\nF=1,2,3 65536\r\n",
       {"A=1,2,3 0"}, "1 place added, 0 already there, 7 lines not understood (the first is line 2)."},
      {"a Z that \"Neu\" would not store is not understood", "", "alt.txt",
       "Turm=100,200,300 0\r\nTief=1,2,-129 0\r\nOk=1,2,127 0\r\n", {"Ok=1,2,127 0"},
       "1 place added, 0 already there, 2 lines not understood (the first is line 1)."},
      {"a places file with a UTF-8 mark", "", "p.txt", "\xEF\xBB\xBFHaus=1,2,3 0\r\n", {"Haus=1,2,3 0"},
       "1 place added, 0 already there, 0 lines not understood."},
      {"a places file in UTF-16", "", "p.txt",
       std::string("\xFF\xFE" "K\0" "\xE4\0" "=\0" "1\0" ",\0" "2\0" ",\0" "3\0" " \0" "4\0", 22), {"K\xE4=1,2,3 4"},
       "1 place added, 0 already there, 0 lines not understood."},
      {"numbered copies are told by their digits", "Ort10=1,2,0 0\r\nHaus01=1,2,0 0\r\n", "m.csv",
       "1,2,0,Ort,,white\n1,2,0,Ort1,,white\n1,2,0,Haus,,white\n",
       {"Haus=1,2,0 0", "Haus01=1,2,0 0", "Ort1=1,2,0 0", "Ort10=1,2,0 0"},
       "2 places added, 1 already there, 0 lines not understood."},
      {"nothing readable", "", "x.bin", std::string("\x01\x02\x00\xFF", 4), {},
       "0 places added, 0 already there, 1 line not understood (the first is line 1)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig rig;
    StartWith(rig, c.places);
    const Strings before = Stored(rig);
    Import(rig, c.fileName, c.contents);
    ASSERT_EQ(rig.informations().size(), 1u);
    EXPECT_EQ(rig.informations()[0].caption, "Import places");
    EXPECT_EQ(rig.informations()[0].text, c.report);
    EXPECT_TRUE(rig.boxes.boxes.empty());
    const Strings& expected = c.stored;
    EXPECT_EQ(Stored(rig), expected);
    EXPECT_EQ(rig.cbTravel.items, rig.Names());
    // Every change is in the places file at once, also what was imported.
    std::string file = kHeader;
    for (const std::string& line : expected) file += line + "\r\n";
    if (expected != before) EXPECT_EQ(rig.PlacesText(), file);
  }
}

TEST(PlacesImport, ZIsTheLandAltitudeWhereTheMapIsLoaded) {
  wf::testing::TTestWorld world;
  worldgen::TMapContents contents(2, MapSizeOf(2).BlocksHigh);
  contents.SetAltitude(9, 10, -7);
  world.AddMap(2, contents);
  FormRig rig(&world.Config());
  rig.Start();
  Import(rig, "m.csv", "9,10,2,Loaded,,white\n9,10,3,NotLoaded,,white\n9,10,1,NoSuchMap,,white\n");
  EXPECT_EQ(Stored(rig), (Strings{"Loaded=9,10,-7 2", "NoSuchMap=9,10,0 1", "NotLoaded=9,10,0 3"}));
}

TEST(PlacesImport, TheSelectionStaysOnItsPlaceAndCancelDoesNothing) {
  FormRig rig;
  StartWith(rig, "M=1,1,1 0\r\n");
  rig.cbTravel.SetItemIndex(0);
  rig.form->SystemCommand(cmImportPlaces);  // cancelled
  EXPECT_TRUE(rig.informations().empty());
  EXPECT_EQ(rig.files.titles, Strings{"Import places"});
  Import(rig, "m.csv", "1,2,0,A,,white\n");
  EXPECT_EQ(rig.Names(), (Strings{"A", "M"}));
  EXPECT_EQ(rig.cbTravel.itemIndex, 1);
}

TEST(PlacesImport, AFileThatCannotBeOpenedIsReported) {
  FormRig rig;
  rig.Start();
  rig.files.opens.push_back(rig.dir.File("missing.map"));
  EXPECT_THROW(rig.form->SystemCommand(cmImportPlaces), EFOpenError);
  EXPECT_TRUE(rig.form->FLocations.empty());
}

TEST(PlacesExport, TheDialogsTypeChoosesTheFormat) {
  struct Case {
    const char* name;
    std::string fileName;
    int type;
    std::string written, expected;
  } cases[] = {
      {"csv", "out.csv", 0, "out.csv", "1400,1600,0,Britain  Tor,,white\r\n5,6,2,K\xC3\xB6nig,,white\r\n"},
      {"marker file", "out.map", 1, "out.map", "3\r\n+place: 1400 1600 1 Britain, Tor\r\n+place: 5 6 3 K\xF6nig\r\n"},
      {"no extension: the type's", "out", 1, "out.map", "3\r\n+place: 1400 1600 1 Britain, Tor\r\n+place: 5 6 3 K\xF6nig\r\n"},
      {"the type decides, not the extension", "out.txt", 0, "out.txt", "1400,1600,0,Britain  Tor,,white\r\n5,6,2,K\xC3\xB6nig,,white\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig rig;
    StartWith(rig, "Britain, Tor=1400,1600,5 0\r\nK\xF6nig=5,6,7 2\r\n");
    rig.files.saves.push_back({rig.dir.File(c.fileName), c.type});
    rig.form->SystemCommand(cmExportPlaces);
    EXPECT_EQ(rig.dir.Read(c.written), c.expected);
    EXPECT_TRUE(rig.informations().empty());
  }
}

TEST(PlacesExport, PlacesWithoutNumericCoordinatesAreLeftOutAndSaid) {
  FormRig rig;
  StartWith(rig, "A=1,2,3 0\r\nB=x,2,3 0\r\nC=1 0\r\n");
  rig.files.saves.push_back({rig.dir.File("o.csv"), 0});
  rig.form->SystemCommand(cmExportPlaces);
  EXPECT_EQ(rig.dir.Read("o.csv"), "1,2,0,A,,white\r\n");
  ASSERT_EQ(rig.informations().size(), 1u);
  EXPECT_EQ(rig.informations()[0].text,
            "1 place exported; 2 left out, since their X and Y are not numbers a map can have.");
}

TEST(PlacesExport, AFileThatCannotBeWrittenIsReportedAndCancelWritesNothing) {
  FormRig rig;
  StartWith(rig, "A=1,2,3 0\r\n");
  rig.form->SystemCommand(cmExportPlaces);
  EXPECT_EQ(rig.files.titles, Strings{"Export places"});
  rig.files.saves.push_back({rig.dir.File("no/such/folder/o.csv"), 0});
  EXPECT_THROW(rig.form->SystemCommand(cmExportPlaces), EFCreateError);
}

// Hundreds of places with odd names on every map: exported, then imported into
// an empty list, they come back by name, X, Y and map.
TEST(PlacesExport, ManyOddPlacesRoundTripThroughBothFormats) {
  const std::string pieces[] = {"Haus", " ", "\xC4", "\xDF", "\x80", "-", ":", "+", "\t",
                                "\"", "'", ";", ",", "x", "\xFF", "\xC3\xA4", "1"};
  std::mt19937 random(15);
  std::string file;
  for (int i = 0; i < 400; ++i) {
    std::string name;
    for (int k = 0; k < 1 + static_cast<int>(random() % 5); ++k) name += pieces[random() % std::size(pieces)];
    name += "#" + std::to_string(i);
    file += name + "=" + std::to_string(random() % 7168) + "," + std::to_string(random() % 4096) +
            ",0 " + std::to_string(i % 6) + "\r\n";
  }
  struct Case {
    const char* name;
    std::string fileName;
    int type;
    bool commasBecomeSpaces;
  } cases[] = {{"csv", "all.csv", 0, true}, {"marker file", "all.map", 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig from;
    StartWith(from, file);
    ASSERT_EQ(from.form->FLocations.size(), 400u);
    from.files.saves.push_back({from.dir.File(c.fileName), c.type});
    from.form->SystemCommand(cmExportPlaces);

    FormRig to;
    to.Start();
    to.files.opens.push_back(from.dir.File(c.fileName));
    to.form->SystemCommand(cmImportPlaces);
    ASSERT_EQ(to.informations().size(), 1u);
    EXPECT_EQ(to.informations()[0].text, "400 places added, 0 already there, 0 lines not understood.");
    Strings expected = Stored(from);
    if (c.commasBecomeSpaces)
      for (std::string& line : expected) {
        const size_t eq = line.find('=');
        std::replace(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(eq), ',', ' ');
      }
    std::sort(expected.begin(), expected.end());
    Strings got = Stored(to);
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, expected);
  }
}

}  // namespace
}  // namespace wf::ui
