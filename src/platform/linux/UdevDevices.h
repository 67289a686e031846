#pragma once

#include <memory>
#include <vector>

#include "platform/DeviceEvents.h"
#include "platform/linux/LinuxWmi.h"
#include "platform/linux/UdevFacts.h"

class QSocketNotifier;

namespace platform {

// The devices of the given subsystems as udev knows them now; empty when
// udev cannot be read.
std::vector<UdevRecord> EnumerateUdev(const std::vector<const char*>& subsystems);

// Win32_PnPEntity from the USB devices (PnpEntitiesFromUdev).
WmiProvider PnpEntityProvider();

// The serial-port map of the tty devices (SerialCommFromUdev).
std::vector<std::pair<std::string, std::string>> LinuxSerialComm();

// Device changes from a udev monitor (USB devices and block devices coming
// and going), read through a socket notifier on the thread of the first
// Subscribe call, which must run a Qt event loop. Without a udev daemon the
// kernel's own events are taken.
class UdevDeviceEvents : public DeviceEvents {
 public:
  UdevDeviceEvents();
  ~UdevDeviceEvents() override;
  void Subscribe(Handler handler) override;

 private:
  struct Monitor;
  std::shared_ptr<Monitor> monitor_;
};

}  // namespace platform
