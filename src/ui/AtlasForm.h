#pragma once
// The atlas's state and handlers, free of the OS: the map window's map in a
// window of its own, at nine scales, moved with the mouse and the keys, with
// the places, the player, a pin, a ruler and a grid drawn over it. Its window
// and the picture engine are reached through interfaces, so tests drive it
// without a screen.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "atlas/AtlasOverlays.h"
#include "atlas/AtlasScale.h"
#include "atlas/AtlasView.h"
#include "friends/FriendsLink.h"
#include "raster/Bitmap32.h"
#include "ui/FriendsList.h"
#include "ui/FriendsShown.h"
#include "ui/MapForm.h"
#include "ui/WindowPlacement.h"

namespace wf {
class TConfig;
class TMap;
namespace atlas {
class IAtlasPicture;
}
}  // namespace wf

namespace wf::ui {

struct TDragDistance {
  int32_t X = 0;  // device pixels the pointer may move either side of a press
  int32_t Y = 0;  // while it is still a click
};

// What the player chose in the atlas's menus; each is a setting of its own.
struct TAtlasOptions {
  bool Places = true;
  bool Grid = false;
  bool Follow = false;
  bool OnTop = false;
  int Opacity = 100;  // per cent: 100, 85, 70 or 55
  bool operator==(const TAtlasOptions&) const = default;
};

// A place's or a friend's name as the window writes it over the picture, its
// box outline included, in UTF-8. The text is the atlas's own, until the next
// Paint.
struct TFrameName {
  std::string_view Text;
  atlas::TFrameRect Box;
};

// The atlas's window as its logic sees it; it measures names in its font.
class IAtlasWindow : public atlas::ILabelMeasure {
 public:
  virtual ~IAtlasWindow() = default;
  // Makes the window where there is none, placed as `placement` says (none:
  // where the desktop puts a new window), shows it and brings it to the
  // front. The window tells its size (Resize) before this returns.
  virtual void Open(const std::optional<TWindowPlacement>& placement) = 0;
  virtual bool IsOpen() const = 0;
  // Where the open window is now.
  virtual TWindowPlacement Placement() const = 0;
  // The picture is to be painted again (Paint) soon.
  virtual void Redraw() = 0;
  // In UTF-8: it may name a friend.
  virtual void SetStatusText(const std::string& text) = 0;
  virtual TDragDistance DragDistance() const = 0;
  // The menus' check marks, "always on top" and the opacity, as `options` say.
  virtual void ShowOptions(const TAtlasOptions& options) = 0;
  // The "Go to" box, starting with `previous`: the text typed, or nothing on
  // Cancel.
  virtual std::optional<std::string> AskGoTo(const std::string& previous) = 0;
  // A list to choose one of `items` from: its index, or nothing on Cancel.
  // Texts in UTF-8.
  virtual std::optional<int> ChooseOne(const std::string& caption, const std::string& prompt,
                                       const std::vector<std::string>& items) = 0;
};

// The window of the friends' list, beside the atlas's.
class IFriendsListWindow {
 public:
  virtual ~IFriendsListWindow() = default;
  // Makes the window where there is none, shows it and brings it to the front.
  virtual void Open() = 0;
  virtual bool IsOpen() const = 0;
  // The rows as they are now, and the row chosen (-1: none).
  virtual void ShowRows(const std::vector<TFriendRow>& rows, int selected) = 0;
};

// What the keys and the menus ask for.
enum class TAtlasKey {
  PanLeft, PanRight, PanUp, PanDown, ZoomIn, ZoomOut, Home,
  Places, Grid, Follow, OnTop, Opacity100, Opacity85, Opacity70, Opacity55,
  GoTo, NewPlace, FriendsList,
  // The friends' dialog, as the map window's system menu opens it.
  Friends,
  // Esc: the pin and the ruler go, and Follow follows the player again.
  Clear,
};

class TAtlasForm : public IAtlasLink {
 public:
  TAtlasForm(IAtlasWindow& window, TMapForm& mapForm, TConfig& config, atlas::IAtlasPicture& picture);
  TAtlasForm(const TAtlasForm&) = delete;
  TAtlasForm& operator=(const TAtlasForm&) = delete;

  // At start, once the map window is shown: an atlas open at the last end
  // opens again.
  void Start();
  // The program ends with the map window: what the atlas keeps is written and
  // the maps are let go, before they are destroyed.
  void Shutdown();

  // IAtlasLink: the map window's side.
  void OpenAtlas() override;
  void MapViewChanged() override;
  void MapsReplacing() override;
  void MapsReplaced() override;
  void PlacesChanged() override;
  void PlayerMoved() override;
  // The program may be ended any time after: what the atlas keeps is written now.
  void SessionEnding() override;

  // The window's side, in device pixels of the picture's area.
  void Resize(int32_t width, int32_t height);
  // Fills `pixels` (the frame's Width x Height, rows top to bottom).
  void Paint(TColor32* pixels);
  void MouseMove(int32_t x, int32_t y);
  void MouseLeave();
  // With Shift a press starts a ruler instead of a drag.
  void LeftDown(int32_t x, int32_t y, bool shift = false);
  void LeftUp(int32_t x, int32_t y);
  // Travels to the cell, as a right press on the map window's overview does.
  void RightDown(int32_t x, int32_t y);
  // The press ended without a release over the window (another window took
  // the mouse): no click.
  void PressLost();
  // In the desktop's units, 120 a notch; forward and rightward positive.
  void Wheel(int delta, int32_t x, int32_t y);
  void HorizontalWheel(int delta);
  void Key(TAtlasKey key);
  // The user closes the window; it goes once this returns.
  void Closing();

