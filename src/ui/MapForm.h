#pragma once
// The map window's state and handlers, free of the OS: the controls and the
// desktop are reached through interfaces.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/PlayerLink.h"
#include "friends/FriendsLink.h"
#include "ui/Controls.h"
#include "ui/FriendsShown.h"

namespace wf {
class TConfig;
class TMap;
class TMapSet;
namespace platform {
class IMessageBoxes;
class IInputDialog;
class IClientWindows;
class IRegistry;
class IFolderDialog;
class IFileDialogs;
}  // namespace platform
}  // namespace wf

namespace wf::ui {

struct TLocation;
struct TPlacesText;
class IPlacesStore;

// The atlas as the map window sees it: a window of its own that shows the map
// in use, outlines the detail view and is opened from the system menu.
class IAtlasLink {
 public:
  virtual ~IAtlasLink() = default;
  // Opens the atlas, or brings it to the front.
  virtual void OpenAtlas() = 0;
  // The map in use, the detail view's centre or its zoom may have changed.
  virtual void MapViewChanged() = 0;
  // The maps are about to be made anew: the current ones must not be read
  // from now on, and no map is to be taken until MapsReplaced.
  virtual void MapsReplacing() = 0;
  // The maps are made anew, or stayed as they were when that failed: the map
  // in use may be read again.
  virtual void MapsReplaced() = 0;
  // The places held changed (added, changed, deleted, imported, read again).
  virtual void PlacesChanged() = 0;
  // What the client tells of the player changed, or whether it is shown.
  virtual void PlayerMoved() = 0;
  // The desktop session ends: what the atlas keeps is to be written now.
  virtual void SessionEnding() = 0;
};

// The friends' link as the map window sees it: a dialog opened from the
// system menu, and the player's position handed on whenever it changes.
class IFriendsPanel {
 public:
  virtual ~IFriendsPanel() = default;
  virtual void OpenFriends() = 0;
  // Where the player is and on which map; nothing when the player is not known.
  virtual void PlayerMoved(std::optional<TPlayerPosition> position, int32_t map) = 0;
};

struct TPanePoint {
  int32_t X;
  int32_t Y;
};

struct TMapFormControls {
  IImagePane& MapImage;
  IImagePane& ZoomMap;
  IComboBox& cbTravel;
  IComboBox& cbChooseMap;
  IEdit& eX;
  IEdit& eY;
  IEdit& eZ;
  ISystemMenu& Menu;
};

// What the window uses besides its controls. Config and the maps are
// destroyed before FormDestroy runs, which therefore touches neither.
struct TMapFormServices {
  TConfig* Config = nullptr;
  TMapSet* Maps = nullptr;
  platform::IMessageBoxes* Messages = nullptr;
  platform::IInputDialog* Input = nullptr;
  platform::IClientWindows* Client = nullptr;
  std::string LocationsFile;  // full path of locations.txt
  // Where LocationsFile is read and written; null for the real file system.
  IPlacesStore* Places = nullptr;
  // For choosing the game folder; without both the command is not offered.
  platform::IRegistry* Registry = nullptr;
  platform::IFolderDialog* Folders = nullptr;
  std::string ProgramFolder;  // where the program itself lies
  std::string ProgramVersion;  // as the executable's version resource gives it
  // The open and save dialogs; without them places are neither imported nor
  // exported.
  platform::IFileDialogs* Files = nullptr;
};

class TMapForm {
 public:
  TMapForm(TMapFormControls controls, TMapFormServices services);
  ~TMapForm();
  TMapForm(const TMapForm&) = delete;
  TMapForm& operator=(const TMapForm&) = delete;

  // Lifecycle.
  void FormCreate();
  void FormShow();
  void FormDestroy();

  // The map in use and drawing.
  TMap& ActiveMap();
  void DrawOverview();
  void DrawDetail();
  int32_t OverviewToMapX(int32_t x);
  int32_t OverviewToMapY(int32_t y);

  // Navigation and travel.
  void MapImageMouseDown(TMouseButton button, int32_t x, int32_t y);
  // Centres the detail view on a cell exactly as a left press on the overview
  // that lands on it does; a cell beyond the map is ignored.
  void CentreOn(int32_t x, int32_t y);
  // Travels to a cell exactly as a right press on the overview that lands on
  // it does.
  void TravelTo(int32_t x, int32_t y);
  void ZoomMapMouseDown(TMouseButton button, int32_t x, int32_t y);
  void btnZoomInClick();
  void btnZoomOutClick();
  void FormKeyDown(uint16_t key);
  void btnGoClick();

