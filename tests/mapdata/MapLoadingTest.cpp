#include <gtest/gtest.h>

#include <filesystem>

#include "TestWorld.h"
#include "common/Errors.h"
#include "mapdata/Map.h"
#include "mapdata/MapTable.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace wf {
namespace {

using testing::FakeMessageBoxes;
using testing::TTestWorld;
using worldgen::TMapContents;

const char* const FailureA = "Map0.mul or Radarcol.mul couldn't be found, please check your config.xml";
const char* const FailureB =
    "Statics0.mul or Staidx0.mul couldn't be found, please check your config.xml";

void ExpectNotLoaded(const TMap& map) {
  EXPECT_FALSE(map.IsLoaded());
  EXPECT_EQ(map.GetOverview(), nullptr);
  EXPECT_EQ(map.BuildOverview(), nullptr);
  EXPECT_EQ(map.RenderDetail(100, 100, 1), nullptr);
  EXPECT_EQ(map.BlocksWide(), 0);
  EXPECT_EQ(map.BlocksHigh(), 0);
  EXPECT_EQ(map.ScaleX(), 0.0);
  EXPECT_EQ(map.ScaleY(), 0.0);
  for (auto [x, y] : {std::pair{0, 0}, {1, 1}, {9, 17}, {6143, 4095}}) {
    SCOPED_TRACE(::testing::Message() << x << "," << y);
    EXPECT_EQ(map.GetLandTile(x, y), 0);
    EXPECT_EQ(map.GetAltitude(x, y), 0);
  }
  for (TColor32 color : map.RadarColors()) ASSERT_EQ(color, 0u);
}

// All four files of the map; the cells of its first block column hold tile 1
// at altitude 1.
void AddCompleteMap(TTestWorld& world, int32_t mapNumber) {
  TMapContents contents(1, MapSizeOf(mapNumber).BlocksHigh);
  for (int y = 0; y < contents.CellsHigh(); ++y)
    for (int x = 0; x < 8; ++x) contents.SetCell(x, y, {1, 1});
  world.AddMap(mapNumber, contents);
}

TEST(MapLoading, EachMapFindsItsFilesUnderItsOwnKeys) {
  for (int32_t number : {0, 2, 3, 4, 7, -3}) {
    SCOPED_TRACE(number);
    TTestWorld world;
    AddCompleteMap(world, number);
    FakeMessageBoxes boxes;
    TMap map(number, world.Config(), boxes);
    EXPECT_TRUE(map.IsLoaded());
    EXPECT_EQ(map.FailureText(), "");
    EXPECT_EQ(map.MapNumber(), number);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(map.GetLandTile(1, 1), 1);
    ASSERT_NE(map.GetOverview(), nullptr);
  }
  // Map 0's keys carry no number, and no other map answers to them.
  TTestWorld world;
  AddCompleteMap(world, 0);
  for (const char* key : {"map", "statics", "staidx", "radarcol"}) EXPECT_NE(world.PathOf(key), "");
  FakeMessageBoxes boxes;
  TMap two(2, world.Config(), boxes);
  EXPECT_FALSE(two.IsLoaded());
  TTestWorld world2;
  AddCompleteMap(world2, 2);
  for (const char* key : {"map2", "statics2", "staidx2", "radarcol"}) EXPECT_NE(world2.PathOf(key), "");
  TMap zero(0, world2.Config(), boxes);
  EXPECT_FALSE(zero.IsLoaded());
}

TEST(MapLoading, MissingFilesAreCheckedInOrderAndOnlyMapZeroSaysSo) {
  struct Case {
    std::vector<const char*> missing;  // keys whose files are taken away
    const char* text;
  };
  const Case cases[] = {
      {{"map"}, FailureA},
      {{"radarcol"}, FailureA},
      {{"statics"}, FailureB},
      {{"staidx"}, FailureB},
      // The map cell file is checked first: the statics are never looked at.
      {{"map", "staidx"}, FailureA},
      {{"radarcol", "statics"}, FailureA},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.missing.front());
    TTestWorld world;
    AddCompleteMap(world, 0);
    for (const char* key : c.missing) std::filesystem::remove(world.PathOf(key));
    FakeMessageBoxes boxes;
    TMap map(0, world.Config(), boxes);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "File not found");
    EXPECT_EQ(boxes.boxes[0].text, c.text);
    EXPECT_EQ(map.FailureText(), c.text);
    ExpectNotLoaded(map);
  }
}