  // Friends, from the link's snapshot: their markers and names, the one
  // pointed at in the status bar with the link's state, the list, and Go to.
  // Drawn at once, or by FriendsTimer when the last drawing is less than a
  // tenth of a second old; `now` is the link's clock.
  void FriendsChanged(const friends::FriendsSnapshot& snapshot, TFriendsClock::time_point now);
  // Ten times a second while the window is open: draws a change held back
  // and a friend who has just faded, and keeps the list's times current.
  void FriendsTimer(TFriendsClock::time_point now);
  // The list's window, which the "Friends" menu then opens; before Start.
  void AttachFriendsList(IFriendsListWindow* list) { FListWindow = list; }
  // The list's side: a row chosen; Enter or a double-click on a row; its
  // "Travel" with a row. Rows outside the list are ignored.
  void FriendsListSelect(int row);
  void FriendsListGoTo(int row);
  void FriendsListTravel(int row);
  const TFriendsList& FriendsList() const { return FList; }
  // Centres the atlas on the friend, showing the friend's map where it is
  // another; with Follow on, the atlas follows that friend from then on
  // instead of the player, until Esc or Home.
  void GoToFriend(const std::string& id);

  const atlas::TAtlasFrame& Frame() const { return FFrame; }
  const TAtlasOptions& Options() const { return FOptions; }
  std::string StatusText() const;
  // The names to write over the picture last painted.
  const std::vector<TFrameName>& Names() const { return FNames; }

 private:
  struct TPress {
    int32_t X, Y;
    atlas::TAtlasFrame Frame;
    bool Dragging = false;
    bool Measuring = false;  // Shift was down: a ruler, not a drag
  };
  struct TDetailView {
    int32_t X, Y, Zoom;
    bool operator==(const TDetailView&) const = default;
  };

  enum class TFollow { Same, MadeAnew, OtherMap };
  // Takes the map window's map in use: the same, the same map made anew from
  // the files, or another map.
  TFollow FollowMap();
  atlas::TMapExtent Extent() const;
  void SetFrame(const atlas::TAtlasFrame& frame);
  void ZoomBy(int steps, int32_t x, int32_t y);
  void Changed();
  void WriteSettings(bool open);
  // Holds a setting that changed, to be written with the next Save: a file
  // that cannot be written now gets every one of them later.
  bool Keep(const char* key, const std::string& value);
  void ReadOptions();
  void SetOptions(const TAtlasOptions& options);
  // The places of the map shown, read again when they or the map changed.
  const std::vector<atlas::TPlaceMark>& Marks();
  // The cell the pointer names, else the middle one.
  atlas::TCellPoint NamedCell() const;
  std::optional<atlas::TCellPoint> PointerCell() const;
  void Follow();
  void GoTo();
  void GoToCell(int32_t x, int32_t y, bool pin = true);
  // The friends on the map shown, faded as of the last drawing for them.
  const std::vector<atlas::TFriendMark>& FriendMarks();
  void RedrawFriends(TFriendsClock::time_point now);
  void RefreshFriendsList(bool always);
  const friends::Friend* FindFriend(const std::string& id) const;
  void NewPlace();
  // The view the settings describe, for the first opening.
  std::optional<atlas::TAtlasFrame> SavedView() const;

  IAtlasWindow& w_;
  TMapForm& f_;
  TConfig& config_;
  atlas::IAtlasPicture& picture_;

  atlas::TAtlasFrame FFrame;
  // The frame has the window's size; until then it waits for the window.
  bool FSized = false;
  // What the frame shows once it has a size: none to fit the whole map.
  std::optional<atlas::TAtlasFrame> FWanted;
  bool FOpenedBefore = false;
  std::optional<TWindowPlacement> FPlacement;
  const TMap* FMap = nullptr;  // what the picture shows
  // Between MapsReplacing and MapsReplaced no map may be taken.
  bool FReplacing = false;
  int32_t FMapNumber = -1;
  TDetailView FDetail{0, 0, 1};
  std::optional<TPress> FPress;
  std::optional<atlas::TCellPoint> FPointer;  // device pixel, while over the picture
  int FWheelRest = 0;
  int64_t FSideRest = 0;
  std::string FStatus;

  TAtlasOptions FOptions;
  std::vector<atlas::TPlaceMark> FMarks;
  bool FMarksStale = true;
  std::optional<atlas::TCellPoint> FPin;
  std::optional<atlas::TCellPoint> FRulerFrom, FRulerTo;
  // A cell the status names until the pointer moves (the one gone to).
  std::optional<atlas::TCellPoint> FNamed;
  std::optional<atlas::TCellPoint> FLastMove;  // the pointer's last reported pixel
  std::vector<TFrameName> FNames;
  std::string FGoToText;  // offered again, to mend a typing error

  std::vector<friends::Friend> FFriends;
  friends::LinkState FLinkState = friends::LinkState::Off;
  TFriendsClock::time_point FFriendsNow{};  // what fading and the list's times go by
  TRedrawThrottle FFriendsThrottle;
  int FFadedDrawn = 0;
  std::vector<atlas::TFriendMark> FFriendMarks;
  bool FFriendMarksStale = true;
  std::vector<std::string> FFriendNames;  // the friends' names written, kept to the next Paint
  std::optional<std::string> FFollowed;  // the friend Follow follows instead of the player
  TFriendsList FList;
  IFriendsListWindow* FListWindow = nullptr;
};

}  // namespace wf::ui
