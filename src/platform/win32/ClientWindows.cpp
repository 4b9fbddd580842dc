#include "platform/win32/ClientWindows.h"

#include <windows.h>

namespace wf::platform {

IClientWindows::Handle Win32ClientWindows::FindWindowByClass(const std::string& className) {
  return reinterpret_cast<Handle>(FindWindowA(className.c_str(), nullptr));
}

IClientWindows::Handle Win32ClientWindows::FindWindowByClassAndTitle(const char* className,
                                                                    const char* title) {
  return reinterpret_cast<Handle>(FindWindowA(className, title));
}

namespace {

struct TEnumState {
  const std::string* ClassName;
  std::vector<IClientWindows::TTopWindow>* Found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM state) {
  const TEnumState& s = *reinterpret_cast<const TEnumState*>(state);
  char name[256] = "";
  if (GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, s.ClassName->c_str()) == 0) {
    char title[512] = "";
    GetWindowTextA(window, title, sizeof title);
    s.Found->push_back({reinterpret_cast<IClientWindows::Handle>(window), title});
  }
  return TRUE;
}

}  // namespace

// EnumWindows goes through the top-level windows from the top of the window
// order down.
std::vector<IClientWindows::TTopWindow> Win32ClientWindows::WindowsOfClass(const std::string& className) {
  std::vector<TTopWindow> found;
  TEnumState state{&className, &found};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
  return found;
}

TSendOutcome Win32ClientWindows::Send(Handle window, uint32_t message, uintptr_t wParam,
                                      intptr_t lParam, uint32_t timeoutMs, intptr_t* reply) {
  // Plain SendMessage would wait for ever on a client that stopped taking
  // messages, and the map window would freeze with it. SMTO_BLOCK keeps our own
  // window procedures from being re-entered while we wait; SMTO_ABORTIFHUNG
  // gives up at once on a client Windows already knows to be hung, and
  // SMTO_ERRORONEXIT as soon as the client's thread ends.
  HWND target = reinterpret_cast<HWND>(window);
  DWORD_PTR result = 0;
  SetLastError(ERROR_SUCCESS);
  const LRESULT handled =
      SendMessageTimeoutA(target, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam),
                          SMTO_BLOCK | SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, timeoutMs, &result);
  if (handled) {
    if (reply) *reply = static_cast<intptr_t>(result);
    return TSendOutcome::Handled;
  }
  const DWORD error = GetLastError();
  // A program with normal rights may not send to one running as administrator:
  // the message is dropped and the call fails with "access denied".
  if (error == ERROR_ACCESS_DENIED) return TSendOutcome::Refused;
  if (error == ERROR_INVALID_WINDOW_HANDLE || !IsWindow(target)) return TSendOutcome::Gone;
  return TSendOutcome::TimedOut;
}

uint64_t Win32ClientWindows::NowMs() { return GetTickCount64(); }

}  // namespace wf::platform

namespace wf::platform {

void Win32ClientWindows::BringToFront(Handle window) {
  HWND target = reinterpret_cast<HWND>(window);
  // A minimised window would come to the front as an icon, taking no text.
  if (IsIconic(target)) ShowWindow(target, SW_RESTORE);
  SetForegroundWindow(target);
}

IClientWindows::Handle Win32ClientWindows::ForegroundWindow() {
  return reinterpret_cast<Handle>(GetForegroundWindow());
}

void Win32ClientWindows::Pause(uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace wf::platform
