#include "ui/MapForm.h"

#include <stdexcept>

#include "config/Config.h"
#include "mapdata/Map.h"
#include "mapdata/MapTable.h"
#include "raster/Bitmap32.h"
#include "ui/Locations.h"

namespace wf::ui {

namespace {

constexpr TColor32 kDetailBackground = 0x00FFFFFF;
constexpr TColor32 kMarkerColor = 0xFF000000;

}  // namespace

TMapForm::TMapForm(TMapFormControls controls, TMapFormServices services)
    : c_(controls), s_(std::move(services)) {
  if (!s_.Config || !s_.Maps || !s_.Messages || !s_.Input || !s_.Client)
    throw std::invalid_argument("TMapForm needs Config, Maps, Messages, Input and Client");
  FPlayer = std::make_unique<TPlayerLink>(*s_.Client);
}

TMapForm::~TMapForm() = default;

void TMapForm::FormCreate() {
  FZoom = 1;
  FCenterX = 0;
  FCenterY = 0;
  FCenterZ = 0;
  FMapIndex = static_cast<uint16_t>(s_.Config->GetInteger("CurrentMap"));
  ReadPlayerSettings();
  // The menu first: a places file with a line the program cannot read raises
  // its error from LoadLocations, and the commands must be there all the same.
  AddMenuCommands();
  LoadLocations();
}

void TMapForm::FormShow() {
  FillMapChoice();
  DrawOverview();
  s_.Config->SetInteger("CurrentMap", FMapIndex);
}

// Config and the maps are gone by now: only the places file is touched.
void TMapForm::FormDestroy() { SaveLocations(); }

// A number that names no map is replaced by 0 like one whose map is not
// loaded, so that the number stored and sent is the map shown.
TMap& TMapForm::ActiveMap() {
  TMap* picked = s_.Maps->Find(FMapIndex);
  if (picked && picked->IsLoaded()) return *picked;
  FMapIndex = 0;
  return s_.Maps->First();
}

void TMapForm::DrawOverview() {
  const TBitmap32* overview = ActiveMap().GetOverview();
  TBitmap32& pane = c_.MapImage.Bitmap();
  pane.SetDimensions(OverviewWidth, OverviewHeight);
  pane.ClearTo(SystemColorToColor32(clBtnFace));
  pane.DrawAt(0, 0, overview);
  DrawOverviewPlaces();
  DrawFriends(true);
  DrawPlayerOnOverview();
  TellAtlas();
}

void TMapForm::DrawDetail() {
  TBitmap32& pane = c_.ZoomMap.Bitmap();
  pane.SetDimensions(DetailSize, DetailSize);
  pane.ClearTo(kDetailBackground);
  pane.DrawAt(0, 0, ActiveMap().RenderDetail(FCenterX, FCenterY, FZoom).get());
  // A cross through (49, 49), one pixel up and left of the centre cell, with
  // the crossing itself left open so the cell under it stays visible.
  constexpr int kCross = DetailSize / 2 - 1;
  constexpr int kArm = 20;  // pixels on each side of the crossing
  pane.FillArea(kCross - kArm, kCross, kCross, kCross + 1, kMarkerColor);
  pane.FillArea(kCross, kCross - kArm, kCross + 1, kCross, kMarkerColor);
  pane.FillArea(kCross + 1, kCross, kCross + 1 + kArm, kCross + 1, kMarkerColor);
  pane.FillArea(kCross, kCross + 1, kCross + 1, kCross + 1 + kArm, kMarkerColor);
  DrawDetailPlaces();
  DrawFriends(false);
  DrawPlayerOnDetail();
  TellAtlas();
}

// Every change of the map in use, the centre or the zoom is drawn, so the
// atlas hears of each of them here.
void TMapForm::TellAtlas() {
  if (FAtlas && !FReplacingMaps) FAtlas->MapViewChanged();
}

void TMapForm::TellAtlasOfPlaces() {
  if (FAtlas) FAtlas->PlacesChanged();
}

}  // namespace wf::ui
