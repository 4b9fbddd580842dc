#include <gtest/gtest.h>

#include "FormRig.h"
#include "common/Errors.h"

namespace wf::ui {
namespace {

using testing::FakePlacesStore;
using testing::FormRig;
using Strings = std::vector<std::string>;

const std::string kHeader = "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n";

// A started window over a places file holding `places`.
TMapForm& StartWith(FormRig& rig, const std::string& places) {
  rig.dir.Write("locations.txt", places);
  return rig.Start();
}

void SetEdits(FormRig& rig, std::string x, std::string y, std::string z) {
  rig.eX.text = std::move(x);
  rig.eY.text = std::move(y);
  rig.eZ.text = std::move(z);
}

void ExpectListsMatch(FormRig& rig) {
  EXPECT_EQ(rig.cbTravel.items, rig.Names());
}

TEST(PlacesFile, AMissingFileGivesNoPlacesTouchesNothingAndIsCreatedAtTheEnd) {
  FormRig rig;
  rig.cbTravel.items = {"untouched"};
  TMapForm& form = rig.Start();
  EXPECT_TRUE(form.FLocations.empty());
  EXPECT_EQ(rig.cbTravel.items, Strings{"untouched"});
  EXPECT_TRUE(rig.boxes.boxes.empty());
  EXPECT_FALSE(platform::FileExists(rig.PlacesFile()));
  form.FormDestroy();
  EXPECT_EQ(rig.PlacesText(), kHeader);
}

TEST(PlacesFile, PlacesLoadSortedIntoTheListWithNothingSelected) {
  FormRig rig;
  TMapForm& form = StartWith(rig,
                             "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n"
                             "Zeta=1,1,1 0\n"
                             "alpha=2,2,2 3\r"
                             "Haus=1400,1600,0 2 // Notiz\r\n"
                             "just text\r\n"
                             "Alpha=3,3,3 4");
  EXPECT_EQ(rig.Names(), (Strings{"Alpha", "Haus", "Zeta", "alpha"}));
  ExpectListsMatch(rig);
  EXPECT_EQ(rig.cbTravel.itemIndex, -1);
  EXPECT_EQ(rig.cbTravel.updating, 0);
  EXPECT_EQ(rig.cbTravel.updates, 1);
  EXPECT_EQ(form.FLocations[1]->Coords, "1400,1600,0");
  EXPECT_EQ(form.FLocations[1]->MapNo, 2);
  form.FormDestroy();
  EXPECT_EQ(rig.PlacesText(), kHeader +
                                  "Alpha=3,3,3 4\r\n"
                                  "Haus=1400,1600,0 2\r\n"
                                  "Zeta=1,1,1 0\r\n"
                                  "alpha=2,2,2 3\r\n");
  EXPECT_TRUE(form.FLocations.empty());
}

TEST(PlacesFile, AnUnreadableMapNumberIsReportedAndItsLineKeptWithEveryOtherPlace) {
  FormRig rig;
  rig.dir.Write("locations.txt",
                "Erste=1,1,1 0\r\n"
                "Haus=1400,1600,0 // Notiz\r\n"
                "Mitte=2,2,2 2\r\n"
                "Ort=3,3,3 drei\r\n"
                "Letzte=4,4,4 4\r\n");
  TMapForm& form = rig.MakeForm();
  try {
    form.FormCreate();
    FAIL() << "no error raised";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid integer value");
  }
  EXPECT_EQ(rig.Names(), (Strings{"Erste", "Letzte", "Mitte"}));
  ExpectListsMatch(rig);
  form.FormShow();
  form.FormDestroy();
  EXPECT_EQ(rig.PlacesText(), kHeader +
                                  "Erste=1,1,1 0\r\n"
                                  "Letzte=4,4,4 4\r\n"
                                  "Mitte=2,2,2 2\r\n"
                                  "Haus=1400,1600,0 // Notiz\r\n"
                                  "Ort=3,3,3 drei\r\n");
}

TEST(PlacesFile, AFileThatCannotBeReadIsReportedAndNeverWritten) {
  FormRig rig;
  FakePlacesStore store;
  store.readError = 5;
  rig.store = &store;
  TMapForm& form = rig.MakeForm();
  try {
    form.FormCreate();
    FAIL() << "no error raised";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + rig.PlacesFile());
  }
  form.FormShow();
  EXPECT_TRUE(form.FLocations.empty());

