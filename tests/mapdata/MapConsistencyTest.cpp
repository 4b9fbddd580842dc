// TMap's pictures and answers against the plain reader, on random small
// worlds with every kind of damage: the fast paths must give exactly the same
// pixels, and nothing may read outside its buffers (the sanitized build runs
// this too).

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>
#include <sstream>
#include <thread>

#include "LiteralMap.h"
#include "TestWorld.h"
#include "mapdata/Map.h"
#include "mapdata/MapTable.h"

namespace wf {
namespace {

using testing::TLiteralMap;
using testing::FakeMessageBoxes;
using testing::TTestWorld;
using worldgen::TMapContents;

class TRandom {
 public:
  explicit TRandom(uint32_t seed) : engine_(seed) {}
  // 0 to n - 1.
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(engine_() % n); }
  bool Chance(uint32_t percent) { return Below(100) < percent; }
  uint32_t Bits() { return static_cast<uint32_t>(engine_()); }

 private:
  std::mt19937 engine_;
};

uint16_t RandomTile(TRandom& r, uint32_t limit) {
  if (r.Chance(5)) return static_cast<uint16_t>(r.Bits());
  return static_cast<uint16_t>(r.Below(limit));
}

TMapContents RandomContents(TRandom& r, int32_t mapNumber) {
  const int32_t high = MapSizeOf(mapNumber).BlocksHigh;
  TMapContents contents(1 + static_cast<int32_t>(r.Below(5)), high);
  for (int x = 0; x < contents.CellsWide(); ++x)
    for (int y = 0; y < contents.CellsHigh(); ++y)
      contents.SetCell(x, y, {RandomTile(r, 40), static_cast<int8_t>(r.Below(40) - 20)});
  for (int64_t b = 0; b < int64_t{contents.BlocksWide()} * high; ++b) {
    if (!r.Chance(60)) continue;
    for (uint32_t n = r.Below(10); n > 0; --n) {
      TStaticItem item{RandomTile(r, 200), static_cast<uint8_t>(r.Below(8)),
                       static_cast<uint8_t>(r.Below(8)), static_cast<int8_t>(r.Below(60) - 25), 0};
      if (r.Chance(3)) item.X = static_cast<uint8_t>(r.Bits());
      if (r.Chance(3)) item.Y = static_cast<uint8_t>(r.Bits());
      if (r.Chance(3)) item.Altitude = static_cast<int8_t>(r.Bits());
      contents.AddStaticRecord(b, item);
    }
  }
  return contents;
}

void Cut(std::vector<unsigned char>& bytes, TRandom& r) {
  if (bytes.empty()) return;
  bytes.resize(r.Chance(20) ? r.Below(3) : r.Below(static_cast<uint32_t>(bytes.size())));
}

// Damage of every kind, each with some chance.
void Damage(TTestWorld& world, int32_t mapNumber, TRandom& r, std::ostringstream& log) {
  const std::string suffix = testing::KeySuffix(mapNumber);
  std::vector<unsigned char> cells = world.Contents("map" + suffix);
  std::vector<unsigned char> index = world.Contents("staidx" + suffix);
  std::vector<unsigned char> statics = world.Contents("statics" + suffix);
  if (r.Chance(25)) { Cut(cells, r); log << " cells cut to " << cells.size(); }
  if (r.Chance(15)) { cells.resize(cells.size() + r.Below(5000), 0xA5); log << " cells longer"; }
  if (r.Chance(25)) { Cut(index, r); log << " index cut to " << index.size(); }
  if (r.Chance(25)) { Cut(statics, r); log << " statics cut to " << statics.size(); }
  if (r.Chance(30)) {
    log << " statics bytes changed";
    for (uint32_t n = r.Below(200); n > 0 && !statics.empty(); --n)
      statics[r.Below(static_cast<uint32_t>(statics.size()))] = static_cast<unsigned char>(r.Bits());
  }
  if (r.Chance(60) && index.size() >= StaIdxEntryBytes) {
    log << " index entries changed";
    const auto size = static_cast<uint32_t>(statics.size());
    for (uint32_t n = 1 + r.Below(300); n > 0; --n) {
      TStaIdxEntry entry;
      switch (r.Below(5)) {
        case 0: entry.Offset = -1; break;
        case 1: entry.Offset = -static_cast<int32_t>(1 + r.Below(INT32_MAX)); break;
        case 2: entry.Offset = static_cast<int32_t>(r.Below(size + 20)); break;
        case 3: entry.Offset = static_cast<int32_t>(r.Bits()); break;
        default: entry.Offset = INT32_MAX; break;
      }
      switch (r.Below(6)) {
        case 0: entry.Length = 0; break;
        case 1: entry.Length = 0xFFFFFFFF; break;
        case 2: entry.Length = r.Below(7); break;
        case 3: entry.Length = r.Below(300); break;
        case 4: entry.Length = r.Bits(); break;
        default: entry.Length = 7 * (MaxStaticsPerBlock + 1); break;
      }
      const uint32_t at = r.Below(static_cast<uint32_t>(index.size() / StaIdxEntryBytes));
      EncodeStaIdxEntry(&index[at * StaIdxEntryBytes], entry);
    }
  }
  world.Replace("map" + suffix, cells);
  world.Replace("staidx" + suffix, index);
  world.Replace("statics" + suffix, statics);
  if (r.Chance(30)) {
    std::vector<unsigned char> radar = world.Contents("radarcol");
    if (r.Chance(50))
      radar.resize(r.Below(9));
    else
      radar.resize(r.Below(static_cast<uint32_t>(radar.size() + 100)), 0x3C);
    world.SetRadarBytes(radar);
    log << " radar colours " << radar.size() << " bytes";
  }
}

// The first pixel where two pictures differ, or nothing.
std::string Difference(const TBitmap32* fast, const TBitmap32* plain) {
  if (!fast || !plain) return fast == plain ? "" : "one picture missing";
  if (fast->Width() != plain->Width() || fast->Height() != plain->Height()) return "sizes differ";
  for (int y = 0; y < fast->Height(); ++y)
    for (int x = 0; x < fast->Width(); ++x)
      if (fast->Pixel(x, y) != plain->Pixel(x, y)) {
        std::ostringstream out;
        out << "pixel " << x << "," << y << ": " << std::hex << fast->Pixel(x, y) << " instead of "
            << plain->Pixel(x, y);
        return out.str();
      }
  return "";
}

// Seeds `first` to `last`, each a random world of a random map with random
// damage; `check` gets the world's map and the plain reader over it.
using TWorldCheck = std::function<void(TRandom&, const TMapContents&, const TMap&, const TLiteralMap&)>;
void ForEachDamagedWorld(uint32_t first, uint32_t last, const TWorldCheck& check) {
  const int32_t numbers[] = {0, 2, 3, 4};
  for (uint32_t seed = first; seed <= last && !::testing::Test::HasFatalFailure(); ++seed) {
    TRandom r(seed);
    const int32_t number = numbers[r.Below(4)];
    std::ostringstream log;
    log << "seed " << seed << ", map " << number << ":";
    TTestWorld world;
    TMapContents contents = RandomContents(r, number);
    world.AddMap(number, contents);
    Damage(world, number, r, log);
    SCOPED_TRACE(log.str());

    FakeMessageBoxes boxes;
    TMap map(number, world.Config(), boxes);
    TLiteralMap plain(number, world.Config(), TLiteralMap::TReads::FromCopies);
    check(r, contents, map, plain);
  }
}

TEST(MapConsistency, RandomDamagedWorldsGiveThePlainReadersPixelsAndAnswers) {
  ForEachDamagedWorld(1, 40, [](TRandom& r, const TMapContents& contents, const TMap& map, const TLiteralMap& plain) {
    ASSERT_TRUE(map.IsLoaded());
    ASSERT_EQ(map.RadarColors(), plain.Colors());
    ASSERT_EQ(Difference(map.GetOverview(), plain.Overview().get()), "");

    const int32_t wide = contents.CellsWide();
    for (int k = 0; k < 4; ++k) {
      uint16_t x = static_cast<uint16_t>(r.Below(static_cast<uint32_t>(wide + 60)));
      uint16_t y = static_cast<uint16_t>(r.Below(static_cast<uint32_t>(map.BlocksHigh() * 8)));
      uint16_t zoom = static_cast<uint16_t>(1 + r.Below(16));
      if (k == 0) zoom = 1;
      if (r.Chance(10)) zoom = static_cast<uint16_t>(r.Bits());
      if (r.Chance(10)) x = static_cast<uint16_t>(r.Bits());
      SCOPED_TRACE(::testing::Message() << "detail " << x << "," << y << " zoom " << zoom);
      ASSERT_EQ(Difference(map.RenderDetail(x, y, zoom).get(), plain.Detail(x, y, zoom).get()), "");
    }
    for (int k = 0; k < 200; ++k) {
      int32_t x = static_cast<int32_t>(r.Below(static_cast<uint32_t>(wide + 20))) - 10;
      int32_t y = static_cast<int32_t>(r.Below(static_cast<uint32_t>(map.BlocksHigh() * 8 + 20))) - 10;
      if (r.Chance(5)) x = static_cast<int32_t>(r.Bits());
      if (r.Chance(5)) y = static_cast<int32_t>(r.Bits());
      ASSERT_EQ(map.GetLandTile(x, y), plain.LandTile(x, y)) << x << "," << y;
      ASSERT_EQ(map.GetAltitude(x, y), plain.Altitude(x, y)) << x << "," << y;
    }
  });
}

// The colours of whole blocks, also row 0 and column 0 and blocks the files
// do not reach, read through one mapping by two threads at once.
TEST(MapConsistency, RandomDamagedWorldsGiveThePlainReadersCellColours) {
  ForEachDamagedWorld(41, 60, [](TRandom& r, const TMapContents& contents, const TMap& map, const TLiteralMap& plain) {
    const int32_t across = contents.BlocksWide() + 2, down = 24;
    const auto blockY =
        r.Chance(50) ? 0 : static_cast<int32_t>(r.Below(static_cast<uint32_t>(map.BlocksHigh() - down)));
    const TMap::TMappedFiles files = map.MapFiles();
    std::vector<TColor32> colors(size_t{8} * across * 8 * down, 0);
    std::thread other([&] { map.ReadCellColors(files, 0, blockY, across / 2, down, colors.data(), 8 * across); });
    map.ReadCellColors(files, across / 2, blockY, across - across / 2, down, &colors[size_t{8} * (across / 2)],
                       8 * across);
    other.join();
    for (int32_t y = 0; y < 8 * down; ++y)
      for (int32_t x = 0; x < 8 * across; ++x)
        ASSERT_EQ(colors[size_t(y) * 8 * across + x], plain.CellColor(x, 8 * blockY + y) | 0xFF000000)
            << x << "," << 8 * blockY + y;
  });
}

}  // namespace
}  // namespace wf
