#include "platform/win32/ClientWindows.h"

#include <windows.h>

namespace wf::platform {

IClientWindows::Handle Win32ClientWindows::FindWindowByClass(const std::string& className) {
  return reinterpret_cast<Handle>(FindWindowA(className.c_str(), nullptr));
}

bool Win32ClientWindows::SendChar(Handle window, uint8_t code) {
  // Plain SendMessage would wait for ever on a client that stopped taking
  // messages, and the map window would freeze with it. SMTO_BLOCK keeps our own
  // window procedures from being re-entered while we wait; SMTO_ABORTIFHUNG
  // gives up at once on a client Windows already knows to be hung, and
  // SMTO_ERRORONEXIT as soon as the client's thread ends.
  DWORD_PTR result = 0;
  LRESULT delivered =
      SendMessageTimeoutA(reinterpret_cast<HWND>(window), WM_CHAR, static_cast<WPARAM>(code), 0,
                          SMTO_BLOCK | SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, FSendTimeoutMs, &result);
  return delivered != 0;
}

}  // namespace wf::platform