TEST(MapLoading, AbsentKeysEmptyValuesAndDirectoriesCountAsMissing) {
  TTestWorld world;
  AddCompleteMap(world, 2);
  TConfig config;
  for (const auto& pair : world.Config().Pairs())
    if (pair->Key != "statics2") config.AddPair(pair->Key, pair->Value);
  FakeMessageBoxes boxes;
  ExpectNotLoaded(TMap(2, config, boxes));

  TConfig emptyValue;
  emptyValue.AddPair("map2", "");
  for (const auto& pair : world.Config().Pairs()) emptyValue.AddPair(pair->Key, pair->Value);
  ExpectNotLoaded(TMap(2, emptyValue, boxes));  // the first pair of a key counts

  TConfig directory;
  directory.AddPair("radarcol", std::filesystem::path(world.PathOf("map2")).parent_path().string());
  for (const auto& pair : world.Config().Pairs()) directory.AddPair(pair->Key, pair->Value);
  ExpectNotLoaded(TMap(2, directory, boxes));
  EXPECT_TRUE(boxes.boxes.empty());  // maps other than 0 fail silently
}

TEST(MapLoading, OtherMapsFailSilentlyButKeepTheTextWithTheirNumber) {
  struct Case {
    int32_t number;
    const char* word;
    const char* text;
  };
  const Case cases[] = {
      {2, "map", "Map2.mul or Radarcol.mul couldn't be found, please check your config.xml"},
      {3, "statics", "Statics3.mul or Staidx3.mul couldn't be found, please check your config.xml"},
      {4, "staidx", "Statics4.mul or Staidx4.mul couldn't be found, please check your config.xml"},
      {-1, "map", "Map-1.mul or Radarcol.mul couldn't be found, please check your config.xml"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    TTestWorld world;
    AddCompleteMap(world, c.number);
    std::filesystem::remove(world.PathOf(c.word + testing::KeySuffix(c.number)));
    FakeMessageBoxes boxes;
    TMap map(c.number, world.Config(), boxes);
    ExpectNotLoaded(map);
    EXPECT_EQ(map.FailureText(), c.text);
    EXPECT_TRUE(boxes.boxes.empty());
  }
}

TEST(MapLoading, SizesAndScalesFollowTheMapNumber) {
  struct Case {
    int32_t number, wide, high;
    double scaleX, scaleY;
  };
  const Case cases[] = {
      {0, 768, 512, 16.0, 16.0},
      {2, 288, 200, 6.0, 6.25},
      {3, 320, 256, 2560.0 / 384.0, 8.0},
      {4, 181, 181, 1448.0 / 384.0, 5.65625},
      {1, 768, 512, 16.0, 16.0},
      {5, 160, 512, 1280.0 / 384.0, 16.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    TTestWorld world;
    AddCompleteMap(world, c.number);
    FakeMessageBoxes boxes;
    TMap map(c.number, world.Config(), boxes);
    ASSERT_TRUE(map.IsLoaded());
    EXPECT_EQ(map.BlocksWide(), c.wide);
    EXPECT_EQ(map.BlocksHigh(), c.high);
    EXPECT_EQ(map.ScaleX(), c.scaleX);
    EXPECT_EQ(map.ScaleY(), c.scaleY);
  }
}

#ifdef _WIN32
TEST(MapLoading, AFileThatExistsButCannotBeOpenedRaisesTheOpenError) {
  TTestWorld world;
  AddCompleteMap(world, 0);
  // Held open without sharing, the statics index cannot be opened by the map.
  HANDLE held = CreateFileA(world.PathOf("staidx").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  FakeMessageBoxes boxes;
  try {
    TMap map(0, world.Config(), boxes);
    ADD_FAILURE() << "no error";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + world.PathOf("staidx"));
  }
  CloseHandle(held);
  EXPECT_TRUE(boxes.boxes.empty());
}
#else
TEST(MapLoading, AFileThatExistsButCannotBeOpenedRaisesTheOpenError) {
  TTestWorld world;
  AddCompleteMap(world, 0);
  // A socket exists and is no directory, but it cannot be opened for reading,
  // not even by the superuser.
  const std::string path = world.File("socket");
  int s = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  path.copy(address.sun_path, path.size());
  ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  TConfig config;
  config.AddPair("staidx", path);
  for (const auto& pair : world.Config().Pairs()) config.AddPair(pair->Key, pair->Value);
  FakeMessageBoxes boxes;
  try {
    TMap map(0, config, boxes);
    ADD_FAILURE() << "no error";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + path);
  }
  close(s);
  EXPECT_TRUE(boxes.boxes.empty());
}
#endif

TEST(RadarColors, FiveBitComponentsBecomeOpaqueColours) {
  const std::pair<uint16_t, TColor32> cases[] = {
      {0x7FFF, 0xFFF8F8F8}, {0x7C00, 0xFFF80000}, {0x03E0, 0xFF00F800}, {0x001F, 0xFF0000F8},
      {0x0000, 0xFF000000}, {0x8000, 0xFF000000}, {0xFFFF, 0xFFF8F8F8}, {0x0421, 0xFF080808},
  };
  for (auto [value, color] : cases) EXPECT_EQ(RadarColorToColor32(value), color) << value;
}

TEST(RadarColors, ShortFilesRepeatTheLastValueReadAndAnOddByteReplacesTheLowByte) {
  struct Case {
    const char* name;
    std::vector<unsigned char> bytes;
    uint16_t first, second, rest;  // entries 0, 1 and all later ones
  };
  const Case cases[] = {
      {"empty", {}, 0, 0, 0},
      {"one byte", {0xAB}, 0x00AB, 0x00AB, 0x00AB},
      {"one value", {0x34, 0x12}, 0x1234, 0x1234, 0x1234},
      {"a value and a byte", {0x34, 0x12, 0x56}, 0x1234, 0x1256, 0x1256},
      {"two values", {0x34, 0x12, 0x1F, 0x00}, 0x1234, 0x001F, 0x001F},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTestWorld world;
    AddCompleteMap(world, 4);
    world.SetRadarBytes(c.bytes);
    FakeMessageBoxes boxes;
    TMap map(4, world.Config(), boxes);
    ASSERT_TRUE(map.IsLoaded());
    const auto& colors = map.RadarColors();
    EXPECT_EQ(colors[0], RadarColorToColor32(c.first));
    EXPECT_EQ(colors[1], RadarColorToColor32(c.second));
    EXPECT_EQ(colors[2], RadarColorToColor32(c.rest));
    EXPECT_EQ(colors[RadarColorCount - 1], RadarColorToColor32(c.rest));
  }
}

TEST(RadarColors, ExactlyTheFirst31130ValuesAreRead) {
  TTestWorld world;
  AddCompleteMap(world, 3);
  std::vector<uint16_t> values = testing::IdentityRadarValues();
  values.back() = 0x7C00;
  values.resize(RadarColorCount + 100, 0x03E0);  // colours of newer tiles, not these
  world.SetRadarValues(values);
  FakeMessageBoxes boxes;
  TMap map(3, world.Config(), boxes);
  for (int i = 0; i < RadarColorCount - 1; ++i)
    ASSERT_EQ(map.RadarColors()[i], RadarColorToColor32(static_cast<uint16_t>(i))) << i;
  EXPECT_EQ(map.RadarColors()[RadarColorCount - 1], 0xFFF80000);

  values.resize(RadarColorCount - 1);  // one entry short
  world.SetRadarValues(values);
  TMap shorter(3, world.Config(), boxes);
  EXPECT_EQ(shorter.RadarColors()[RadarColorCount - 1], RadarColorToColor32(RadarColorCount - 2));
}

}  // namespace
}  // namespace wf
