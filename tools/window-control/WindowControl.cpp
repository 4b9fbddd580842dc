// window-control: lets scripts outside Wine wait for, measure and close a
// program's top-level window by its class and title, through the same window
// system the program uses. Run under Wine:
//   window-control wait CLASS TITLE SECONDS   exit 0 once the window is shown and idle
//   window-control rect CLASS TITLE           prints "left top width height"
//   window-control close CLASS TITLE          asks the window to close, as its close box does
//   window-control box CAPTION SECONDS        waits for a message box, prints its text, presses OK
//   window-control command CLASS TITLE N      chooses the program's system menu command N
// With "--in FOLDER" first, only the windows of programs started from FOLDER
// (a Windows or a Unix path) count, so that other programs' windows of the
// same name, in tests that run alongside, are left alone.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The folder the windows' programs must lie in, in lower case; empty: any.
char g_folder[MAX_PATH] = "";

bool InFolder(HWND window) {
  if (!g_folder[0]) return true;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return false;
  char image[MAX_PATH] = "";
  DWORD size = sizeof image;
  const bool named = QueryFullProcessImageNameA(process, 0, image, &size);
  CloseHandle(process);
  CharLowerA(image);
  return named && std::strncmp(image, g_folder, std::strlen(g_folder)) == 0;
}

HWND Find(const char* cls, const char* title) {
  for (HWND window = FindWindowExA(nullptr, nullptr, cls, title); window;
       window = FindWindowExA(nullptr, window, cls, title))
    if (InFolder(window)) return window;
  return nullptr;
}

// The folder as Windows names it, with its separator at the end.
void SetFolder(const char* folder) {
  using ToDos = WCHAR*(CDECL*)(const char*);
  auto toDos = reinterpret_cast<ToDos>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_dos_file_name")));
  WCHAR* dos = folder[0] == '/' && toDos ? toDos(folder) : nullptr;
  if (dos) {
    WideCharToMultiByte(CP_ACP, 0, dos, -1, g_folder, sizeof g_folder - 1, nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, dos);
  } else {
    std::snprintf(g_folder, sizeof g_folder - 1, "%s", folder);
  }
  const size_t length = std::strlen(g_folder);
  if (length && g_folder[length - 1] != '\\') std::strcat(g_folder, "\\");
  CharLowerA(g_folder);
}

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

// The box's text comes from its static control (id 0xFFFF), asked for by
// message: another process's windows do not give their text otherwise.
int Box(const char* caption, int seconds) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < static_cast<DWORD>(seconds) * 1000; Sleep(100)) {
    HWND box = Find("#32770", caption);
    if (!box || !IsWindowVisible(box)) continue;
    char text[1024] = "";
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(box, 0xFFFF), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &ignored);
    std::printf("%s\n", text);
    return PostMessageA(box, WM_COMMAND, IDOK, 0) ? 0 : 1;
  }
  std::fprintf(stderr, "no box \"%s\" within %d seconds\n", caption, seconds);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--in") == 0) {
    SetFolder(argv[2]);
    argc -= 2;
    argv += 2;
  }
  if (argc >= 5 && std::strcmp(argv[1], "wait") == 0) return Wait(argv[2], argv[3], std::atoi(argv[4]));
  if (argc == 4 && std::strcmp(argv[1], "rect") == 0) return Rect(argv[2], argv[3]);
  if (argc == 4 && std::strcmp(argv[1], "close") == 0) return Close(argv[2], argv[3]);
  if (argc == 4 && std::strcmp(argv[1], "box") == 0) return Box(argv[2], std::atoi(argv[3]));
  if (argc == 5 && std::strcmp(argv[1], "command") == 0) {
    HWND window = Find(argv[2], argv[3]);
    // The program's command n is its menu item n * 16 (ui/win32/SystemMenu.h).
    return window && PostMessageA(window, WM_SYSCOMMAND, static_cast<WPARAM>(std::atoi(argv[4])) << 4, 0) ? 0 : 1;
  }
  std::fprintf(stderr, "usage: window-control [--in FOLDER] wait|rect|close|command CLASS TITLE [SECONDS|N] | box CAPTION SECONDS\n");
  return 2;
}