  // Map choice.
  void cbChooseMapChange();

  // Places.
  void LoadLocations();
  // Writes the places and releases them; the window's last act.
  void SaveLocations();
  void SortLocations();
  void FillTravelList();
  // Writes the places as they stand and keeps them, and has the atlas write
  // what it keeps: the desktop session is ending and the program may not get
  // to FormDestroy.
  void SessionEnding();
  void btnNeuClick();
  // As "Neu" with X, Y and the cell's land altitude for the edit fields',
  // which show them once the place is added. The place is on the map in use
  // when the command is given, whatever is shown while its name is asked.
  void NewPlaceAt(int32_t x, int32_t y);
  // Goes to the place as choosing it from the places list does.
  void ChoosePlace(const TLocation* place);
  void btnChangeClick();
  void btnDeleteClick();
  void cbTravelChange();

  // The window's system menu: adds the program's commands (at creation) and
  // runs the one chosen.
  void SystemCommand(int command);

  // Places from and to other tools' files, through the open and save dialogs.
  void ImportPlaces();
  void ExportPlaces();

  // The places of the map in use as markers on both panes, on or off.
  void ToggleShowPlaces();

  // Finding places while their name is typed into the places list's field:
  // the names to offer, in list order; choosing the n-th of them goes there as
  // choosing it from the list does.
  std::vector<std::string> FindPlaces(const std::string& typed);
  void FindChosen(int offered);

  // What the cell under the mouse is, for the pointer's tip, in UTF-8; empty
  // off the map.
  std::string MapImageHoverText(int32_t x, int32_t y);
  std::string ZoomMapHoverText(int32_t x, int32_t y);

  // The mouse wheel over the detail pane, in the desktop's units (120 a notch,
  // forward positive): a notch forward zooms in as "+" does, back out as "-".
  void ZoomMapWheel(int delta);

  // The player, as the assistants' window tells: looked at a few times a
  // second (`ownWindow` is the window the client is to tell of map changes),
  // and the map the client says the player is on now.
  void PlayerTimer(platform::IClientWindows::Handle ownWindow);
  void PlayerMapChanged(int32_t map);
  // Where the client says the player is, while that is on the map in use.
  std::optional<TPlayerPosition> PlayerOnMapInUse() const;
  // The same while "Show player" is on.
  std::optional<TPlayerPosition> VisiblePlayer() const;

  // The friends the link heard (a snapshot of it, taken on the window's
  // thread): drawn over both panes as the player is, each in its colour, and
  // named by the pointer's tip. Drawn at once, or by FriendsTimer when the
  // last drawing is less than a tenth of a second old. `now` is the link's
  // clock, which decides who is faded.
  void FriendsChanged(const friends::FriendsSnapshot& snapshot, TFriendsClock::time_point now);
  // Ten times a second while friends are held: draws a change held back,
  // and a friend who has just faded.
  void FriendsTimer(TFriendsClock::time_point now);
  const std::vector<friends::Friend>& Friends() const { return FFriends; }
  // Where the player is, on which map (the map in use until the client names
  // one); nothing while the client tells no position.
  std::optional<TMapSpot> PlayerSpot() const;
  // Shows `map` and stores it as choosing it in the map list does;
  // false when that map is not loaded.
  bool ShowMap(int32_t map);
  // Travels to a cell of `map` as a right press on it would if that map were
  // shown: its land altitude there and its number.
  void TravelToOnMap(int32_t x, int32_t y, int32_t map);

  // The atlas, which then is offered in the system menu; before FormCreate.
  void AttachAtlas(IAtlasLink* atlas) { FAtlas = atlas; }
  // The friends' dialog, then offered in the system menu; before FormCreate.
  void AttachFriends(IFriendsPanel* friends) { FFriendsPanel = friends; }

  // Window state.
  uint16_t FCenterX = 0;
  uint16_t FCenterY = 0;
  uint16_t FZoom = 1;
  int8_t FCenterZ = 0;
  std::vector<std::unique_ptr<TLocation>> FLocations;
  uint16_t FMapIndex = 0;
  bool FShowPlaces = false;

 private:
  enum class PlacesFileState {
    NotRead,     // before LoadLocations: writing would lose the file
    Writable,
    Unreadable,  // it exists but could not be read: never overwritten
    Released,    // SaveLocations has run
  };

