#pragma once

#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/DeviceEvents.h"
#include "platform/Environment.h"
#include "platform/Fonts.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/Taskbar.h"
#include "platform/Volumes.h"
#include "platform/WindowControl.h"
#include "platform/Wmi.h"

namespace platform {

// The ports the program runs on, chosen once at start-up.
struct Platform {
  std::string name;  // "linux" or "sim"
  std::shared_ptr<Clock> clock;
  std::shared_ptr<Environment> environment;
  std::shared_ptr<Registry> registry;
  std::shared_ptr<Wmi> wmi;
  std::shared_ptr<Shell> shell;
  std::shared_ptr<Fonts> fonts;
  std::shared_ptr<Taskbar> taskbar;
  std::shared_ptr<Volumes> volumes;
  std::shared_ptr<WindowControl> windows;
  std::shared_ptr<DeviceEvents> deviceEvents;
};

struct PlatformOptions {
  std::string name = "linux";    // "linux" or "sim"
  std::string simStatePath;      // the simulated PC's state file (sim only)
  std::shared_ptr<Clock> clock;  // replaces the real clock when set (tests)
};

// Builds the ports for `options.name`; throws std::invalid_argument for an
// unknown name.
Platform CreatePlatform(const PlatformOptions& options);

// The ports of the running program, set once at start-up.
Platform& Current();
void SetCurrent(Platform platform);

}  // namespace platform
