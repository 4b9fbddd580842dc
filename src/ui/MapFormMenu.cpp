#include "ui/MapForm.h"
#include "ui/MenuCommands.h"

namespace wf::ui {

void TMapForm::AddMenuCommands() {
  c_.Menu.AddCommand(cmShowPlayer, "Show player");
  c_.Menu.SetChecked(cmShowPlayer, FShowPlayer);
  c_.Menu.AddCommand(cmFollowPlayer, "Follow player");
  c_.Menu.SetChecked(cmFollowPlayer, FFollowPlayer);
}

void TMapForm::SystemCommand(int command) {
  switch (command) {
    case cmShowPlayer: ToggleShowPlayer(); break;
    case cmFollowPlayer: ToggleFollowPlayer(); break;
    default: break;
  }
}

}  // namespace wf::ui
