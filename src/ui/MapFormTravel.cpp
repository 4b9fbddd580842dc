#include "client/ClientLink.h"
#include "common/IntegerText.h"
#include "ui/MapForm.h"

namespace wf::ui {

// "GoSelf %d %d %d %d": X, Y, Z and the map in use.
void TMapForm::SendTravelCommand(int32_t x, int32_t y, int32_t z) {
  std::string command = "GoSelf " + NumberText(x) + " " + NumberText(y) + " " + NumberText(z) +
                        " " + NumberText(FMapIndex);
  SendClientCommand(command, *s_.Config, *s_.Client, *s_.Messages);
}

// The window's centre, not the edit fields: typing into those changes nothing
// until a place handler reads them.
void TMapForm::btnGoClick() { SendTravelCommand(FCenterX, FCenterY, FCenterZ); }

}  // namespace wf::ui
