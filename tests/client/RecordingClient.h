#pragma once
// Runs tools/recording-client as a stand-in game client and reads back what
// its window received.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace wf::testing {

struct LoggedMessage {
  uint32_t Message;
  uint64_t WParam;
  int64_t LParam;
};

class RecordingClient {
 public:
  // Starts the client with a window of `className` that logs to `logFile`, and
  // waits until its window exists. Check Window() for success.
  RecordingClient(const std::string& className, const std::string& logFile,
                  const std::string& extraArguments = "");

  HWND Window() const { return FWindow; }
  bool Running() const { return FProcess.Running(); }

  // Asks the client to close and waits for it to end. False when it did not.
  bool Close();
  bool WaitForExit(DWORD milliseconds) const { return FProcess.WaitForExit(milliseconds); }

  // Everything logged so far.
  std::vector<LoggedMessage> Messages() const;
  // The first parameters of the WM_CHAR messages, each checked to carry 0 as
  // its second parameter (a non-zero one is returned as -1 in its place).
  std::vector<int64_t> Characters() const;

 private:
  std::string FLogFile;
  ChildProcess FProcess;
  HWND FWindow = nullptr;
};

}  // namespace wf::testing
