#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/DeviceEvents.h"
#include "platform/sim/SimBackends.h"
#include "platform/sim/SimulatedPc.h"

// The devices of the simulated PC, which the demo panel, the tests and the
// fake tools plug in and pull out. They live in the state (SimulatedPc.h):
//   "wmi" "Win32_PnPEntity":  [{"DeviceID", "PNPDeviceID", "Name", "Caption"}]
//                             a device's serial port is named at the end of its
//                             Name, as Windows does: "SPRD U2S Diag (COM7)"
//   "registry" "HKLM" "HARDWARE\\DEVICEMAP\\SERIALCOMM":
//                             the serial-port map, "\Device\USBSER007" -> "COM7"
//   "deviceChanges": n        plugs and pulls so far; every change is notified
//   "driverInstalls": [{"program": "pnputil.exe", "inf": path} |
//                      {"program": "dpinst64.exe", "folder": path}]
//                             what the driver tools installed, in order
namespace platform {

inline constexpr char kSimSerialCommKey[] = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

struct SimDevice {
  std::string deviceId;
  std::string name;  // without the port
  std::string port;  // "COM7", or empty
};

std::vector<SimDevice> PluggedDevices(const SimulatedPc& pc);

// Plugs in a device; with a serial port it takes the lowest free port from
// COM3 on. Returns the port ("" without one), nullopt when the state cannot
// be written or a device with that id is plugged in already.
std::optional<std::string> PlugDevice(const SimulatedPc& pc, const std::string& deviceId,
                                      const std::string& name, bool withSerialPort);

// Pulls out the device and its serial port; false when it was not plugged in.
bool UnplugDevice(const SimulatedPc& pc, const std::string& deviceId);

// A notification for every change of "deviceChanges", whoever made it,
// delivered on the thread of the first Subscribe call (which runs a Qt event
// loop) by watching the state file's folder.
class SimDeviceEvents : public DeviceEvents {
 public:
  explicit SimDeviceEvents(std::shared_ptr<SimulatedPc> pc);
  ~SimDeviceEvents() override;
  void Subscribe(Handler handler) override;

 private:
  struct Watch;
  std::shared_ptr<Watch> watch_;
};

// "pnputil.exe" adds a driver file that exists and records it; "dpinst.exe"
// and "dpinst64.exe" record the folder they ran in. All answer 0 on success.
void RegisterSimDriverTools(SimShell& shell, std::shared_ptr<SimulatedPc> pc);

}  // namespace platform
