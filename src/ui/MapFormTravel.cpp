#include "client/ClientLink.h"
#include "client/CommandFormat.h"
#include "common/Errors.h"
#include "config/Config.h"
#include "ui/MapForm.h"

namespace wf::ui {

// The command from the "commandformat" template (the classic "GoSelf" command
// without one): X, Y, Z and the map in use. A template that cannot be used is
// reported once and the classic command is sent instead; a command that did
// not reach the client whole is reported every time, and so is a prefix or
// template holding a control character, with which nothing is sent. All are
// reported once
// the handler has finished its work, so the view is redrawn as after any other
// press.
void TMapForm::SendTravelCommand(int32_t x, int32_t y, int32_t z, std::optional<int32_t> map) {
  for (const char* key : {"commandchar", "commandformat"}) {
    if (HoldsControlCharacter(s_.Config->GetValue(key))) {
      FTravelProblem = std::string("The setting '") + key +
                       "' in configtravel.xml holds a control character, which the game client would take "
                       "as a key of its own: no command is sent";
      return;
    }
  }
  const TTravelTarget target{x, y, z, map.value_or(FMapIndex)};
  const std::string format = s_.Config->GetValue("commandformat");
  TFormattedCommand formatted = FormatCommand(format.empty() ? kDefaultCommandFormat : format, target);
  std::string problem;
  if (!formatted.Error.empty()) {
    if (!FFormatErrorShown) {
      FFormatErrorShown = true;
      problem = "The command format '" + format + "' cannot be used: it has " + formatted.Error +
                ". The command is sent as '" + std::string(kDefaultCommandFormat) + "'";
    }
    formatted = FormatCommand(kDefaultCommandFormat, target);
  }
  const TSendResult result = SendClientCommand(formatted.Text, *s_.Config, *s_.Client, *s_.Messages);
  const std::string undelivered = DeliveryProblem(formatted.Text, result);
  if (!undelivered.empty()) problem += (problem.empty() ? "" : ".\n\n") + undelivered;
  FTravelProblem = std::move(problem);
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
