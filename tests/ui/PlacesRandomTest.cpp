// Random places files and random places typed by a user, from a fixed seed:
// nothing the file held and nothing the program accepted may be lost or changed
// on the way through the file.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "FormRig.h"
#include "common/Errors.h"

namespace wf::ui {
namespace {

using testing::FakePlacesStore;
using testing::FormRig;
using Place = std::tuple<std::string, std::string, uint16_t>;

class Generator {
 public:
  explicit Generator(uint32_t seed) : random_(seed) {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  // Text made of the pieces the reading rules care about, and of bytes of
  // every value, those above 127 included.
  std::string Text(int maxPieces, bool lineBreaks) {
    static const char* const kPieces[] = {"=", "//", "/", " ", ",", "-", "$", "x", "0", "7", "42",
                                          "65535", "-1", "Ort", "\"", "\t", "\xE4", "\xFF", "\x80"};
    std::string text;
    for (int n = Below(maxPieces + 1); n > 0; --n) {
      int pick = Below(24);
      if (pick < 19) {
        text += kPieces[pick];
      } else if (pick < 22) {
        text += static_cast<char>(Below(256));
      } else if (lineBreaks) {
        text += pick == 22 ? "\r" : "\n";
      }
    }
    return text;
  }

  std::string PlacesFile() {
    std::string file;
    for (int n = Below(12); n > 0; --n) {
      switch (Below(4)) {
        case 0: file += Text(12, true); break;
        case 1: file += Text(6, false) + "=" + Text(6, false) + " " + std::to_string(Below(70000) - 5); break;
        case 2: file += Text(6, false) + "=" + Text(3, false) + "," + Text(3, false) + " " + Text(2, false); break;
        default: file += "//" + Text(8, false); break;
      }
      static const char* const kEnds[] = {"\r\n", "\r", "\n", ""};
      file += kEnds[Below(4)];
    }
    if (Below(10) == 0) file += std::string(1, '\0') + Text(8, true);
    return file;
  }

 private:
  std::mt19937 random_;
};

std::vector<Place> PlacesOf(const TMapForm& form) {
  std::vector<Place> places;
  for (const auto& place : form.FLocations) places.emplace_back(place->Name, place->Coords, place->MapNo);
  std::sort(places.begin(), places.end());
  return places;
}

// Created, all in memory; a line it cannot read is reported, not fatal.
TMapForm& StartOver(FormRig& rig, FakePlacesStore& store) {
  rig.store = &store;
  rig.withConfigFile = false;
  TMapForm& form = rig.MakeForm();
  try {
    form.FormCreate();
  } catch (const EConvertError&) {
  }
  return form;
}

std::vector<std::string> SortedLines(const std::string& text) {
  std::vector<std::string> lines = TextLines(text);
  std::sort(lines.begin(), lines.end());
  return lines;
}

TEST(PlacesRandom, WhatTheFileHoldsSurvivesBeingReadAndWritten) {
  Generator generate(20240611);
  for (int round = 0; round < 300; ++round) {
    FakePlacesStore store;
    store.contents = generate.PlacesFile();
    const std::string original = *store.contents;

    FormRig first;
    TMapForm& form = StartOver(first, store);
    const std::vector<Place> read = PlacesOf(form);
    form.FormDestroy();
    const std::string written = *store.contents;
    ASSERT_EQ(UnreadRest(written), UnreadRest(original)) << round;

    FormRig second;
    TMapForm& again = StartOver(second, store);
    ASSERT_EQ(PlacesOf(again), read) << round;
    again.FormDestroy();
    // Places with equal names may swap places; nothing else may change.
    ASSERT_EQ(SortedLines(*store.contents), SortedLines(written)) << round;
    ASSERT_EQ(UnreadRest(*store.contents), UnreadRest(written)) << round;
  }
}

TEST(PlacesRandom, EveryPlaceAUserCanCreateOrChangeReadsBackAsTheSame) {
  Generator generate(77);
  int accepted = 0, refused = 0;
  for (int round = 0; round < 150; ++round) {
    FakePlacesStore store;
    store.contents = generate.PlacesFile();
    std::vector<Place> held;
    {
      FormRig rig;
      TMapForm& form = StartOver(rig, store);
      for (int action = 0; action < 6; ++action) {
        form.FMapIndex = static_cast<uint16_t>(generate.Below(6));
        // Mostly numbers, in range and out of it, else any text.
        auto coordinate = [&](int lowest, int span) {
          return generate.Below(4) == 0 ? generate.Text(4, true)
                                        : std::to_string(lowest + generate.Below(span));
        };
        rig.eX.text = coordinate(-10, 65560);
        rig.eY.text = coordinate(-10, 65560);
        rig.eZ.text = coordinate(-140, 280);
        const std::vector<Place> before = PlacesOf(form);
        try {
          if (!form.FLocations.empty() && generate.Below(3) == 0) {
            rig.cbTravel.itemIndex = generate.Below(static_cast<int>(form.FLocations.size()));
            try {
              form.btnChangeClick();
            } catch (const EConvertError&) {  // about the centre; the place has changed
            }
          } else {
            rig.input.answers = {generate.Text(10, true)};
            form.btnNeuClick();
          }
          accepted += PlacesOf(form) != before;
        } catch (const EPlaceRefused&) {
          ++refused;
          ASSERT_EQ(PlacesOf(form), before) << round;
        }
      }
      held = PlacesOf(form);
      form.FormDestroy();
    }
    FormRig reread;
    ASSERT_EQ(PlacesOf(StartOver(reread, store)), held) << round;
  }
  EXPECT_GT(accepted, 100);
  EXPECT_GT(refused, 100);
}

}  // namespace
}  // namespace wf::ui
