#include "ui/win32/MessageLoop.h"

#include <windows.h>

#include "ui/win32/MapWindow.h"

namespace wf::ui::win32 {

namespace {

void Handle(TMapWindow& window, MSG& message) {
  if (window.PreTranslate(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

int RunMessageLoop(TMapWindow& window) {
  MSG message;
  for (;;) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    Handle(window, message);
  }
}

void ProcessPendingMessages(TMapWindow& window) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Left for the loop that owns the program's end.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Handle(window, message);
  }
}

}  // namespace wf::ui::win32
