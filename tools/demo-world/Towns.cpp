#include "Towns.h"

#include <algorithm>
#include <cstdlib>

#include "Noise.h"

namespace wf::worldgen {

namespace {

// Streets run where the distance from the town's centre is 16 to 18 modulo
// 32, across and down; the hall and its square lie inside the middle ring.
constexpr int StreetPeriod = 32;
constexpr int StreetFirst = 16;
constexpr int StreetWidth = 3;
constexpr int HallHalf = 12;
constexpr int StoreyHeight = 20;

bool OnStreet(int32_t d) {
  return ((d + StreetFirst) % StreetPeriod + StreetPeriod) % StreetPeriod < StreetWidth;
}
bool InSquare(int32_t dx, int32_t dy) { return std::abs(dx) <= StreetFirst && std::abs(dy) <= StreetFirst; }

int8_t Clamped(int z) { return static_cast<int8_t>(std::clamp(z, -128, 127)); }

struct TSite {
  int32_t X, Y;
  float Score;
};

// A site is good when its whole area is dry, low land without steep slopes;
// water nearby makes it better (harbour towns).
bool Rate(const TMapContents& map, const TLandKinds& kinds, int32_t cx, int32_t cy, int32_t hw,
          int32_t hh, uint32_t seed, float& score) {
  int lo = 127, hi = -128;
  for (int32_t y = cy - hh - 8; y < cy + hh + 8; y += 8)
    for (int32_t x = cx - hw - 8; x < cx + hw + 8; x += 8) {
      const TLand land = kinds.At(x, y);
      if (IsWater(land) || land == TLand::Rock || land == TLand::Snow || land == TLand::Swamp) return false;
      const int z = map.Cell(x, y).Altitude;
      lo = std::min(lo, z);
      hi = std::max(hi, z);
    }
  if (hi - lo > 16) return false;
  int water = 0;
  for (int32_t y = cy - hh - 80; y <= cy + hh + 80; y += 16)
    for (int32_t x = cx - hw - 80; x <= cx + hw + 80; x += 16)
      if (map.Contains(x, y) && IsWater(kinds.At(x, y))) ++water;
  score = static_cast<float>(std::min(water, 12)) - static_cast<float>(hi - lo) * 0.2f +
          Unit(Hash(static_cast<uint32_t>(cx), static_cast<uint32_t>(cy), seed)) * 4.0f;
  return true;
}

std::vector<TSite> Sites(const TMapContents& map, const TLandKinds& kinds, int32_t hw, int32_t hh,
                         uint32_t seed) {
  std::vector<TSite> sites;
  const int32_t margin = 120;
  for (int32_t y = hh + margin; y < map.CellsHigh() - hh - margin; y += 32)
    for (int32_t x = hw + margin; x < map.CellsWide() - hw - margin; x += 32) {
      const int32_t cx = x / 8 * 8 + 4, cy = y / 8 * 8 + 4;
      float score;
      if (Rate(map, kinds, cx, cy, hw, hh, seed, score)) sites.push_back({cx, cy, score});
    }
  std::stable_sort(sites.begin(), sites.end(), [](const TSite& a, const TSite& b) { return a.Score > b.Score; });
  return sites;
}

void AddObject(TMapContents& map, int32_t x, int32_t y, TObject object, uint32_t variant, int z) {
  map.AddStatic(x, y, ObjectTile(object, variant), Clamped(z));
}

struct TBuilding {
  int32_t Left, Top, Width, Height;
  int Storeys;
  TObject Wall, Floor, Roof;
};

// Walls round each storey with floors inside, furniture here and there, a
// door on the ground floor and a roof rising to a ridge.
void Build(TMapContents& map, const TBuilding& b, int ground, TRandom& random) {
  const uint32_t look = static_cast<uint32_t>(random.Next());
  for (int storey = 0; storey < b.Storeys; ++storey) {
    const int z = ground + storey * StoreyHeight;
    for (int32_t y = b.Top; y < b.Top + b.Height; ++y)
      for (int32_t x = b.Left; x < b.Left + b.Width; ++x) {
        const bool edge = x == b.Left || y == b.Top || x == b.Left + b.Width - 1 || y == b.Top + b.Height - 1;
        const bool door = storey == 0 && y == b.Top + b.Height - 1 && x == b.Left + b.Width / 2;
        if (door) continue;
        AddObject(map, x, y, edge ? b.Wall : b.Floor, look >> (storey * 2), z);
        if (!edge && random.Chance(12)) AddObject(map, x, y, TObject::Furniture, look, z + 1);
      }
  }
  const int eaves = ground + b.Storeys * StoreyHeight;
  for (int32_t y = b.Top; y < b.Top + b.Height; ++y)
    for (int32_t x = b.Left; x < b.Left + b.Width; ++x) {
      const int inward = std::min({x - b.Left, b.Left + b.Width - 1 - x, y - b.Top, b.Top + b.Height - 1 - y});
      AddObject(map, x, y, b.Roof, look >> 8, eaves + std::min(inward, 4) * 3);
    }
}

void Garden(TMapContents& map, int32_t left, int32_t top, int32_t right, int32_t bottom, int ground,
            TRandom& random) {
  for (int32_t y = top; y < bottom; ++y)
    for (int32_t x = left; x < right; ++x) {
      const int roll = random.Between(0, 99);
      if (roll < 8) {
        AddObject(map, x, y, TObject::TreeTrunk, static_cast<uint32_t>(roll), ground);
        AddObject(map, x, y, TObject::Leaves, static_cast<uint32_t>(roll), ground + 4);
      } else if (roll < 20) {
        AddObject(map, x, y, TObject::Bush, static_cast<uint32_t>(roll), ground + 1);
      }
    }
}

void Market(TMapContents& map, int32_t left, int32_t top, int32_t right, int32_t bottom, int ground,
            TRandom& random) {
  for (int32_t y = top + 2; y + 3 <= bottom; y += 5)
    for (int32_t x = left + 2; x + 3 <= right; x += 5) {
      const auto variant = static_cast<uint32_t>(random.Next());
      for (int32_t sy = y; sy < y + 3; ++sy)
        for (int32_t sx = x; sx < x + 3; ++sx) {
          AddObject(map, sx, sy, TObject::MarketStall, variant, ground + 6);
          if (random.Chance(40)) AddObject(map, sx, sy, TObject::Furniture, variant, ground + 1);
        }
    }
}

// A lot between streets: four houses, or a garden, or a market.
void Lot(TMapContents& map, const TTown& town, int32_t left, int32_t top, int32_t right, int32_t bottom,
         bool inner, TRandom& random) {
  const int roll = random.Between(0, 99);
  if (roll < 12) return Garden(map, left, top, right, bottom, town.Altitude, random);
  if (roll < 22) return Market(map, left, top, right, bottom, town.Altitude, random);
  const int32_t midX = (left + right) / 2, midY = (top + bottom) / 2;
  const int32_t parts[4][4] = {{left, top, midX, midY}, {midX, top, right, midY},
                               {left, midY, midX, bottom}, {midX, midY, right, bottom}};
  for (const auto& p : parts) {
    const int32_t roomW = p[2] - p[0] - 2, roomH = p[3] - p[1] - 2;
    if (roomW < 6 || roomH < 6 || random.Chance(10)) continue;
    TBuilding b;
    b.Width = random.Between(6, roomW);
    b.Height = random.Between(6, roomH);
    b.Left = p[0] + 1 + random.Between(0, roomW - b.Width);
    b.Top = p[1] + 1 + random.Between(0, roomH - b.Height);
    b.Storeys = inner ? random.Between(2, 3) : random.Between(1, 2);
    b.Wall = random.Chance(60) ? TObject::StoneWall : TObject::WoodWall;
    b.Floor = random.Chance(50) ? TObject::WoodFloor : TObject::StoneFloor;
    const TObject roofs[] = {TObject::RedRoof, TObject::SlateRoof, TObject::ThatchRoof, TObject::RedRoof};
    b.Roof = roofs[random.Between(0, 3)];
    Build(map, b, town.Altitude, random);
  }
}

}  // namespace

std::vector<TTown> PlanTowns(const TMapContents& map, const TLandKinds& kinds,
                             const std::vector<std::string>& names, uint32_t seed) {
  std::vector<TTown> towns;
  const int32_t spacing = std::max(map.CellsWide(), map.CellsHigh()) / 7;
  for (size_t i = 0; i < names.size(); ++i) {
    const bool first = i == 0;
    const int32_t hw = first ? 112 : 80, hh = first ? 96 : 64;
    for (const TSite& site : Sites(map, kinds, hw, hh, seed + static_cast<uint32_t>(i))) {
      const bool apart = std::all_of(towns.begin(), towns.end(), [&](const TTown& t) {
        return std::max(std::abs(t.CenterX - site.X), std::abs(t.CenterY - site.Y)) >= spacing;
      });
      if (!apart) continue;
      TTown town;
      town.Name = names[i];
      town.CenterX = site.X;
      town.CenterY = site.Y;
      town.HalfWidth = hw;
      town.HalfHeight = hh;
      town.Storeys = first ? 4 : 3;
      town.Altitude = static_cast<int8_t>(std::clamp<int>(map.Cell(site.X, site.Y).Altitude, 1, 30));
      towns.push_back(town);
      break;
    }
  }
  return towns;
}

void LayTownGround(TMapContents& map, TLandKinds& kinds, const TTown& town) {
  const int32_t blend = 8;
  for (int32_t y = town.CenterY - town.HalfHeight - blend; y < town.CenterY + town.HalfHeight + blend; ++y)
    for (int32_t x = town.CenterX - town.HalfWidth - blend; x < town.CenterX + town.HalfWidth + blend; ++x) {
      const int32_t dx = x - town.CenterX, dy = y - town.CenterY;
      const int32_t outside = std::max({-town.HalfWidth - dx, dx - town.HalfWidth + 1,
                                        -town.HalfHeight - dy, dy - town.HalfHeight + 1, 0});
      TMapCell cell = map.Cell(x, y);
      if (outside > 0) {
        // The land round the town slopes to the town's level.
        if (IsWater(kinds.At(x, y))) continue;
        cell.Altitude = Clamped(cell.Altitude + (town.Altitude - cell.Altitude) * (blend - outside) / blend);
        map.SetCell(x, y, cell);
        continue;
      }
      const bool paved = OnStreet(dx) || OnStreet(dy) || InSquare(dx, dy);
      const TLand land = paved ? TLand::Cobblestone : TLand::Yard;
      kinds.Set(x, y, land);
      map.SetCell(x, y, {LandTile(land, Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 5) >> 4),
                         town.Altitude});
    }
}

