#include "platform/Platform.h"

#include <stdexcept>

#include "platform/RealClock.h"
#include "platform/linux/DriverTools.h"
#include "platform/linux/LinuxEnvironment.h"
#include "platform/linux/LinuxRegistry.h"
#include "platform/linux/LinuxShell.h"
#include "platform/linux/LinuxWmi.h"
#include "platform/linux/QtFonts.h"
#include "platform/linux/UdevDevices.h"
#include "platform/linux/UnityTaskbar.h"
#include "platform/sim/SimBackends.h"
#include "platform/sim/SimDevices.h"

namespace platform {

namespace {

Platform& Slot() {
  static Platform current;
  return current;
}

// Volumes and window control have no backend yet and stay null.
Platform CreateLinux() {
  Platform ports;
  ports.environment = std::make_shared<LinuxEnvironment>();
  ports.registry = std::make_shared<LinuxRegistry>(LinuxRegistry::DefaultPath());
  auto shell = std::make_shared<LinuxShell>();
  RegisterLinuxDriverTools(*shell);
  ports.shell = shell;
  ports.wmi = CreateLinuxWmi(ports.shell);
  ports.fonts = std::make_shared<QtFonts>();
  ports.taskbar = std::make_shared<UnityTaskbar>();
  ports.deviceEvents = std::make_shared<UdevDeviceEvents>();
  return ports;
}

Platform CreateSim(const std::string& statePath) {
  if (statePath.empty()) {
    throw std::invalid_argument("the simulated PC needs the path of its state file");
  }
  auto pc = std::make_shared<SimulatedPc>(statePath);
  Platform ports;
  ports.environment = std::make_shared<SimEnvironment>(pc);
  ports.registry = std::make_shared<SimRegistry>(pc);
  auto shell = std::make_shared<SimShell>(pc);
  RegisterSimDriverTools(*shell, pc);
  ports.shell = shell;
  ports.wmi = std::make_shared<SimWmi>(pc, ports.shell);
  ports.fonts = std::make_shared<SimFonts>(pc);
  ports.taskbar = std::make_shared<SimTaskbar>(pc);
  ports.deviceEvents = std::make_shared<SimDeviceEvents>(pc);
  return ports;
}

}  // namespace

Platform CreatePlatform(const PlatformOptions& options) {
  Platform ports;
  if (options.name == "linux") {
    ports = CreateLinux();
  } else if (options.name == "sim") {
    ports = CreateSim(options.simStatePath);
  } else {
    throw std::invalid_argument("unknown platform \"" + options.name + "\"");
  }
  ports.name = options.name;
  ports.clock = options.clock ? options.clock : std::make_shared<RealClock>();
  return ports;
}

Platform& Current() {
  return Slot();
}

void SetCurrent(Platform platform) {
  Slot() = std::move(platform);
}

}  // namespace platform