  void FillMapChoice();
  void AddMenuCommands();
  void ChooseGameFolder();
  // Makes the maps anew from the configuration. A box may be shown meanwhile,
  // and messages handled under it: none of them may hand out a map until the
  // new ones are there.
  void ReplaceMaps();
  void ShowAbout();
  void ShowCentre();
  void PressOnCell(TMouseButton button, int32_t mapX, int32_t mapY);
  void TellAtlas();
  void TellAtlasOfPlaces();
  // Asks the name as "Neu" does and adds the place on `map`; false when none
  // was given.
  bool AddPlace(const std::string& x, const std::string& y, const std::string& z, uint16_t map);
  void SendTravelCommand(int32_t x, int32_t y, int32_t z, std::optional<int32_t> map = std::nullopt);
  // Raises what the last travel command left to tell the user, if anything.
  void ReportTravelProblem();
  void SetCentreFromEdits();
  int SelectedLocationIndex();
  // The places file's text for what is held; raises, naming the bound, when
  // it would be larger than the program reads (nothing is written then).
  std::string PlacesFileText() const;
  // PlacesFileText after a change to the places held, which `undo` takes back
  // when the text is refused: then nothing held has changed.
  std::string TextOfChange(const std::function<void()>& undo);
  void WriteLocations();
  void WriteLocations(std::string text);
  void WriteLocationsAfterChange(std::string text);
  IPlacesStore& Store();
  // Takes the places file's text, decoded from its bytes, as the places held;
  // the first map part that is no map number, if any.
  std::optional<std::string> TakePlacesText(std::string bytes, const TPlacesText& decoded);
  // When the file has changed since the program last read or wrote it, reads
  // it again in place of the places held; true when it did.
  bool TakeInOutsideChanges();
  // The first place held that is the same as `place` in name, coordinates and
  // map; -1 when there is none.
  int IndexOfSame(const TLocation& place) const;
  void DrawOverviewPlaces();
  void DrawDetailPlaces();
  std::string HoverText(int32_t mapX, int32_t mapY, bool onOverview, int32_t x, int32_t y);

  void DrawFriends(bool onOverview);
  // The friend whose marker is nearest the pane's pixel (x, y), within reach.
  const friends::Friend* FriendAtPixel(bool onOverview, int32_t x, int32_t y);
  void RedrawFriends(TFriendsClock::time_point now);
  int FadedFriends(TFriendsClock::time_point now) const;

  void ReadPlayerSettings();
  std::optional<TPanePoint> PlayerOnOverview();
  std::optional<TPanePoint> PlayerOnDetail() const;
  void DrawPlayerOnOverview();
  void DrawPlayerOnDetail();
  void PlayerChanged();
  bool SwitchToPlayerMap();
  // Makes `map` the one in use at zoom 1 and its corner, without drawing or
  // storing it; false when it is not loaded.
  bool SwitchMap(int32_t map);
  bool CentreOnPlayer();
  void ToggleShowPlayer();
  void ToggleFollowPlayer();

  TMapFormControls c_;
  TMapFormServices s_;
  std::unique_ptr<TPlayerLink> FPlayer;
  bool FShowPlayer = true;
  bool FFollowPlayer = false;
  // Whether the panes show the player's marker now.
  bool FOverviewPlayerShown = false;
  bool FDetailPlayerShown = false;
  // Lines of the places file the program could not read, written back as read.
  std::vector<std::string> FKeptLines;
  // The file's bytes from a byte 0 on, which end its text, kept the same way.
  std::string FUnreadRest;
  // The file began with a UTF-8 mark, which is written back before it.
  bool FUtf8Mark = false;
  // The file's bytes as last read or written; none while there was no file.
  std::optional<std::string> FPlacesBytes;
  PlacesFileState FPlacesFile = PlacesFileState::NotRead;
  // The places offered by the last FindPlaces, in the order offered.
  std::vector<const TLocation*> FFound;
  // Wheel movement short of a whole notch, kept for the next.
  int FWheelRest = 0;

  std::vector<friends::Friend> FFriends;
  TFriendsClock::time_point FFriendsNow{};  // what fading was drawn by
  TRedrawThrottle FFriendsThrottle;
  int FFadedDrawn = 0;
  // Whether the panes show a friend's marker now.
  bool FOverviewFriendsShown = false;
  bool FDetailFriendsShown = false;

  std::string FTravelProblem;
  bool FFormatErrorShown = false;
  IAtlasLink* FAtlas = nullptr;
  IFriendsPanel* FFriendsPanel = nullptr;
  // The maps are being made anew; what the client told of the player
  // meanwhile waits until they are there.
  bool FReplacingMaps = false;
  bool FPlayerChangeWaiting = false;
};

}  // namespace wf::ui
