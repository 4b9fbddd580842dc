#include "RecordingClient.h"

#include <fstream>
#include <sstream>

namespace wf::testing {

RecordingClient::RecordingClient(const std::string& className, const std::string& logFile,
                                 const std::string& extraArguments)
    : FLogFile(logFile),
      FProcess(L"\"" + WindowsPathOf(RECORDING_CLIENT_EXE) + L"\" \"" + Widened(className) +
               L"\" \"" + Widened(logFile) + L"\" " + Widened(extraArguments)) {
  // Wine gives the process hidden windows of its own (the input method's, for
  // one), so the client's is told by its class.
  FWindow = FProcess.WaitForWindow(
      [&className](HWND window) {
        char name[256] = "";
        GetClassNameA(window, name, sizeof name);
        return className == name;
      },
      20000);
}

bool RecordingClient::Close() {
  if (!Running()) return false;
  PostMessageA(FWindow, WM_CLOSE, 0, 0);
  return FProcess.WaitForExit(10000);
}

std::vector<LoggedMessage> RecordingClient::Messages() const {
  std::vector<LoggedMessage> messages;
  std::ifstream in(FLogFile);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    LoggedMessage m{};
    if (fields >> m.Message >> m.WParam >> m.LParam) messages.push_back(m);
  }
  return messages;
}

std::vector<int64_t> RecordingClient::Characters() const {
  std::vector<int64_t> codes;
  for (const LoggedMessage& m : Messages())
    if (m.Message == WM_CHAR) codes.push_back(m.LParam == 0 ? static_cast<int64_t>(m.WParam) : -1);
  return codes;
}

}  // namespace wf::testing
