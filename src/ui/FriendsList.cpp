#include "ui/FriendsList.h"

#include <algorithm>
#include <tuple>

#include "client/CommandFormat.h"
#include "common/IntegerText.h"
#include "config/TextEncoding.h"
#include "places/Sextant.h"

namespace wf::ui {

std::vector<TFriendRow> FriendRows(std::span<const friends::Friend> friends, const std::optional<TMapSpot>& player,
                                   TFriendsClock::time_point now) {
  struct TKeyed {
    std::tuple<bool, int64_t, std::string, std::string> Key;  // other map, distance, name, id
    TFriendRow Row;
  };
  std::vector<TKeyed> keyed;
  keyed.reserve(friends.size());
  for (const friends::Friend& someone : friends) {
    const friends::SharedPosition& at = someone.position;
    const TMapSpot spot{at.x, at.y, at.map};
    TFriendRow row;
    row.Id = someone.id;
    row.Name = someone.name;
    row.Facet = CodePageToUtf8(FacetName(at.map));
    row.Cell = NumberText(at.x) + " " + NumberText(at.y);
    if (auto sextant = places::SextantText(at.map, at.x, at.y)) row.Sextant = CodePageToUtf8(*sextant);
    row.Heard = HeardText(someone.heard, now);
    bool otherMap = false;
    int64_t distance = 0;
    if (player) {
      row.Distance = DistanceText(*player, spot);
      otherMap = player->Map != at.map;
      distance = otherMap ? at.map : TilesBetween(*player, spot);
    }
    keyed.push_back({{otherMap, distance, someone.name, someone.id}, std::move(row)});
  }
  std::sort(keyed.begin(), keyed.end(), [](const TKeyed& a, const TKeyed& b) { return a.Key < b.Key; });
  std::vector<TFriendRow> rows;
  rows.reserve(keyed.size());
  for (TKeyed& entry : keyed) rows.push_back(std::move(entry.Row));
  return rows;
}

void TFriendsList::Update(std::span<const friends::Friend> friends, const std::optional<TMapSpot>& player,
                          TFriendsClock::time_point now) {
  rows_ = FriendRows(friends, player, now);
  if (chosen_ && Selected() < 0) chosen_.reset();
}

int TFriendsList::Selected() const {
  if (!chosen_) return -1;
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].Id == *chosen_) return static_cast<int>(i);
  return -1;
}

void TFriendsList::Select(int row) {
  if (const TFriendRow* chosen = Row(row))
    chosen_ = chosen->Id;
  else
    chosen_.reset();
}

const TFriendRow* TFriendsList::Row(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return nullptr;
  return &rows_[static_cast<size_t>(row)];
}

}  // namespace wf::ui
