#pragma once
// The map window's state and handlers, free of the OS: the controls and the
// desktop are reached through interfaces.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace wf {
class TConfig;
class TMap;
namespace platform {
class IMessageBoxes;
class IInputDialog;
class IClientWindows;
}  // namespace platform
}  // namespace wf

namespace wf::ui {

struct TLocation;

struct TMapFormControls {
  IImagePane& MapImage;
  IImagePane& ZoomMap;
  IComboBox& cbTravel;
  IComboBox& cbChooseMap;
  IEdit& eX;
  IEdit& eY;
  IEdit& eZ;
};

// What the window uses besides its controls. Config and the maps are
// destroyed before FormDestroy runs, which therefore touches neither.
struct TMapFormServices {
  TConfig* Config = nullptr;
  TMap* Map0 = nullptr;
  TMap* Map2 = nullptr;
  TMap* Map3 = nullptr;
  TMap* Map4 = nullptr;
  platform::IMessageBoxes* Messages = nullptr;
  platform::IInputDialog* Input = nullptr;
  platform::IClientWindows* Client = nullptr;
  std::string LocationsFile;  // full path of locations.txt
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
  void ZoomMapMouseDown(TMouseButton button, int32_t x, int32_t y);
  void btnZoomInClick();
  void btnZoomOutClick();
  void FormKeyDown(uint16_t key);
  void btnGoClick();

  // Map choice.
  void cbChooseMapChange();

  // Places.
  void LoadLocations();
  void SaveLocations();
  void btnNeuClick();
  void btnChangeClick();
  void btnDeleteClick();
  void cbTravelChange();

  // Window state.
  uint16_t FCenterX = 0;
  uint16_t FCenterY = 0;
  uint16_t FZoom = 1;
  int8_t FCenterZ = 0;
  std::vector<std::unique_ptr<TLocation>> FLocations;
  uint16_t FMapIndex = 0;

 private:
  TMapFormControls c_;
  TMapFormServices s_;
};

}  // namespace wf::ui
