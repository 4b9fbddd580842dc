#include "ui/MapForm.h"
#include "ui/MenuCommands.h"

namespace wf::ui {

void TMapForm::AddMenuCommands() {}

void TMapForm::SystemCommand(int command) {
  switch (command) {
    default: break;
  }
}

}  // namespace wf::ui
