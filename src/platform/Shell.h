#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Exit code of a process that is still running.
inline constexpr std::uint32_t kStillActive = 259;

struct StartRequest {
  std::string file;            // program, batch file or document; relative to workingDir
  std::string parameters;      // one command-line text, split with the Windows rules
  std::string workingDir;      // empty: the program's current folder
  bool hide = false;           // start without showing a window
  bool captureOutput = false;  // standard output and error into ReadOutput()
};

class ChildProcess {
 public:
  virtual ~ChildProcess() = default;
  virtual std::int64_t Pid() const = 0;
  // kStillActive while the process runs, then its exit code.
  virtual std::uint32_t ExitCode() = 0;
  // Waits at most `timeout` for the end; true when the process has ended.
  virtual bool WaitFor(std::chrono::milliseconds timeout) = 0;
  // Output captured since the last call (empty without captureOutput).
  virtual std::string ReadOutput() = 0;
};

struct ProcessEntry {
  std::int64_t pid = 0;
  std::int64_t parentPid = 0;
  std::string imageName;  // file name of the program, as "CmdDloader.exe"
};

// Starts and stops programs. A name ending in ".exe" that does not exist is
// tried without it; ".bat" files run through a small interpreter of our own
// (one command line per line); "taskkill.exe" and the other system programs
// the wizard uses are served by implementations of our own.
class Shell {
 public:
  virtual ~Shell() = default;
  // nullptr when the program cannot be started.
  virtual std::shared_ptr<ChildProcess> Start(const StartRequest& request) = 0;
  virtual std::vector<ProcessEntry> Processes() = 0;
  // Kills every process whose image name matches (without regard to letter
  // case, with or without ".exe"), with its children when `tree`; returns how
  // many were killed.
  virtual int KillByImageName(const std::string& imageName, bool tree) = 0;
};

}  // namespace platform