  // Changes stay in the window, and each one says that it is not saved.
  rig.input.answers = {"Haus"};
  EXPECT_THROW(form.btnNeuClick(), Exception);
  EXPECT_EQ(rig.Names(), Strings{"Haus"});
  rig.cbTravel.itemIndex = 0;
  EXPECT_THROW(form.btnChangeClick(), Exception);
  EXPECT_EQ(form.FLocations[0]->Coords, "0,0,0");
  EXPECT_THROW(form.btnDeleteClick(), Exception);
  form.SessionEnding();
  form.FormDestroy();
  EXPECT_EQ(store.writes, 0);
}

TEST(PlacesFile, AFailedWriteIsReportedAndTheChangeKept) {
  FormRig rig;
  FakePlacesStore store;
  store.writeError = 5;
  rig.store = &store;
  TMapForm& form = rig.Start();
  rig.input.answers = {"Haus"};
  try {
    form.btnNeuClick();
    FAIL() << "no error raised";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + rig.PlacesFile());
  }
  EXPECT_EQ(rig.Names(), Strings{"Haus"});
  EXPECT_EQ(rig.cbTravel.itemIndex, 0);
  EXPECT_THROW(form.FormDestroy(), EFCreateError);
  EXPECT_TRUE(form.FLocations.empty());
  EXPECT_EQ(store.writes, 2);
  EXPECT_FALSE(store.contents.has_value());
}

TEST(PlacesFile, AFailedWriteSaysWhatTheSystemGaveAsTheReason) {
  struct Case {
    const char* name;
    int code;
    const char* reason;
    const char* shown;  // after the file name
  };
  const Case cases[] = {
      {"a full disk", 101, "There is not enough space on the disk.",
       ": There is not enough space on the disk."},
      {"a read-only medium", 5, "Read-only file system", ": Read-only file system"},
      {"no text from the system", 5, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig rig;
    FakePlacesStore store;
    store.writeError = c.code;
    store.writeReason = c.reason;
    rig.store = &store;
    TMapForm& form = rig.Start();
    rig.input.answers = {"Haus"};
    try {
      form.btnNeuClick();
      ADD_FAILURE() << "no error raised";
    } catch (const EFCreateError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot create file " + rig.PlacesFile() + c.shown);
    }
  }
}

TEST(PlacesFile, EveryChangeIsWrittenAtOnce) {
  FormRig rig;
  TMapForm& form = rig.Start();
  form.FMapIndex = 2;
  SetEdits(rig, "1400", "1600", "0");
  rig.input.answers = {"Haus"};
  form.btnNeuClick();
  EXPECT_EQ(rig.PlacesText(), kHeader + "Haus=1400,1600,0 2\r\n");
  SetEdits(rig, "1", "2", "3");
  form.btnChangeClick();
  EXPECT_EQ(rig.PlacesText(), kHeader + "Haus=1,2,3 2\r\n");
  form.btnDeleteClick();
  EXPECT_EQ(rig.PlacesText(), kHeader);
}

TEST(PlacesFile, SessionEndWritesThePlacesAndNothingIsWrittenOutsideTheirLifetime) {
  FormRig rig;
  rig.dir.Write("locations.txt", "Ort=1,2,3 0\r\n");
  TMapForm& form = rig.MakeForm();
  form.SessionEnding();  // not read yet: writing now would empty the file
  form.FormDestroy();
  EXPECT_EQ(rig.PlacesText(), "Ort=1,2,3 0\r\n");

  form.FormCreate();
  form.FormShow();
  form.SessionEnding();
  EXPECT_EQ(rig.PlacesText(), kHeader + "Ort=1,2,3 0\r\n");
  EXPECT_EQ(rig.Names(), Strings{"Ort"});
  form.FormDestroy();
  rig.dir.Write("locations.txt", "written by someone else\r\n");
  form.SessionEnding();
  form.FormDestroy();
  EXPECT_EQ(rig.PlacesText(), "written by someone else\r\n");
}

TEST(PlacesFile, TheWindowsEndTouchesNeitherConfigurationNorMaps) {
  FormRig rig;
  TMapForm& form = StartWith(rig, "Ort=1,2,3 0\r\n");
  // Gone before the window, as at shutdown; the sanitizers catch any use.
  rig.maps.reset();
  rig.config.reset();
  form.FormDestroy();
  EXPECT_EQ(rig.PlacesText(), kHeader + "Ort=1,2,3 0\r\n");
}

TEST(PlacesNew, AsksForANameAndAddsUniquelyNamedSortedSelectedPlaces) {
  FormRig rig;
  TMapForm& form = StartWith(rig, "Zeta=1,1,1 0\r\nAlpha=2,2,2 0\r\n");
  SetEdits(rig, "1400", "1600", "0");
  rig.input.answers = {"Haus", "Haus", "Haus"};
  // Another map taken while the name is asked: the place is on the map of the command.
  rig.input.onShow = [&] { form.FMapIndex = 5; };
  for (int i = 0; i < 3; ++i) {
    form.FMapIndex = 2;
    form.btnNeuClick();
  }
  ASSERT_EQ(rig.input.calls.size(), 3u);
  EXPECT_EQ(rig.input.calls[0].caption, "Neuer Ort");
  EXPECT_EQ(rig.input.calls[0].prompt, "Wie soll der Ort heissen?");
  EXPECT_EQ(rig.input.calls[0].defaultAnswer, "Neuer Eintrag");
  EXPECT_EQ(rig.input.calls[0].maxLength, 255);
  EXPECT_EQ(rig.Names(), (Strings{"Alpha", "Haus", "Haus1", "Haus2", "Zeta"}));
  ExpectListsMatch(rig);
  EXPECT_EQ(rig.cbTravel.itemIndex, 3);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(form.FLocations[static_cast<size_t>(i)]->Coords, "1400,1600,0");
    EXPECT_EQ(form.FLocations[static_cast<size_t>(i)]->MapNo, 2);
  }
}

