#include "app/Process.h"

#include <algorithm>
#include <exception>

#include "app/WMI.h"

namespace app {

namespace {

std::string AsciiUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return text;
}

std::shared_ptr<platform::ChildProcess> Start(platform::Shell& shell, const std::string& FileName,
                                              const std::string& RunParameters,
                                              const std::string& WorkingDir, bool Hide) {
  try {
    return shell.Start({.file = FileName,
                        .parameters = RunParameters,
                        .workingDir = WorkingDir,
                        .hide = Hide,
                        .captureOutput = false});
  } catch (const std::exception&) {
    return nullptr;
  }
}

}  // namespace

void Delay(platform::Clock& clock, int Milliseconds, const std::function<void()>& pumpEvents) {
  // Unsigned arithmetic with a signed difference survives the wrap at 2^32.
  const std::uint32_t end = clock.TickCount() + static_cast<std::uint32_t>(Milliseconds);
  for (;;) {
    const auto remaining = static_cast<std::int32_t>(end - clock.TickCount());
    if (remaining <= 0) {
      return;
    }
    if (pumpEvents) {
      pumpEvents();
    }
    clock.Sleep(std::chrono::milliseconds(std::min<std::int32_t>(remaining, 10)));
  }
}

std::uint32_t ExecuteAndWait(std::uint32_t& ExitCode, platform::Shell& shell,
                             const std::string& FileName, const std::string& RunParameters,
                             const std::string& WorkingDir, bool Hide,
                             const std::function<void(int milliseconds)>& wait,
                             const std::function<bool()>& terminating) {
  ExitCode = kNotStarted;
  const auto child = Start(shell, FileName, RunParameters, WorkingDir, Hide);
  if (!child) {
    return kNotStarted;
  }
  do {
    wait(1000);
    ExitCode = child->ExitCode();
  } while (ExitCode == platform::kStillActive && !terminating());
  return ExitCode;
}

std::uint32_t ExecuteNoWait(std::uint32_t& ExitCode, platform::Shell& shell,
                            const std::string& FileName, const std::string& RunParameters,
                            const std::string& WorkingDir, bool Hide) {
  ExitCode = kNotStarted;
  Start(shell, FileName, RunParameters, WorkingDir, Hide);
  return kNotStarted;
}

void KillRewriters(platform::Shell& shell) {
  // The kills are not awaited, so their exit code says nothing.
  std::uint32_t exitCode = kNotStarted;
  for (const char* tool :
       {"UpgradeDownload.exe", "CmdDloader.exe", "AndroidConsoleTool.exe", "FactoryTool.exe"}) {
    ExecuteNoWait(exitCode, shell, "taskkill.exe", std::string("/T /F /IM ") + tool, "", true);
  }
}

bool processExists(const std::shared_ptr<platform::Wmi>& wmi, const std::string& exeFileName) {
  std::string captions;
  try {
    TWMI service(wmi);
    const auto query = service.CreateQuery("SELECT Caption FROM Win32_Process");
    while (query->Next()) {
      captions += AsciiUpper(query->Value("Caption"));
    }
  } catch (const platform::WmiError&) {
  }
  // An empty name is never found, as a search for an empty text finds nothing.
  return !exeFileName.empty() && captions.find(AsciiUpper(exeFileName)) != std::string::npos;
}

}  // namespace app
