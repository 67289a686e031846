#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Wmi.h"

namespace platform {

// What the program reads of one device of the udev database.
struct UdevRecord {
  std::string devpath;                            // "/devices/pci0000:00/.../usb1/1-2"
  std::map<std::string, std::string> properties;  // SUBSYSTEM, DEVTYPE, PRODUCT, ID_...
  std::map<std::string, std::string> attributes;  // sysfs: serial, product, manufacturer
};

// The records of a `udevadm info --export-db` text (or of `udevadm info` for
// one device): "P:" gives the path, "E:" the properties; blank lines end a
// record.
std::vector<UdevRecord> ParseUdevExport(std::string_view text);

// Win32_PnPEntity rows for the USB devices among `records`, and for the
// interfaces of composite devices, with DeviceID texts as Windows writes
// them: "USB\VID_0E8D&PID_2000\<serial>" (hexadecimal digits and the serial in
// upper case), "USB\VID_...&PID_...&MI_01\<instance>" for an interface, an
// instance id of the parent's place where the device has no usable serial
// number, and "USB\ROOT_HUB30\<instance>" for the root hubs. Each row has
// DeviceID, PNPDeviceID, Name, Caption, Description, Manufacturer, Status.
std::vector<WmiRow> PnpEntitiesFromUdev(const std::vector<UdevRecord>& records);

// The serial-port map ("\Device\ttyUSB0" -> "COM65") of the tty records that
// stand for hardware: virtual terminals and the unused legacy UART slots are
// left out. A kernel name maps to one port name for good: ttyS<n> to
// COM<n+1>, ttyACM<n> to COM<n+33>, ttyUSB<n> to COM<n+65>, ttyAMA<n> to
// COM<n+97> (n below 32); other names have no port. In port order.
std::vector<std::pair<std::string, std::string>> SerialCommFromUdev(
    const std::vector<UdevRecord>& records);

}  // namespace platform