void LayRoad(TMapContents& map, TLandKinds& kinds, const TTown& from, const TTown& to) {
  const int32_t dx = to.CenterX - from.CenterX, dy = to.CenterY - from.CenterY;
  const int32_t steps = std::max(std::abs(dx), std::abs(dy));
  if (steps == 0) return;
  const bool across = std::abs(dx) >= std::abs(dy);
  for (int32_t s = 0; s <= steps; ++s) {
    // The road winds a little to either side of the straight line.
    const float t = static_cast<float>(s) / static_cast<float>(steps);
    const float bend = (ValueNoise(static_cast<float>(s) / 90.0f, 0.5f, 77) - 0.5f) * 40.0f * t * (1.0f - t) * 4.0f;
    int32_t x = from.CenterX + dx * s / steps, y = from.CenterY + dy * s / steps;
    (across ? y : x) += static_cast<int32_t>(bend);
    for (int32_t oy = 0; oy < 2; ++oy)
      for (int32_t ox = 0; ox < 2; ++ox) {
        const int32_t rx = x + ox, ry = y + oy;
        if (!map.Contains(rx, ry)) continue;
        const TLand land = kinds.At(rx, ry);
        if (IsWater(land) || land == TLand::Cobblestone || land == TLand::Yard) continue;
        kinds.Set(rx, ry, TLand::Dirt);
        map.SetTile(rx, ry, LandTile(TLand::Dirt, static_cast<uint32_t>(s)));
      }
  }
}