TEST(PlacesNew, IntegerTextIsStoredAsTypedAndNothingIsRedrawn) {
  FormRig rig;
  TMapForm& form = rig.Start();
  SetEdits(rig, "$1F", "65535", "-128");
  rig.input.answers = {"Ort"};
  rig.zoomMap.bitmap.SetDimensions(1, 1);
  form.btnNeuClick();
  EXPECT_EQ(form.FLocations[0]->Coords, "$1F,65535,-128");
  EXPECT_EQ(rig.zoomMap.bitmap.Width(), 1);
  EXPECT_EQ(form.FCenterX, 0);
}

TEST(PlacesNew, CancelAnEmptyNameOrARefusedPlaceChangeNothing) {
  struct Case {
    std::optional<std::string> answer;
    std::string x, y, z;
    bool refused;
  } cases[] = {
      {std::nullopt, "1", "2", "3", false},
      {"", "1", "2", "3", false},
      {"a=b", "1", "2", "3", true},
      {"Haus // alt", "1", "2", "3", true},
      {"Haus", "1 2", "2", "3", true},
      {"Haus", "1", "=2", "3", true},
      {"Haus", "1", "2", "3//", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
    FormRig rig;
    TMapForm& form = StartWith(rig, "Ort=1,2,3 0\r\n");
    rig.cbTravel.itemIndex = 0;
    SetEdits(rig, c.x, c.y, c.z);
    rig.input.answers = {c.answer};
    if (c.refused)
      EXPECT_THROW(form.btnNeuClick(), EPlaceRefused);
    else
      EXPECT_NO_THROW(form.btnNeuClick());
    EXPECT_EQ(rig.Names(), Strings{"Ort"});
    ExpectListsMatch(rig);
    EXPECT_EQ(rig.cbTravel.itemIndex, 0);
    EXPECT_EQ(rig.PlacesText(), "Ort=1,2,3 0\r\n") << "not rewritten";
  }
}

TEST(PlacesChange, StoresTheEditFieldsIntoTheSelectedPlaceKeepingNameAndPosition) {
  FormRig rig;
  TMapForm& form = StartWith(rig, "Ort=1,1,1 0\r\nOrt=2,2,2 0\r\nZiel=3,3,3 0\r\n");
  const TLocation* second = form.FLocations[1].get();
  const std::string secondCoords = second->Coords;
  rig.cbTravel.itemIndex = 1;
  form.FMapIndex = 4;
  SetEdits(rig, "4464", "20", "-56");
  rig.zoomMap.bitmap.SetDimensions(1, 1);
  form.btnChangeClick();
  EXPECT_EQ(form.FLocations[1].get(), second);
  EXPECT_EQ(second->Name, "Ort");
  EXPECT_EQ(second->Coords, "4464,20,-56");
  EXPECT_EQ(second->MapNo, 4);
  EXPECT_NE(form.FLocations[0]->Coords, "4464,20,-56");
  EXPECT_EQ(form.FCenterX, 4464);
  EXPECT_EQ(form.FCenterY, 20);
  EXPECT_EQ(form.FCenterZ, -56);
  EXPECT_EQ(rig.zoomMap.bitmap.Width(), 100);
  EXPECT_EQ(rig.Names(), (Strings{"Ort", "Ort", "Ziel"}));
  EXPECT_EQ(rig.cbTravel.itemIndex, 1);
}

TEST(PlacesEdits, NewAndChangeRefuseCoordinatesThatAreNoNumbersInRangeNamingTheField) {
  struct Case {
    const char* x;
    const char* y;
    const char* z;
    const char* field;  // the one refused; none: accepted
  } cases[] = {
      {"1000,2000", "300", "5", "X"},
      {"100", "\"", "5", "Y"},
      {"abc", "1", "1", "X"},
      {"65536", "0", "0", "X"},
      {"-1", "0", "0", "X"},
      {"0", "65536", "0", "Y"},
      {"0", "0", "128", "Z"},
      {"0", "0", "-129", "Z"},
      {"0", "0", "", "Z"},
      {"0", "0", "1.5", "Z"},
      {"65535", "0", "127", nullptr},
      {"0", "$FFFF", "-128", nullptr},
  };
  for (const Case& c : cases) {
    for (bool change : {false, true}) {
      SCOPED_TRACE(std::string(change ? "Change " : "New ") + c.x + " " + c.y + " " + c.z);
      FormRig rig;
      TMapForm& form = StartWith(rig, "Ort=1,1,1 0\r\n");
      rig.cbTravel.itemIndex = 0;
      SetEdits(rig, c.x, c.y, c.z);
      rig.input.answers = {"Neu"};
      auto press = [&] { change ? form.btnChangeClick() : form.btnNeuClick(); };
      if (!c.field) {
        press();
        const std::string coords = std::string(c.x) + "," + c.y + "," + c.z;
        EXPECT_NE(rig.PlacesText().find("=" + coords + " 0\r\n"), std::string::npos);
        continue;
      }
      try {
        press();
        ADD_FAILURE() << "accepted";
      } catch (const EPlaceRefused& e) {
        EXPECT_NE(std::string(e.what()).find(std::string(" as ") + c.field + ": "), std::string::npos) << e.what();
      }
      EXPECT_EQ(rig.Names(), Strings{"Ort"});
      EXPECT_EQ(form.FLocations[0]->Coords, "1,1,1");
      EXPECT_EQ(form.FCenterX, 0);
      EXPECT_EQ(rig.PlacesText(), "Ort=1,1,1 0\r\n");
    }
  }
}

TEST(PlacesChange, NoSelectionOrRefusedTextChangesNothing) {
  for (auto [selected, x] : {std::pair{-1, std::string("5")}, {0, std::string("5 6")}}) {
    SCOPED_TRACE(selected);
    FormRig rig;
    TMapForm& form = StartWith(rig, "Ort=1,1,1 0\r\n");
    rig.cbTravel.itemIndex = selected;
    SetEdits(rig, x, "6", "7");
    if (selected < 0)
      form.btnChangeClick();
    else
      EXPECT_THROW(form.btnChangeClick(), EPlaceRefused);
    EXPECT_EQ(form.FLocations[0]->Coords, "1,1,1");
    EXPECT_EQ(form.FCenterX, 0);
    EXPECT_EQ(rig.PlacesText(), "Ort=1,1,1 0\r\n");
  }
}

TEST(PlacesDelete, RemovesTheSelectedPlaceFromListAndDropDownAlike) {
  FormRig rig;
  TMapForm& form = StartWith(rig, "A=1,1,1 0\r\nB=2,2,2 0\r\nC=3,3,3 0\r\n");
  rig.eX.text = "kept";
  form.btnDeleteClick();  // nothing selected
  EXPECT_EQ(rig.Names(), (Strings{"A", "B", "C"}));
  rig.cbTravel.itemIndex = 1;
  form.btnDeleteClick();
  EXPECT_EQ(rig.Names(), (Strings{"A", "C"}));
  ExpectListsMatch(rig);
  EXPECT_EQ(rig.cbTravel.itemIndex, -1);
  EXPECT_EQ(rig.eX.text, "kept");
  rig.cbTravel.itemIndex = 1;
  form.cbTravelChange();
  EXPECT_EQ(rig.eX.text, "3");
  EXPECT_EQ(form.FCenterX, 3);
}

TEST(PlacesChoice, APlaceOnTheSameMapKeepsTheZoomAndLeavesTheConfigurationAlone) {
  FormRig rig;
  TMapForm& form = StartWith(rig, "Ort=1400,1600,-5 0\r\n");
  std::string config = rig.ConfigText();
  form.FZoom = 5;
  rig.cbTravel.itemIndex = 0;
  rig.zoomMap.bitmap.SetDimensions(1, 1);
  form.cbTravelChange();
  EXPECT_EQ(rig.eX.text, "1400");
  EXPECT_EQ(rig.eY.text, "1600");
  EXPECT_EQ(rig.eZ.text, "-5");
  EXPECT_EQ(form.FCenterX, 1400);
  EXPECT_EQ(form.FCenterY, 1600);
  EXPECT_EQ(form.FCenterZ, -5);
  EXPECT_EQ(form.FZoom, 5);
  EXPECT_EQ(rig.ConfigText(), config);
  EXPECT_EQ(rig.zoomMap.bitmap.Width(), 100);
}

TEST(PlacesChoice, APlaceOnAnotherMapStoresItsMapAndResetsTheZoom) {
  FormRig rig;
  TMapForm& form = StartWith(rig, "Ort=10,20,5 2\r\n");
  form.FZoom = 5;
  rig.cbTravel.itemIndex = 0;
  rig.mapImage.bitmap.SetDimensions(1, 1);
  form.cbTravelChange();
  EXPECT_EQ(rig.ConfigText(),
            "<configuration>\r\n<config key=\"CurrentMap\" value=\"2\" />\r\n</configuration>\r\n");
  EXPECT_EQ(form.FZoom, 1);
  EXPECT_EQ(rig.mapImage.bitmap.Width(), 384);
  EXPECT_EQ(form.FMapIndex, 0);  // map 2 is not loaded here: map 0 is shown
  EXPECT_EQ(form.FCenterX, 10);
}

TEST(PlacesChoice, CoordinatesAreReadByTheCommaRulesAndCutToTheFieldWidths) {
  struct Case {
    std::string coords;
    uint16_t x, y;
    int8_t z;
  } cases[] = {
      {"100, 200, 5", 100, 200, 5},
      {"100 200 5", 100, 200, 5},
      {"\"7\",8,9,10", 7, 8, 9},
      {"70000,-1,200", 4464, 65535, -56},
      {"$10,x10,0x10", 16, 16, 16},
  };
  for (const Case& c : cases) {
    FormRig rig;
    TMapForm& form = rig.Start();
    form.FLocations.push_back(std::make_unique<TLocation>(TLocation{"Ort", c.coords, 0}));
    form.FillTravelList();
    rig.cbTravel.itemIndex = 0;
    form.cbTravelChange();
    EXPECT_EQ(form.FCenterX, c.x) << c.coords;
    EXPECT_EQ(form.FCenterY, c.y) << c.coords;
    EXPECT_EQ(form.FCenterZ, c.z) << c.coords;
  }
}

TEST(PlacesChoice, TooFewOrUnreadableCoordinatesStopWithTheirErrors) {
  struct Case {
    std::string coords;
    std::string message;
    Strings edits;
  } cases[] = {
      {"", "List index out of bounds (0)", {"e", "e", "e"}},
      {"1", "List index out of bounds (1)", {"1", "e", "e"}},
      {"1,2", "List index out of bounds (2)", {"1", "2", "e"}},
      {"1,b,3", "'b' is not a valid integer value", {"1", "b", "3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.coords);
    FormRig rig;
    TMapForm& form = StartWith(rig, "Ort=" + c.coords + " 2\r\n");
    SetEdits(rig, "e", "e", "e");
    rig.cbTravel.itemIndex = 0;
    rig.zoomMap.bitmap.SetDimensions(1, 1);
    try {
      form.cbTravelChange();
      FAIL() << c.coords;
    } catch (const Exception& e) {
      EXPECT_EQ(e.what(), c.message);
    }
    EXPECT_EQ((Strings{rig.eX.text, rig.eY.text, rig.eZ.text}), c.edits);
    EXPECT_EQ(form.FMapIndex, 0);
    EXPECT_EQ(rig.zoomMap.bitmap.Width(), 1);
    EXPECT_EQ(rig.ConfigText().find("value=\"2\""), std::string::npos);
  }
}

TEST(PlacesChoice, NothingSelectedDoesNothing) {
  FormRig rig;
  TMapForm& form = StartWith(rig, "Ort=10,20,5 2\r\n");
  rig.zoomMap.bitmap.SetDimensions(1, 1);
  form.cbTravelChange();
  EXPECT_EQ(rig.eX.text, "0");
  EXPECT_EQ(rig.zoomMap.bitmap.Width(), 1);
}

}  // namespace
}  // namespace wf::ui
