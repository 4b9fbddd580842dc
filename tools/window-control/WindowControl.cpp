// window-control: lets scripts outside Wine wait for, measure and close a
// program's top-level window by its class and title, through the same window
// system the program uses. Run under Wine:
//   window-control wait CLASS TITLE SECONDS   exit 0 once the window is shown and idle
//   window-control rect CLASS TITLE           prints "left top width height"
//   window-control close CLASS TITLE          asks the window to close, as its close box does

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND Find(const char* cls, const char* title) { return FindWindowA(cls, title); }

int Wait(const char* cls, const char* title, int seconds) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < static_cast<DWORD>(seconds) * 1000; Sleep(100)) {
    HWND window = Find(cls, title);
    DWORD_PTR ignored = 0;
    // Idle: it has handled its queue, so its first painting is done.
    if (window && IsWindowVisible(window) &&
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored))
      return 0;
  }
  std::fprintf(stderr, "no window \"%s\" of class %s within %d seconds\n", title, cls, seconds);
  return 1;
}

int Rect(const char* cls, const char* title) {
  HWND window = Find(cls, title);
  RECT r{};
  if (!window || !GetWindowRect(window, &r)) return 1;
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return 0;
}

int Close(const char* cls, const char* title) {
  HWND window = Find(cls, title);
  if (!window) return 1;
  return PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 5 && std::strcmp(argv[1], "wait") == 0) return Wait(argv[2], argv[3], std::atoi(argv[4]));
  if (argc == 4 && std::strcmp(argv[1], "rect") == 0) return Rect(argv[2], argv[3]);
  if (argc == 4 && std::strcmp(argv[1], "close") == 0) return Close(argv[2], argv[3]);
  std::fprintf(stderr, "usage: window-control wait|rect|close CLASS TITLE [SECONDS]\n");
  return 2;
}
