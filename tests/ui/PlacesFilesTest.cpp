// Places files as editors save them, and places files changed by someone else
// while the program runs: a start and close keeps every place they held.

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "FormRig.h"
#include "Raised.h"
#include "common/Errors.h"
#include "ui/MenuCommands.h"

namespace wf::ui {
namespace {

using testing::FakePlacesStore;
using testing::FormRig;
using wf::testing::Raised;
using Strings = std::vector<std::string>;

const std::string kHeader = "//Format: <Ortsname>=<X>,<Y>,<Z> <Map>\r\n\r\n";

std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}

// Created over the store, without a configuration file; the error FormCreate
// raises, if any.
std::optional<std::string> StartOver(FormRig& rig, FakePlacesStore& store) {
  rig.store = &store;
  rig.withConfigFile = false;
  TMapForm& form = rig.MakeForm();
  try {
    form.FormCreate();
  } catch (const Exception& e) {
    return e.what();
  }
  return std::nullopt;
}

TEST(PlacesFiles, MarkedFilesAreReadAsTheTextTheyHold) {
  struct Case {
    const char* name;
    std::string file;
    Strings listed;
    std::optional<std::string> writtenAtClose;  // none: never written
    const char* told = "";                       // what the message says when it is not
  };
  const Case cases[] = {
      {"UTF-16 little-endian", Utf16(u"Haus=1,2,3 0\r\nK\u00E4se=4,5,6 2\r\n", false), {"Haus", "K\xE4se"},
       kHeader + "Haus=1,2,3 0\r\nK\xE4se=4,5,6 2\r\n"},
      {"UTF-16 big-endian", Utf16(u"Haus=1,2,3 0\r\n", true), {"Haus"}, kHeader + "Haus=1,2,3 0\r\n"},
      {"UTF-16 with a line the code page cannot hold",
       Utf16(u"Haus=1,2,3 0\r\n\u0418\u0433\u0440\u044B=4,5,6 0\r\n", false), {}, std::nullopt, "line 2 "},
      {"UTF-16 cut in the middle of a character", Utf16(u"Haus=1,2,3 0", false) + "H", {}, std::nullopt,
       "marked as UTF-16"},
      {"UTF-8 mark", "\xEF\xBB\xBFHaus=1,2,3 0\r\n", {"Haus"}, "\xEF\xBB\xBF" + kHeader + "Haus=1,2,3 0\r\n"},
      {"no mark", "Haus=1,2,3 0\r\n", {"Haus"}, kHeader + "Haus=1,2,3 0\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePlacesStore store;
    store.contents = c.file;
    FormRig rig;
    const std::optional<std::string> error = StartOver(rig, store);
    EXPECT_EQ(rig.Names(), c.listed);
    EXPECT_EQ(rig.cbTravel.items, c.listed);
    if (!c.writtenAtClose) {
      ASSERT_TRUE(error);
      EXPECT_NE(error->find("locations.txt is not read"), std::string::npos) << *error;
      EXPECT_NE(error->find(c.told), std::string::npos) << *error;
      // A new place is held for this run only; the file is never written.
      rig.input.answers = {"Neu"};
      EXPECT_THROW(rig.form->btnNeuClick(), Exception);
      rig.form->FormDestroy();
      EXPECT_EQ(store.writes, 0);
      EXPECT_EQ(store.contents, c.file);
      continue;
    }
    EXPECT_FALSE(error) << *error;
    rig.form->FormDestroy();
    EXPECT_EQ(store.contents, c.writtenAtClose);
  }
}

TEST(PlacesFiles, ChangesMadeMeanwhileInTheFileAreKeptAndTheUsersChangeAppliedToThem) {
  struct Case {
    const char* name;
    std::string meanwhile;  // the file as someone else left it
    std::function<void(FormRig&)> act;
    std::string written;
    Strings listed;
  };
  const std::string original = kHeader + "Bank=1,1,1 0\r\nHaus=2,2,2 0\r\n";
  auto select = [](FormRig& rig, const std::string& name) {
    for (size_t i = 0; i < rig.cbTravel.items.size(); ++i)
      if (rig.cbTravel.items[i] == name) rig.cbTravel.itemIndex = static_cast<int>(i);
  };
  const Case cases[] = {
      {"a new place", original + "Mine=5,5,5 2\r\n",
       [](FormRig& rig) {
         rig.input.answers = {"Neu"};
         rig.form->btnNeuClick();
       },
       kHeader + "Bank=1,1,1 0\r\nHaus=2,2,2 0\r\nMine=5,5,5 2\r\nNeu=7,8,9 0\r\n", {"Bank", "Haus", "Mine", "Neu"}},
      {"a new place named like one added meanwhile", original + "Neu=5,5,5 2\r\n",
       [](FormRig& rig) {
         rig.input.answers = {"Neu"};
         rig.form->btnNeuClick();
       },
       kHeader + "Bank=1,1,1 0\r\nHaus=2,2,2 0\r\nNeu=5,5,5 2\r\nNeu1=7,8,9 0\r\n", {"Bank", "Haus", "Neu", "Neu1"}},
      {"a changed place", kHeader + "Alt=0,0,0 0\r\nHaus=9,9,9 0\r\nHaus=2,2,2 0\r\n",
       [select](FormRig& rig) {
         select(rig, "Haus");
         rig.form->btnChangeClick();
       },
       kHeader + "Alt=0,0,0 0\r\nHaus=9,9,9 0\r\nHaus=7,8,9 0\r\n", {"Alt", "Haus", "Haus"}},
      {"a changed place that is gone", kHeader + "Bank=1,1,1 0\r\n",
       [select](FormRig& rig) {
         select(rig, "Haus");
         rig.form->btnChangeClick();
       },
       kHeader + "Bank=1,1,1 0\r\n", {"Bank"}},
      {"a deleted place", kHeader + "Bank=1,1,1 0\r\nHaus=2,2,2 0\r\nZoo=3,3,3 0\r\n",
       [select](FormRig& rig) {
         select(rig, "Bank");
         rig.form->btnDeleteClick();
       },
       kHeader + "Haus=2,2,2 0\r\nZoo=3,3,3 0\r\n", {"Haus", "Zoo"}},
      {"a deleted place changed meanwhile", kHeader + "Bank=4,4,4 0\r\nHaus=2,2,2 0\r\n",
       [select](FormRig& rig) {
         select(rig, "Bank");
         rig.form->btnDeleteClick();
       },
       kHeader + "Bank=4,4,4 0\r\nHaus=2,2,2 0\r\n", {"Bank", "Haus"}},
      {"an import", original + "Mine=5,5,5 2\r\n",
       [](FormRig& rig) {
         rig.files.opens.push_back(rig.dir.Write("m.csv", "9,9,0,Turm,,white\n"));
         rig.form->SystemCommand(cmImportPlaces);
       },
       original + "Mine=5,5,5 2\r\nTurm=9,9,0 0\r\n", {"Bank", "Haus", "Mine", "Turm"}},
      {"nothing done but closing", original + "Mine=5,5,5 2\r\n", [](FormRig&) {},
       kHeader + "Bank=1,1,1 0\r\nHaus=2,2,2 0\r\nMine=5,5,5 2\r\n", {"Bank", "Haus", "Mine"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePlacesStore store;
    store.contents = original;
    FormRig rig;
    ASSERT_FALSE(StartOver(rig, store));
    rig.eX.text = "7";
    rig.eY.text = "8";
    rig.eZ.text = "9";
    store.contents = c.meanwhile;
    c.act(rig);
    rig.form->SessionEnding();
    EXPECT_EQ(store.contents, c.written);
    EXPECT_EQ(rig.Names(), c.listed);
    EXPECT_EQ(rig.cbTravel.items, c.listed);  // the list shown is what was written
  }
}

// A file that cannot be read for a moment (an editor saving it) keeps the
// places held and is tried again at the next change.
TEST(PlacesFiles, AReadThatFailsDuringTheRunIsToldWithItsReasonAndTheNextChangeTriesAgain) {
  FakePlacesStore store;
  store.contents = kHeader + "Bank=1,1,1 0\r\n";
  FormRig rig;
  ASSERT_FALSE(StartOver(rig, store));
  store.contents = kHeader + "Bank=1,1,1 0\r\nMine=5,5,5 2\r\n";
  store.readError = 32;
  store.readReason = "The file is being used by another process";
  rig.input.answers = {"Neu", "Neu"};
  const std::string told = Raised<EFOpenError>([&] { rig.form->btnNeuClick(); });
  EXPECT_NE(told.find(rig.PlacesFile() + ": " + store.readReason), std::string::npos) << told;
  EXPECT_EQ(rig.Names(), Strings{"Bank"});
  store.readError = 0;
  rig.form->btnNeuClick();
  EXPECT_EQ(store.contents, kHeader + "Bank=1,1,1 0\r\nMine=5,5,5 2\r\nNeu=0,0,0 0\r\n");
}

TEST(PlacesFiles, FilesLargerThanTheLimitAreRefusedNamingTheFileAndTheLimit) {
  const std::string atLimit(kMaxPlacesFileSize, '\n');
  FormRig rig;
  rig.dir.Write("locations.txt", atLimit + "\n");
  rig.MakeForm();
  const std::string told = Raised<EFOpenError>([&] { rig.form->FormCreate(); });
  EXPECT_NE(told.find(rig.PlacesFile() + ": it is larger than 16 MiB"), std::string::npos) << told;
  rig.form->FormDestroy();
  EXPECT_EQ(rig.PlacesText().size(), atLimit.size() + 1);  // never written

  FormRig importing;
  importing.dir.Write("locations.txt", atLimit);  // at the limit: read, nothing in it
  importing.Start();
  const std::string big = importing.dir.Write("big.map", atLimit + "\n");
  importing.files.opens.push_back(big);
  const std::string refused = Raised<EFOpenError>([&] { importing.form->SystemCommand(cmImportPlaces); });
  EXPECT_NE(refused.find(big + ": it is larger than 16 MiB"), std::string::npos) << refused;

  // A change whose file would pass the limit is refused before anything is
  // written: the program would not read that file again. The bytes from a
  // byte 0 on are written back as read, so the file is 5 bytes short of it.
  const std::string head = kHeader + "Bank=1,1,1 0\r\n";
  const std::string nearly = head + std::string(kMaxPlacesFileSize - 5 - head.size(), '\0');
  const std::tuple<const char*, std::function<void(FormRig&)>, uint64_t> changes[] = {
      {"Neu", [](FormRig& r) { r.input.answers = {"Neu"}, r.form->btnNeuClick(); }, 13},  // Neu=0,0,0 0
      {"Aendern", [](FormRig& r) { r.cbTravel.itemIndex = 0, r.eX.text = r.eY.text = "65535", r.form->btnChangeClick(); },
       8},
      {"import", [](FormRig& r) {
         r.files.opens.push_back(r.dir.Write("more.txt", "Haus=5,5,5 0\r\n"));
         r.form->SystemCommand(cmImportPlaces);
       }, 14},
  };
  for (const auto& [name, change, grown] : changes) {
    SCOPED_TRACE(name);
    FormRig full;
    full.dir.Write("locations.txt", nearly);
    full.Start();
    const std::string told = Raised<Exception>([&] { change(full); });
    EXPECT_EQ(told, "Nothing was changed: the places file " + full.PlacesFile() + " would hold " +
                        std::to_string(kMaxPlacesFileSize - 5 + grown) +
                        " bytes, larger than 16 MiB (16777216 bytes), the most a file of places may hold");
    EXPECT_EQ(full.Names(), Strings{"Bank"});
    EXPECT_EQ(full.cbTravel.items, Strings{"Bank"});
    EXPECT_EQ(full.form->FLocations[0]->Coords, "1,1,1");
    EXPECT_EQ(full.PlacesText().size(), nearly.size()) << "not written";
    EXPECT_TRUE(full.informations().empty());
  }
}

}  // namespace
}  // namespace wf::ui
