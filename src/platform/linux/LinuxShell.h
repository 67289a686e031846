#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Shell.h"

namespace platform {

// What a built-in program gets when it runs.
class BuiltinContext {
 public:
  virtual ~BuiltinContext() = default;
  // The parameters, split with the Windows rules.
  virtual const std::vector<std::string>& Arguments() const = 0;
  // The folder it runs in; never empty.
  virtual const std::string& WorkingDir() const = 0;
  virtual bool Hidden() const = 0;
  // Appends to the process's captured output (dropped without captureOutput).
  virtual void Output(std::string_view text) = 0;
  // True once the process was killed; a built-in that waits gives up then.
  virtual bool Killed() const = 0;
  // The shell the built-in starts and kills other programs through.
  virtual Shell& Through() = 0;
  // Starts a program through Through() as this process's child and waits for
  // it, passing its output on; killing this process kills that child. Its
  // exit code, or nullopt when it cannot be started.
  virtual std::optional<std::uint32_t> RunChild(const StartRequest& request) = 0;
};

// Returns the exit code. Runs on a thread of its own.
using Builtin = std::function<std::uint32_t(BuiltinContext& context)>;

// Starts real programs with posix_spawn in a session of their own, so they
// outlive this program, and serves built-in programs and batch files itself.
//
// - A relative file is taken from workingDir (else the current folder); a
//   name ending in ".exe" that does not exist is run without it. argv[0] is
//   the file as asked for, so a program started as "tool.exe" is listed with
//   the image name "tool.exe".
// - Built-ins are matched by file name in any folder without regard to letter
//   case (with or without ".exe"); ".bat" and ".cmd" files run through the
//   batch interpreter. Both look like processes: a pid above every real one,
//   a place in Processes(), exit code 259 while running, killable.
// - Exit code: the exit status; a process ended by signal N gives 128 + N (a
//   killed built-in gives 128 + SIGKILL, 137). Ended children are reaped with
//   waitpid(WNOHANG) when polled, and those whose handle was dropped at the
//   next call of the shell, so none stays a zombie.
// - KillByImageName sends SIGKILL; never to this process itself nor to the
//   built-in that asks.
class LinuxShell : public Shell {
 public:
  enum class Scope {
    Machine,      // every process of the machine
    Descendants,  // only this program's own descendants (the simulated PC)
  };

  // `front` is the shell built-ins start and kill through; this one when null.
  explicit LinuxShell(Scope scope = Scope::Machine, Shell* front = nullptr);
  ~LinuxShell() override;
  LinuxShell(const LinuxShell&) = delete;
  LinuxShell& operator=(const LinuxShell&) = delete;

  std::shared_ptr<ChildProcess> Start(const StartRequest& request) override;
  std::vector<ProcessEntry> Processes() override;
  int KillByImageName(const std::string& imageName, bool tree) override;

  // Serves `name` ("diskpart.exe") with `builtin` from now on.
  void RegisterBuiltin(const std::string& name, Builtin builtin);

  // Kills the running built-ins and waits for their threads. An owner that is
  // the front shell calls it before it goes away.
  void StopBuiltins();

  struct Core;

 private:
  std::shared_ptr<Core> core_;
};

// True when two image names are the same program: letter case ignored, a
// trailing ".exe" on either side ignored.
bool SameImageName(const std::string& a, const std::string& b);

}  // namespace platform