void BuildTown(TMapContents& map, TTown& town, uint32_t seed) {
  TRandom random(Hash(static_cast<uint32_t>(town.CenterX), static_cast<uint32_t>(town.CenterY), seed));
  const int32_t cx = town.CenterX, cy = town.CenterY;
  // The hall fills the three by three blocks round the centre.
  const int32_t hallLeft = cx - 4 - 8, hallTop = cy - 4 - 8;
  Build(map, {hallLeft, hallTop, 2 * HallHalf, 2 * HallHalf, town.Storeys, TObject::StoneWall,
              TObject::StoneFloor, TObject::SlateRoof},
        town.Altitude, random);
  AddObject(map, cx, cy + HallHalf + 2, TObject::Fountain, 0, town.Altitude + 1);

  // Lots lie between the streets; the middle one in both directions is the square.
  auto lots = [](int32_t half) {
    std::vector<std::pair<int32_t, int32_t>> spans;  // from, to (exclusive), relative to the centre
    for (int32_t start = -StreetFirst + StreetWidth - StreetPeriod * 8; start < half; start += StreetPeriod) {
      const int32_t from = std::max(start, -half), to = std::min(start + StreetPeriod - StreetWidth, half);
      if (to - from >= 10) spans.emplace_back(from, to);
    }
    return spans;
  };
  for (auto [top, bottom] : lots(town.HalfHeight))
    for (auto [left, right] : lots(town.HalfWidth)) {
      if (top <= 0 && bottom > 0 && left <= 0 && right > 0) continue;  // the square
      const bool inner = std::max(std::abs(left + right), std::abs(top + bottom)) / 2 < 2 * StreetPeriod;
      Lot(map, town, cx + left, cy + top, cx + right, cy + bottom, inner, random);
    }
  town.CenterBlockStatics = map.StaticsOf(BlockNumberOf(cx, cy, map.BlocksHigh())).size();
}

}  // namespace wf::worldgen
