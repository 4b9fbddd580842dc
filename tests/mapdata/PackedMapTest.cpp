#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "PackedFile.h"
#include "TestWorld.h"
#include "mapdata/Map.h"
#include "mapdata/MapCells.h"
#include "mapdata/MapTable.h"
#include "mapdata/PackedHash.h"

namespace wf {
namespace {

using testing::FakeMessageBoxes;
using testing::TTestWorld;
using worldgen::TMapContents;
using worldgen::TPackedLayout;

TEST(PackedHash, GivesTheNamesHashesTheGameFilesUse) {
  const std::pair<const char*, uint64_t> cases[] = {
      {"build/map0legacymul/00000000.dat", 0xDBB7AFA433A3764Bull},
      {"build/multicollection/housing.bin", 0x126D1E99DDEDEE0Aull},
  };
  for (auto [name, hash] : cases) EXPECT_EQ(PackedNameHash(name), hash) << name;
  EXPECT_EQ(PackedMapEntryName(0, 0), "build/map0legacymul/00000000.dat");
  EXPECT_EQ(PackedMapEntryName(5, 111), "build/map5legacymul/00000111.dat");
}

// Map 4 cut to 60 block columns: 10,860 blocks, three entries, the last one
// partly filled. Every cell has its own tile and there are statics across
// the entries' borders.
TMapContents SampleMap() {
  TMapContents contents(60, 181);
  for (int x = 0; x < contents.CellsWide(); ++x)
    for (int y = 0; y < contents.CellsHigh(); ++y)
      contents.SetCell(x, y, {static_cast<uint16_t>((x * 131 + y * 7) % 31130), static_cast<int8_t>(y % 11)});
  // Block 4095 is the last of entry 0, block 4096 the first of entry 1.
  for (int y = 0; y < contents.CellsHigh(); y += 3) {
    contents.AddStatic(22 * 8 + 5, y, static_cast<uint16_t>(100 + y), 40);
    contents.AddStatic(45 * 8 + 1, y, static_cast<uint16_t>(900 + y), 40);
  }
  return contents;
}

bool SamePixels(const TBitmap32& a, const TBitmap32& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::equal(a.Bits(), a.Bits() + static_cast<size_t>(a.Width()) * a.Height(), b.Bits());
}

// The plain and the packed map of the same data give the same answers.
void ExpectSameMap(const TMap& packed, const TMap& plain) {
  ASSERT_TRUE(packed.IsLoaded()) << packed.FailureText();
  ASSERT_TRUE(plain.IsLoaded());
  EXPECT_EQ(packed.BlocksWide(), plain.BlocksWide());
  ASSERT_TRUE(SamePixels(*packed.GetOverview(), *plain.GetOverview()));
  const std::tuple<uint16_t, uint16_t, uint16_t> views[] = {
      {177, 100, 1}, {182, 1447, 1}, {360, 700, 4}, {480, 724, 16}, {30, 30, 16}};
  for (auto [x, y, zoom] : views) {
    SCOPED_TRACE(::testing::Message() << x << "," << y << " zoom " << zoom);
    ASSERT_TRUE(SamePixels(*packed.RenderDetail(x, y, zoom), *plain.RenderDetail(x, y, zoom)));
  }
  // Around both entry borders (blocks 4095/4096 and 8191/8192) and past the data.
  for (auto [x, y] : {std::pair{22 * 8 + 7, 1447}, {23 * 8, 0}, {45 * 8, 1447}, {45 * 8 + 2, 1440},
                      {59 * 8 + 7, 1447}, {60 * 8, 0}, {1447, 1447}}) {
    EXPECT_EQ(packed.GetLandTile(x, y), plain.GetLandTile(x, y)) << x << "," << y;
    EXPECT_EQ(packed.GetAltitude(x, y), plain.GetAltitude(x, y)) << x << "," << y;
  }
}

TEST(PackedMap, ReadsAsThePlainFileWhateverTheLayout) {
  struct Case {
    const char* name;
    TPackedLayout layout;
  };
  const Case cases[] = {
      {"in order", {}},
      {"shuffled", {.Shuffled = true}},
      {"one row per table block", {.RowsPerTable = 1, .Shuffled = true}},
      {"many unused rows", {.RowsPerTable = 1000}},
      {"entry headers", {.EntryHeaderBytes = 13}},
      {"spare block", {.SpareBlock = true}},
      {"other entries mixed in",
       {.RowsPerTable = 2, .OtherEntries = {"build/multicollection/housing.bin", "build/map5legacymul/00000000.dat",
                                            "build/map4legacymul/00000300.dat"}}},
      {"all at once",
       {.RowsPerTable = 3, .Shuffled = true, .EntryHeaderBytes = 7, .SpareBlock = true,
        .OtherEntries = {"build/gumpartlegacymul/00000000.tga"}}},
  };
  const TMapContents contents = SampleMap();
  TTestWorld plainWorld;
  plainWorld.AddMap(4, contents);
  FakeMessageBoxes boxes;
  const TMap plain(4, plainWorld.Config(), boxes);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTestWorld world;
    world.AddPackedMap(4, contents, c.layout);
    ExpectSameMap(TMap(4, world.Config(), boxes), plain);
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

// Patches of a packed file, at offsets of the layout PackedMapFile writes.
struct TPatch {
  uint64_t offset;
  std::vector<unsigned char> bytes;
};

std::vector<unsigned char> U64(uint64_t v) {
  std::vector<unsigned char> bytes(8);
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(v >> (8 * i));
  return bytes;
}

TEST(PackedMap, AnUnusableTableLeavesTheMapNotLoadedWithItsReason) {
  constexpr uint64_t table = worldgen::FirstTableOffset, firstRow = table + 12;
  // One row per table block: block k holds the row of the k-th entry written.
  constexpr uint64_t rowsPerTable = 1, tableBytes = 12 + rowsPerTable * 34;
  constexpr uint64_t secondRow = firstRow + tableBytes;
  struct Case {
    const char* name;
    TPackedLayout layout;
    std::vector<TPatch> patches;
    std::string reason;
  };
  const std::string entry1 = "entry build/map0legacymul/00000001.dat";
  const Case cases[] = {
      {"missing entry", {.LeftOutEntry = 1}, {}, entry1 + " is missing"},
      {"no entry at all", {}, {{firstRow, U64(0)}, {secondRow, U64(0)}, {secondRow + tableBytes, U64(0)}},
       "entry build/map0legacymul/00000000.dat is missing"},
      {"compressed entry", {.CompressedEntry = 1}, {}, entry1 + " is compressed"},
      {"not packed", {}, {{0, {'M', 'Y', 'Q', 0}}}, "not a packed data file"},
      {"table loops onto itself", {}, {{table + 4, U64(table)}}, "its entry table loops"},
      {"table loops back from its second block", {}, {{table + tableBytes + 4, U64(table)}}, "its entry table loops"},
      {"table starts outside the file", {}, {{12, U64(uint64_t{1} << 40)}}, "its entry table points outside the file"},
      {"next block outside the file", {}, {{table + 4, U64(~uint64_t{0})}}, "its entry table points outside the file"},
      {"row count beyond the file", {}, {{table, {0xFF, 0xFF, 0xFF, 0x0F}}}, "its entry table points outside the file"},
      {"negative row count", {}, {{table, {0xFF, 0xFF, 0xFF, 0xFF}}}, "its entry table points outside the file"},
      {"entry data beyond the file", {}, {{secondRow, U64(uint64_t{1} << 33)}}, entry1 + " points outside the file"},
      {"negative entry offset", {}, {{secondRow, U64(~uint64_t{0})}}, entry1 + " points outside the file"},
      {"entry header beyond the file", {}, {{secondRow + 8, {0xFF, 0xFF, 0xFF, 0x7F}}}, entry1 + " points outside the file"},
  };
  TMapContents contents(17, 512);  // entries 0, 1 and 2, the last one partly filled
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTestWorld world;
    TPackedLayout layout = c.layout;
    layout.RowsPerTable = rowsPerTable;
    world.AddPackedMap(0, contents, layout);
    for (const TPatch& patch : c.patches) world.Patch("map", patch.offset, patch.bytes);
    FakeMessageBoxes boxes;
    TMap map(0, world.Config(), boxes);
    EXPECT_FALSE(map.IsLoaded());
    EXPECT_EQ(map.FailureText(), world.PathOf("map") + ": " + c.reason);
    EXPECT_EQ(map.GetOverview(), nullptr);
    EXPECT_EQ(map.BlocksWide(), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "File not found");
    EXPECT_EQ(boxes.boxes[0].text, "Map0.mul or Radarcol.mul couldn't be found, please check your config.xml");
  }
}

// Whatever the header and table hold, reading them ends, stays in the file
// and either loads a map or gives a reason.
TEST(PackedMap, DamagedTablesNeverCrashOrHang) {
  TTestWorld world;
  world.AddPackedMap(4, TMapContents(30, 181), {.RowsPerTable = 1, .Shuffled = true, .SpareBlock = true});
  const std::vector<unsigned char> original = world.Contents("map4");
  const uint64_t tableEnd = worldgen::FirstTableOffset + 2 * (12 + 34);
  std::mt19937 random(7);
  FakeMessageBoxes boxes;
  int loaded = 0;
  for (int round = 0; round < 300; ++round) {
    std::vector<unsigned char> bytes = original;
    const int changes = 1 + static_cast<int>(random() % 6);
    for (int k = 0; k < changes; ++k) bytes[random() % tableEnd] = static_cast<unsigned char>(random());
    world.Replace("map4", bytes);
    TMap map(4, world.Config(), boxes);
    if (map.IsLoaded()) {
      ++loaded;
      ASSERT_NE(map.RenderDetail(700, 700, 16), nullptr);
    } else {
      ASSERT_NE(map.FailureText(), "");
    }
  }
  EXPECT_GT(loaded, 0);  // harmless changes (unused header bytes, hashes of other rows) still load
}

TEST(PackedMap, TheConfigurationNamesThePackedFileOrItIsFoundBesideTheMissingPlainOne) {
  struct Case {
    const char* name;
    std::string packedName;  // written beside the plain files
    bool keepPlain;          // the plain map file stays
    std::string value;       // the map key's value, in the world's folder; empty: as written
    bool packedRead, loaded;
  };
  const Case cases[] = {
      {"value ends in .uop", "map4LegacyMUL.uop", false, "map4LegacyMUL.uop", true, true},
      {"any case of .UOP", "Karte.UOP", false, "Karte.UOP", true, true},
      {"packed file beside a missing plain one", "map4LegacyMUL.uop", false, "map4.mul", true, true},
      {"in any case", "MAP4legacymul.UOP", false, "map4.mul", true, true},
      {"the plain file wins when it is there", "map4LegacyMUL.uop", true, "map4.mul", false, true},
      {"another map's packed file is not taken", "map2LegacyMUL.uop", false, "map4.mul", false, false},
      {"a packed value that is missing", "map4LegacyMUL.uop", false, "other.uop", true, false},
  };
  TMapContents contents(30, 181);
  contents.SetCell(100, 100, {777, 3});
  TMapContents plainContents(30, 181);
  plainContents.SetCell(100, 100, {555, 3});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTestWorld world;
    world.AddMap(4, plainContents);
    worldgen::WriteFileBytes(world.File(c.packedName), worldgen::PackedMapFile(4, contents.MapFile()));
    if (!c.keepPlain) std::filesystem::remove(world.PathOf("map4"));
    TConfig config;
    config.AddPair("map4", world.File(c.value));
    for (const auto& pair : world.Config().Pairs()) config.AddPair(pair->Key, pair->Value);
    FakeMessageBoxes boxes;
    TMap map(4, config, boxes);
    EXPECT_EQ(CellFileOf(world.File(c.value), 4).Packed, c.packedRead);
    ASSERT_EQ(map.IsLoaded(), c.loaded);
    if (c.loaded) {
      EXPECT_EQ(map.GetLandTile(100, 100), c.packedRead ? 777 : 555);
    }
  }
}

// A packed file by hand: `entries` map entries of `blocksEach` blocks, all
// pointing at the same data, so that a large map costs little disk.
std::vector<unsigned char> SharedDataPackedFile(int32_t mapNumber, uint32_t entries, uint32_t blocksEach) {
  const uint64_t tableAt = 0x28, dataAt = tableAt + 12 + uint64_t{entries} * 34;
  std::vector<unsigned char> file(dataAt + uint64_t{blocksEach} * MapBlockBytes, 0);
  WriteU32(&file[0], 0x0050594D);
  file[12] = static_cast<unsigned char>(tableAt);
  WriteU32(&file[tableAt], entries);
  for (uint32_t i = 0; i < entries; ++i) {
    unsigned char* row = &file[tableAt + 12 + uint64_t{i} * 34];
    WriteU32(row, static_cast<uint32_t>(dataAt));
    WriteU32(row + 12, blocksEach * MapBlockBytes);
    WriteU32(row + 16, blocksEach * MapBlockBytes);
    const uint64_t hash = PackedNameHash(PackedMapEntryName(mapNumber, i));
    WriteU32(row + 20, static_cast<uint32_t>(hash));
    WriteU32(row + 24, static_cast<uint32_t>(hash >> 32));
  }
  return file;
}

TEST(MapSizes, MapsZeroAndOneAreWiderWhenTheirDataHoldsTheWholeWorld) {
  constexpr uint64_t wholeWorld = 896 * 512;
  struct Case {
    const char* name;
    int32_t number;
    bool packed;
    uint64_t blocks;  // plain: blocks of the file; packed: entries of 4096 blocks
    uint32_t lastExtra = 0;  // packed: blocks the last entry has beyond 4096
    int32_t wide, high;
  };
  const Case cases[] = {
      {"map 0, plain, one block short", 0, false, wholeWorld - 1, 0, 768, 512},
      {"map 0, plain, whole", 0, false, wholeWorld, 0, 896, 512},
      {"map 1, plain, the older size", 1, false, 768 * 512, 0, 768, 512},
      {"map 1, plain, whole", 1, false, wholeWorld + 10, 0, 896, 512},
      {"map 0, packed, 96 entries and a spare block", 0, true, 96, 1, 768, 512},
      {"map 0, packed, 112 entries", 0, true, 112, 0, 896, 512},
      {"map 1, packed, 112 entries and a spare block", 1, true, 112, 1, 896, 512},
      {"map 5, plain, whole", 5, false, 160 * 512, 0, 160, 512},
      {"map 5, plain, as large as map 0", 5, false, wholeWorld, 0, 160, 512},
      {"map 5, packed", 5, true, 20, 1, 160, 512},
      {"map 2, plain, as large as map 0", 2, false, wholeWorld, 0, 288, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTestWorld world;
    world.AddMap(c.number, TMapContents(1, MapSizeOf(c.number).BlocksHigh));
    const std::string key = "map" + testing::KeySuffix(c.number);
    if (c.packed) {
      const std::string packed = world.File("map" + std::to_string(c.number) + "LegacyMUL.uop");
      std::vector<unsigned char> bytes = SharedDataPackedFile(c.number, static_cast<uint32_t>(c.blocks), 4096);
      if (c.lastExtra) {
        // The last row's lengths grow over the spare block at the very end.
        const size_t row = 0x28 + 12 + (c.blocks - 1) * 34;
        WriteU32(&bytes[row + 12], (4096 + c.lastExtra) * MapBlockBytes);
        WriteU32(&bytes[row + 16], (4096 + c.lastExtra) * MapBlockBytes);
        bytes.resize(bytes.size() + c.lastExtra * MapBlockBytes, 0);
      }
      worldgen::WriteFileBytes(packed, bytes);
      std::filesystem::remove(world.PathOf(key));
    } else {
      world.Patch(key, c.blocks * MapBlockBytes - 1, {0});
    }
    FakeMessageBoxes boxes;
    TMap map(c.number, world.Config(), boxes);
    ASSERT_TRUE(map.IsLoaded()) << map.FailureText();
    EXPECT_EQ(map.BlocksWide(), c.wide);
    EXPECT_EQ(map.BlocksHigh(), c.high);
    EXPECT_EQ(map.ScaleX(), c.wide * 8 / 384.0);
    EXPECT_EQ(map.ScaleY(), c.high * 8 / 256.0);
  }
}

}  // namespace
}  // namespace wf
