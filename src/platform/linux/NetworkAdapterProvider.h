#pragma once

#include <string>
#include <vector>

#include "platform/linux/LinuxWmi.h"

namespace platform {

// One network interface as the kernel reports it.
struct NetInterface {
  std::string name;     // "eth0"
  unsigned index = 0;   // the interface index
  std::string address;  // hardware address as in /sys/class/net/<name>/address
  bool loopback = false;
  bool up = false;
  bool hasIpAddress = false;  // an IPv4 or IPv6 address is assigned
};

// The Win32_NetworkAdapterConfiguration rows of `interfaces`, by index:
// Index, Description and SettingID (the name), MACAddress in upper case with
// colons (empty when the interface has none), IPEnabled "True" when it is up
// with an address. Loopback interfaces are no adapters and are left out.
std::vector<WmiRow> NetworkAdapterRows(std::vector<NetInterface> interfaces);

// Win32_NetworkAdapterConfiguration from this machine's interfaces.
WmiProvider NetworkAdapterConfigurationProvider();

}  // namespace platform
