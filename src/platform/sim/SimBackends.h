#pragma once

#include <memory>

#include "platform/Environment.h"
#include "platform/Fonts.h"
#include "platform/JsonRegistry.h"
#include "platform/Taskbar.h"
#include "platform/Wmi.h"
#include "platform/linux/LinuxShell.h"
#include "platform/linux/QtFonts.h"
#include "platform/sim/SimulatedPc.h"

// The ports of the simulated PC, each reading and changing its state file
// (schema in SimulatedPc.h).
namespace platform {

// Rows of "wmi" for the class (none when the state has no such class);
// Win32_Process also lists the shell's processes; classes named in
// "wmiFailures" throw WmiError.
class SimWmi : public Wmi {
 public:
  SimWmi(std::shared_ptr<SimulatedPc> pc, std::shared_ptr<Shell> shell);
  std::vector<WmiRow> Query(const std::string& wql) override;

 private:
  std::shared_ptr<SimulatedPc> pc_;
  std::shared_ptr<Shell> shell_;
};

class SimRegistry : public JsonRegistry {
 public:
  explicit SimRegistry(std::shared_ptr<SimulatedPc> pc);

 protected:
  QJsonObject LoadHive(Hive hive) override;
  bool UpdateHive(Hive hive, const std::function<bool(QJsonObject&)>& change) override;

 private:
  std::shared_ptr<SimulatedPc> pc_;
};

// "environment" and "specialFolders" only: what the state lacks is unset.
class SimEnvironment : public Environment {
 public:
  explicit SimEnvironment(std::shared_ptr<SimulatedPc> pc);
  std::optional<std::string> Variable(const std::string& name) override;
  std::optional<std::string> SpecialFolder(int csidl) override;

 private:
  std::shared_ptr<SimulatedPc> pc_;
};

// Records in "fonts" (and counts notifications in "fontChanges") and also
// registers with Qt when a QGuiApplication runs, so the demo shows the fonts.
// Adding answers whether the file exists and was recorded.
class SimFonts : public Fonts {
 public:
  explicit SimFonts(std::shared_ptr<SimulatedPc> pc);
  bool AddFontResource(const std::string& path) override;
  bool RemoveFontResource(const std::string& path) override;
  void NotifyFontChange() override;

 private:
  std::shared_ptr<SimulatedPc> pc_;
  QtFonts qt_;
};

class SimTaskbar : public Taskbar {
 public:
  explicit SimTaskbar(std::shared_ptr<SimulatedPc> pc);
  void SetProgress(TaskbarState state, std::int64_t value, std::int64_t maximum) override;
  void Flash(int count, std::chrono::milliseconds rate) override;

 private:
  std::shared_ptr<SimulatedPc> pc_;
};

// Real programs through a LinuxShell that sees only this program's own
// descendants, plus the simulated processes of "processes": listed, and
// killed (removed from the state) by KillByImageName. Every start request is
// appended to "shellLog".
class SimShell : public Shell {
 public:
  explicit SimShell(std::shared_ptr<SimulatedPc> pc);
  ~SimShell() override;

  std::shared_ptr<ChildProcess> Start(const StartRequest& request) override;
  std::vector<ProcessEntry> Processes() override;
  int KillByImageName(const std::string& imageName, bool tree) override;

  void RegisterBuiltin(const std::string& name, Builtin builtin);

 private:
  std::shared_ptr<SimulatedPc> pc_;
  LinuxShell real_;
};

}  // namespace platform
