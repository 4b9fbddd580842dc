#include "platform/win32/CrashHandler.h"

#include <windows.h>
// After windows.h, which it needs.
#include <dbghelp.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "platform/CrashReports.h"

namespace wf::platform {

namespace {

// Kept from installation on, so writing the report needs no heap: a fault may
// have broken it. Empty when the folder's path does not fit.
char g_folder[MAX_PATH];
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
std::atomic<bool> g_crashing{false};

// The C++ runtime raises its throws as exceptions of this family and relies
// on the start-up code's filter to hand an uncaught one back, so that it can
// call std::terminate itself (where the report is then written).
constexpr DWORD kGccExceptionMask = 0x20FFFFFF;
constexpr DWORD kGccException = (1U << 29) | ('G' << 16) | ('C' << 8) | 'C';

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);

void SystemErrorText(DWORD error, char* out, size_t size) {
  const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  DWORD n = FormatMessageA(flags, nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), out,
                           static_cast<DWORD>(size), nullptr);
  if (n == 0) n = FormatMessageA(flags, nullptr, error, 0, out, static_cast<DWORD>(size), nullptr);
  if (n == 0) std::snprintf(out, size, "system error %lu", error);
  // Without the line end and the full stop the system ends its texts with.
  for (size_t len = std::strlen(out); len > 0 && std::strchr("\r\n .", out[len - 1]); --len) out[len - 1] = 0;
}

// Where the report goes: into `folder` beside the program, or, where its path
// is too long for a report's name, the temporary folder. Both MAX_PATH long.
struct TReportPlace {
  char folder[MAX_PATH] = "";
  char path[MAX_PATH] = "";
  bool temporary = false;
};

// Writes the minidump named `name` into `place`; on failure `failure` says
// why. Uses no heap of this program.
bool WriteReport(EXCEPTION_POINTERS* fault, const char* name, TReportPlace& place, char* failure,
                 size_t failureSize) {
  std::snprintf(place.folder, MAX_PATH, "%s", g_folder);
  if (!g_folder[0] || !JoinReportPath(place.path, MAX_PATH, place.folder, name)) {
    place.temporary = true;
    const DWORD length = GetTempPathA(MAX_PATH, place.folder);
    if (length == 0 || length >= MAX_PATH || !JoinReportPath(place.path, MAX_PATH, place.folder, name)) {
      std::snprintf(failure, failureSize, "the paths of the program's folder and of the temporary folder are too long "
                                          "for a report's name");
      return false;
    }
  }
  char* const path = place.path;

  // From the system's own folder only, never one a downloaded file lies in.
  char library[MAX_PATH];
  const UINT length = GetSystemDirectoryA(library, MAX_PATH);
  std::snprintf(library + length, MAX_PATH - length, "\\dbghelp.dll");
  HMODULE dbghelp = LoadLibraryA(library);
  auto write = dbghelp ? reinterpret_cast<MiniDumpWriteDumpFn>(
                             reinterpret_cast<void*>(GetProcAddress(dbghelp, "MiniDumpWriteDump")))
                       : nullptr;
  if (!write) {
    std::snprintf(failure, failureSize, "the system's dbghelp.dll, which writes it, is missing");
    return false;
  }
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    char reason[256];
    SystemErrorText(GetLastError(), reason, sizeof reason);
    std::snprintf(failure, failureSize, "%s could not be created (%s)", path, reason);
    return false;
  }
  MINIDUMP_EXCEPTION_INFORMATION where{GetCurrentThreadId(), fault, FALSE};
  const BOOL written = write(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal,
                             fault ? &where : nullptr, nullptr, nullptr);
  const DWORD error = GetLastError();
  CloseHandle(file);
  if (!written) {
    char reason[256];
    SystemErrorText(error, reason, sizeof reason);
    std::snprintf(failure, failureSize, "writing %s failed (%s)", path, reason);
    DeleteFileA(path);  // half a report helps nobody
    return false;
  }
  return true;
}

void RemoveOldReports(const std::string& folder, const char* justWritten) {
  std::vector<TFolderEntry> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "wayfarer-crash-*.dmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      files.push_back({found.cFileName, (uint64_t{found.ftLastWriteTime.dwHighDateTime} << 32) |
                                            found.ftLastWriteTime.dwLowDateTime});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  for (const std::string& name : CrashReportsToRemove(std::move(files), justWritten))
    DeleteFileA((folder + name).c_str());
}

// The report, the pruning and the box, once per process; the caller ends it.
void ReportCrash(EXCEPTION_POINTERS* fault, const std::string& what) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char name[kCrashReportNameSize];
  FormatCrashReportName(name, now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
  TReportPlace place;
  char failure[MAX_PATH + 300] = "";
  if (WriteReport(fault, name, place, failure, sizeof failure)) RemoveOldReports(place.folder, name);
  const std::string text = CrashBoxText(what, place.path, failure, place.temporary);
  MessageBoxA(nullptr, text.c_str(), "wayfarer", MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

LONG WINAPI OnUnhandledFault(EXCEPTION_POINTERS* fault) {
  const DWORD code = fault->ExceptionRecord->ExceptionCode;
  if ((code & kGccExceptionMask) == kGccException && !(fault->ExceptionRecord->ExceptionFlags & EXCEPTION_NONCONTINUABLE))
    return g_previousFilter ? g_previousFilter(fault) : EXCEPTION_CONTINUE_EXECUTION;
  // A fault while reporting one ends the process as it would have ended.
  if (g_crashing.exchange(true)) return EXCEPTION_EXECUTE_HANDLER;
  ReportCrash(fault, FaultDescription(code));
  return EXCEPTION_EXECUTE_HANDLER;
}

[[noreturn]] void OnTerminate() {
  if (!g_crashing.exchange(true)) {
    std::string what = "an error that nothing handled";
    try {
      if (std::exception_ptr error = std::current_exception()) std::rethrow_exception(error);
    } catch (const std::exception& e) {
      what += " (" + std::string(e.what()) + ")";
    } catch (...) {
    }
    ReportCrash(nullptr, what);
  }
  // Nothing else runs: no handler that could write a file half-way.
  TerminateProcess(GetCurrentProcess(), 3);
  std::abort();
}

}  // namespace

void InstallCrashHandler(const std::string& folder) {
  if (folder.size() < sizeof g_folder)
    std::memcpy(g_folder, folder.c_str(), folder.size() + 1);
  else
    g_folder[0] = '\0';
  // Room on the stack to report a stack overflow from.
  ULONG reserve = 64 * 1024;
  SetThreadStackGuarantee(&reserve);
  g_previousFilter = SetUnhandledExceptionFilter(OnUnhandledFault);
  std::set_terminate(OnTerminate);
}

}  // namespace wf::platform
