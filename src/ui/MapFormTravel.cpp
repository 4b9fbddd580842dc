#include "client/ClientLink.h"
#include "common/Errors.h"
#include "common/IntegerText.h"
#include "ui/MapForm.h"

namespace wf::ui {

// "GoSelf %d %d %d %d": X, Y, Z and the map in use. A command that did not
// reach the client whole is reported once the handler has finished its work,
// so the view is redrawn as after any other press.
void TMapForm::SendTravelCommand(int32_t x, int32_t y, int32_t z) {
  std::string command = "GoSelf " + NumberText(x) + " " + NumberText(y) + " " + NumberText(z) +
                        " " + NumberText(FMapIndex);
  const TSendResult result = SendClientCommand(command, *s_.Config, *s_.Client, *s_.Messages);
  FTravelProblem = DeliveryProblem(command, result);
}

void TMapForm::ReportTravelProblem() {
  if (FTravelProblem.empty()) return;
  std::string problem;
  problem.swap(FTravelProblem);
  throw Exception(problem);
}

// The window's centre, not the edit fields: typing into those changes nothing
// until a place handler reads them.
void TMapForm::btnGoClick() {
  SendTravelCommand(FCenterX, FCenterY, FCenterZ);
  ReportTravelProblem();
}

}  // namespace wf::ui
