#include "platform/linux/NetworkAdapterProvider.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>

namespace platform {
namespace {

// "aa:bb:cc:dd:ee:ff" as the adapter's MAC address; empty for anything that
// is not six colon-separated bytes, or for all zeros.
std::string MacAddress(const std::string& sysfs) {
  std::string text = sysfs.substr(0, sysfs.find_first_of("\r\n"));
  if (text.size() != 17)
    return {};
  bool zero = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (i % 3 == 2) {
      if (c != ':')
        return {};
    } else {
      if (!std::isxdigit(c))
        return {};
      zero = zero && c == '0';
      text[i] = static_cast<char>(std::toupper(c));
    }
  }
  return zero ? std::string() : text;
}

std::string ReadLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

}  // namespace

std::vector<WmiRow> NetworkAdapterRows(std::vector<NetInterface> interfaces) {
  std::sort(interfaces.begin(), interfaces.end(),
            [](const NetInterface& a, const NetInterface& b) { return a.index < b.index; });
  std::vector<WmiRow> rows;
  for (const NetInterface& i : interfaces) {
    if (i.loopback)
      continue;
    WmiRow row;
    row.Set("Index", std::to_string(i.index));
    row.Set("Description", i.name);
    row.Set("SettingID", i.name);
    row.Set("MACAddress", MacAddress(i.address));
    row.Set("IPEnabled", i.up && i.hasIpAddress ? "True" : "False");
    rows.push_back(std::move(row));
  }
  return rows;
}

WmiProvider NetworkAdapterConfigurationProvider() {
  return [] {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
      throw WmiError(std::string("WMI: the network interfaces cannot be read: ") +
                     std::strerror(errno));
    }
    std::map<std::string, NetInterface> byName;
    for (const ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
      NetInterface& i = byName[a->ifa_name];
      i.name = a->ifa_name;
      i.loopback = (a->ifa_flags & IFF_LOOPBACK) != 0;
      i.up = (a->ifa_flags & IFF_UP) != 0;
      if (a->ifa_addr != nullptr &&
          (a->ifa_addr->sa_family == AF_INET || a->ifa_addr->sa_family == AF_INET6)) {
        i.hasIpAddress = true;
      }
    }
    ::freeifaddrs(list);
    std::vector<NetInterface> interfaces;
    for (auto& [name, i] : byName) {
      i.index = ::if_nametoindex(name.c_str());
      i.address = ReadLine("/sys/class/net/" + name + "/address");
      interfaces.push_back(std::move(i));
    }
    return NetworkAdapterRows(std::move(interfaces));
  };
}

}  // namespace platform
