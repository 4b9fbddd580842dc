#pragma once
// The list of the friends heard, as its window shows it: one row of texts a
// friend, nearest the player first, and the friend chosen kept chosen while
// the rows change under it.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "friends/FriendsLink.h"
#include "ui/FriendsShown.h"

namespace wf::ui {

// Texts in UTF-8: a friend's name as heard, the program's own words beside it.
struct TFriendRow {
  std::string Id;
  std::string Name;
  std::string Facet;     // "Trammel"
  std::string Cell;      // "1600 800"
  std::string Sextant;   // empty where the map has no reading
  std::string Distance;  // "120 tiles NE", "here", "other map"; empty while the player is unknown
  std::string Heard;     // "now", "2 min"
  bool operator==(const TFriendRow&) const = default;
};

// Friends on the player's map by distance, then those on other maps by map;
// equal ones by name, then id. While the player is unknown there is no
// distance to tell: the rows go by name.
std::vector<TFriendRow> FriendRows(std::span<const friends::Friend> friends, const std::optional<TMapSpot>& player,
                                   TFriendsClock::time_point now);

class TFriendsList {
 public:
  // The rows anew; the friend chosen stays chosen wherever its row now is,
  // and none is chosen once that friend is no longer heard.
  void Update(std::span<const friends::Friend> friends, const std::optional<TMapSpot>& player,
              TFriendsClock::time_point now);
  const std::vector<TFriendRow>& Rows() const { return rows_; }
  // The row chosen; -1 for none.
  int Selected() const;
  // A row outside the list chooses none.
  void Select(int row);
  // The friend of the row, while it is in the list.
  const TFriendRow* Row(int row) const;

 private:
  std::vector<TFriendRow> rows_;
  std::optional<std::string> chosen_;  // the friend's id
};

}  // namespace wf::ui
