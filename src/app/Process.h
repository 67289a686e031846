#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/Shell.h"
#include "platform/Wmi.h"

namespace app {

// Exit code of a program that could not be started, and the value of the
// exit code before any start.
inline constexpr std::uint32_t kNotStarted = 999;

// Waits about `Milliseconds` on `clock`, running `pumpEvents` at least every
// 10 ms so that the window stays alive. Zero or less returns at once.
void Delay(platform::Clock& clock, int Milliseconds, const std::function<void()>& pumpEvents);

// Starts a program and waits for its end. `ExitCode` is the caller's exit
// code field: 999 first, then the code read after each `wait(1000)`, until
// the program has ended or `terminating()` is true (the code is then 259).
// A program that cannot be started yields 999 at once.
std::uint32_t ExecuteAndWait(std::uint32_t& ExitCode, platform::Shell& shell,
                             const std::string& FileName, const std::string& RunParameters,
                             const std::string& WorkingDir, bool Hide,
                             const std::function<void(int milliseconds)>& wait,
                             const std::function<bool()>& terminating);

// Starts a program without waiting for it; `ExitCode` := 999, the result.
std::uint32_t ExecuteNoWait(std::uint32_t& ExitCode, platform::Shell& shell,
                            const std::string& FileName, const std::string& RunParameters,
                            const std::string& WorkingDir, bool Hide);

// Kills the vendor flashing tools and their children with four hidden
// "taskkill.exe" runs, not awaited.
void KillRewriters(platform::Shell& shell);

// True when the upper-cased `exeFileName` occurs in the captions of the
// running processes, upper-cased and joined without separators. A failing
// query counts as no process.
bool processExists(const std::shared_ptr<platform::Wmi>& wmi, const std::string& exeFileName);

}  // namespace app
