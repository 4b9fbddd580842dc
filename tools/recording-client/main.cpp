// recording-client CLASSNAME LOGFILE [--title TITLE] [--hang | --close-after N]
//
// Stands in for the game client in tests: a top-level window of the given class
// that writes every message it receives to LOGFILE, one line each, as
// "message wParam lParam" in decimal, flushed at once so a reader sees every
// message handled so far even while this program hangs or after it is killed.
// It ends on WM_CLOSE. With --hang it stops answering at the first WM_CHAR
// (after logging it), which is how a frozen client looks to the sender; with
// --close-after it goes away after its Nth WM_CHAR, as a client that is
// closed in the middle of a command.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

FILE* gLog = nullptr;
bool gHang = false;
long gCloseAfter = -1;
long gCharacters = 0;

LRESULT CALLBACK RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gLog) {
    std::fprintf(gLog, "%u %llu %lld\n", message, static_cast<unsigned long long>(wParam),
                 static_cast<long long>(lParam));
    std::fflush(gLog);
  }
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

int Usage() {
  std::fprintf(stderr,
               "usage: recording-client CLASSNAME LOGFILE [--title TITLE] [--hang | --close-after N]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const char* className = argv[1];
  const char* logFile = argv[2];
  std::string title;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--hang") == 0) {
      gHang = true;
    } else if (std::strcmp(argv[i], "--close-after") == 0 && i + 1 < argc) {
      gCloseAfter = std::strtol(argv[++i], nullptr, 10);
      if (gCloseAfter < 1) return Usage();
    } else if (std::strcmp(argv[i], "--title") == 0 && i + 1 < argc) {
      title = argv[++i];
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
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = RecordingWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = className;
  if (!RegisterClassA(&windowClass)) {
    std::fprintf(stderr, "recording-client: cannot register class %s\n", className);
    return 1;
  }
  HWND window = CreateWindowExA(0, className, title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 320,
                                200, nullptr, nullptr, instance, nullptr);
  if (!window) {
    std::fprintf(stderr, "recording-client: cannot create the window\n");
    return 1;
  }
  ShowWindow(window, SW_SHOWNOACTIVATE);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  std::fclose(gLog);
  return 0;
}
