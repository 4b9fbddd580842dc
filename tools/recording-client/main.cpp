// recording-client CLASSNAME LOGFILE [--title TITLE] [--hang | --close-after N]
//                  [--hidden] [--sdl] [--assistant POSITIONFILE]
//
// Stands in for the game client in tests: a top-level window of the given class
// that writes every message it receives to LOGFILE, one line each, as
// "message wParam lParam" in decimal, flushed at once so a reader sees every
// message handled so far even while this program hangs or after it is killed.
// It ends on WM_CLOSE. With --hang it stops answering at the first WM_CHAR
// (after logging it), which is how a frozen client looks to the sender; with
// --close-after it goes away after its Nth WM_CHAR, as a client that is
// closed in the middle of a command. --hidden keeps the window hidden.
//
// --sdl makes it take input as the open client does, and log only what it
// takes: WM_CHAR text only while its window is the foreground window and no
// control characters, key-ups only after their key-down.
//
// --assistant adds the assistants' hidden message window (class and title
// "UOASSIST-TP-MSG-WND"). It registers windows, answers the player's position
// from POSITIONFILE ("X Y" or "X Y MAP"; missing or empty: no player), read
// anew for every question, and names the client window. When the file names a
// map other than the one it last saw, it posts the map change to every
// registered window. Its messages are logged too.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT kAssistantRegister = WM_USER + 200;
constexpr UINT kAssistantPosition = WM_USER + 202;
constexpr UINT kAssistantClientWindow = WM_USER + 213;
constexpr UINT kAssistantMapChanged = WM_USER + 313;
constexpr char kAssistantName[] = "UOASSIST-TP-MSG-WND";

FILE* gLog = nullptr;
bool gHang = false;
bool gSdl = false;
long gCloseAfter = -1;
long gCharacters = 0;
WPARAM gKeyDown = 0;  // the key pressed and not yet released, or 0
HWND gClientWindow = nullptr;
std::string gPositionFile;
std::vector<WPARAM> gRegistered;
long gLastMap = -1;

void Log(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!gLog) return;
  std::fprintf(gLog, "%u %llu %lld\n", message, static_cast<unsigned long long>(wParam),
               static_cast<long long>(lParam));
  std::fflush(gLog);
}

// What the open client does with a message: whether it takes it.
bool SdlTakes(HWND window, UINT message, WPARAM wParam) {
  switch (message) {
    case WM_CHAR: return GetForegroundWindow() == window && wParam >= 32;
    case WM_KEYDOWN: gKeyDown = wParam; return true;
    case WM_KEYUP: {
      const bool paired = gKeyDown == wParam;
      gKeyDown = 0;
      return paired;
    }
  }
  return false;
}

LRESULT CALLBACK RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!gSdl || SdlTakes(window, message, wParam)) Log(message, wParam, lParam);
  switch (message) {
    case WM_CHAR:
      if (gHang) Sleep(INFINITE);
      if (++gCharacters == gCloseAfter) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT AnswerPosition() {
  long x = 0, y = 0, map = -1;
  if (FILE* f = std::fopen(gPositionFile.c_str(), "r")) {
    if (std::fscanf(f, "%ld %ld %ld", &x, &y, &map) < 2) x = y = 0;
    std::fclose(f);
  }
  if (map >= 0 && map != gLastMap) {
    gLastMap = map;
    for (WPARAM registered : gRegistered)
      PostMessageA(reinterpret_cast<HWND>(registered), kAssistantMapChanged, static_cast<WPARAM>(map), 0);
  }
  return static_cast<LRESULT>(static_cast<int32_t>((x & 0xFFFF) | ((y & 0xFFFF) << 16)));
}

LRESULT CALLBACK AssistantWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kAssistantRegister: {
      Log(message, wParam, lParam);
      auto it = std::find(gRegistered.begin(), gRegistered.end(), wParam);
      if (it != gRegistered.end()) {
        gRegistered.erase(it);
        return 2;
      }
      gRegistered.push_back(wParam);
      return 1;
    }
    case kAssistantPosition:
      Log(message, wParam, lParam);
      return AnswerPosition();
    case kAssistantClientWindow:
      Log(message, wParam, lParam);
      return static_cast<LRESULT>(static_cast<int32_t>(reinterpret_cast<uintptr_t>(gClientWindow)));
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int Usage() {
  std::fprintf(stderr,
               "usage: recording-client CLASSNAME LOGFILE [--title TITLE] [--hang | --close-after N]\n"
               "                        [--hidden] [--sdl] [--assistant POSITIONFILE]\n");
  return 2;
}

bool Register(const char* className, WNDPROC procedure, HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = className;
  if (RegisterClassA(&windowClass)) return true;
  std::fprintf(stderr, "recording-client: cannot register class %s\n", className);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const char* className = argv[1];
  const char* logFile = argv[2];
  std::string title;
  bool assistant = false;
  bool hidden = false;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--hang") == 0) {
      gHang = true;
    } else if (std::strcmp(argv[i], "--hidden") == 0) {
      hidden = true;
    } else if (std::strcmp(argv[i], "--sdl") == 0) {
      gSdl = true;
    } else if (std::strcmp(argv[i], "--close-after") == 0 && i + 1 < argc) {
      gCloseAfter = std::strtol(argv[++i], nullptr, 10);
      if (gCloseAfter < 1) return Usage();
    } else if (std::strcmp(argv[i], "--title") == 0 && i + 1 < argc) {
      title = argv[++i];
    } else if (std::strcmp(argv[i], "--assistant") == 0 && i + 1 < argc) {
      assistant = true;
      gPositionFile = argv[++i];
    } else {
      return Usage();
    }
  }

  gLog = std::fopen(logFile, "w");
  if (!gLog) {
    std::fprintf(stderr, "recording-client: cannot write %s\n", logFile);
    return 1;
  }

  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!Register(className, RecordingWindowProc, instance)) return 1;
  HWND window = CreateWindowExA(0, className, title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 320,
                                200, nullptr, nullptr, instance, nullptr);
  if (!window) {
    std::fprintf(stderr, "recording-client: cannot create the window\n");
    return 1;
  }
  gClientWindow = window;
  if (assistant) {
    if (!Register(kAssistantName, AssistantWindowProc, instance)) return 1;
    // Hidden and top-level, as the client makes it.
    if (!CreateWindowExA(0, kAssistantName, kAssistantName, 0, 0, 0, 0, 0, nullptr, nullptr,
                         instance, nullptr)) {
      std::fprintf(stderr, "recording-client: cannot create the assistant window\n");
      return 1;
    }
  }
  if (!hidden) ShowWindow(window, SW_SHOWNOACTIVATE);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  std::fclose(gLog);
  return 0;
}
