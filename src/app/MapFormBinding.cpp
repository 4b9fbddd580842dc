#include "app/MapFormBinding.h"

#include <chrono>

#include "ui/MapForm.h"
#include "ui/win32/MapWindow.h"

namespace wf::app {

using ui::TMouseButton;

TMapFormBinding::TMapFormBinding(ui::win32::TMapWindow& window, ui::TMapForm& form)
    : window_(window) {
  ui::TMapForm* f = &form;
  window.onCreate = [f] { f->FormCreate(); };
  window.onShow = [f] { f->FormShow(); };
  window.onDestroy = [f] { f->FormDestroy(); };
  window.onEndSession = [f] { f->SessionEnding(); };
  window.onKeyDown = [f](uint16_t key) { f->FormKeyDown(key); };
  window.onSystemCommand = [f](int command) { f->SystemCommand(command); };
  ui::win32::TMapWindow* w = &window;
  window.onPlayerTimer = [f, w] { f->PlayerTimer(reinterpret_cast<uintptr_t>(w->Handle())); };
  window.onPlayerMap = [f](int map) { f->PlayerMapChanged(map); };
  window.onFriendsTimer = [f] { f->FriendsTimer(std::chrono::steady_clock::now()); };
  window.MapImage.onMouseDown = [f](TMouseButton b, int x, int y) { f->MapImageMouseDown(b, x, y); };
  window.ZoomMap.onMouseDown = [f](TMouseButton b, int x, int y) { f->ZoomMapMouseDown(b, x, y); };
  window.btnZoomIn.onClick = [f] { f->btnZoomInClick(); };
  window.btnZoomOut.onClick = [f] { f->btnZoomOutClick(); };
  window.btnGo.onClick = [f] { f->btnGoClick(); };
  window.btnNeu.onClick = [f] { f->btnNeuClick(); };
  window.btnChange.onClick = [f] { f->btnChangeClick(); };
  window.btnDelete.onClick = [f] { f->btnDeleteClick(); };
  window.cbTravel.onChange = [f] { f->cbTravelChange(); };
  window.cbChooseMap.onChange = [f] { f->cbChooseMapChange(); };

  window.cbTravel.onTextTyped = [f, w](const std::string& text) {
    w->FindList.Show(f->FindPlaces(text), w->cbTravel.Handle());
  };
  window.cbTravel.onLeave = [w] { w->FindList.Hide(); };
  window.FindList.onChoose = [f](int index) { f->FindChosen(index); };
  window.MapImage.onMouseMove = [f, w](int x, int y) {
    w->HoverTip.Show(f->MapImageHoverText(x, y), w->MapImage.Handle(), x, y);
  };
  window.ZoomMap.onMouseMove = [f, w](int x, int y) {
    w->HoverTip.Show(f->ZoomMapHoverText(x, y), w->ZoomMap.Handle(), x, y);
  };
  window.MapImage.onMouseLeave = [w] { w->HoverTip.Hide(); };
  window.ZoomMap.onMouseLeave = [w] { w->HoverTip.Hide(); };
  window.ZoomMap.onMouseWheel = [f](int delta) { f->ZoomMapWheel(delta); };
}

TMapFormBinding::~TMapFormBinding() {
  window_.onCreate = nullptr;
  window_.onShow = nullptr;
  window_.onDestroy = nullptr;
  window_.onEndSession = nullptr;
  window_.onKeyDown = nullptr;
  window_.onSystemCommand = nullptr;
  window_.onPlayerTimer = nullptr;
  window_.onPlayerMap = nullptr;
  window_.onFriendsTimer = nullptr;
  window_.MapImage.onMouseDown = nullptr;
  window_.ZoomMap.onMouseDown = nullptr;
  for (ui::win32::TButton* b : {&window_.btnZoomIn, &window_.btnZoomOut, &window_.btnGo, &window_.btnNeu,
                                &window_.btnChange, &window_.btnDelete})
    b->onClick = nullptr;
  window_.cbTravel.onChange = nullptr;
  window_.cbChooseMap.onChange = nullptr;
  window_.cbTravel.onTextTyped = nullptr;
  window_.cbTravel.onLeave = nullptr;
  window_.FindList.onChoose = nullptr;
  for (ui::win32::TImagePane* pane : {&window_.MapImage, &window_.ZoomMap}) {
    pane->onMouseMove = nullptr;
    pane->onMouseLeave = nullptr;
    pane->onMouseWheel = nullptr;
  }
}

}  // namespace wf::app
