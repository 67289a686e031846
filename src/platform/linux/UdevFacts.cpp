#include "platform/linux/UdevFacts.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>

namespace platform {

namespace {

std::string_view Property(const UdevRecord& record, const std::string& name) {
  const auto it = record.properties.find(name);
  return it == record.properties.end() ? std::string_view{} : std::string_view(it->second);
}

std::string_view Attribute(const UdevRecord& record, const std::string& name) {
  const auto it = record.attributes.find(name);
  return it == record.attributes.end() ? std::string_view{} : std::string_view(it->second);
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n')) {
    text.remove_suffix(1);
  }
  return text;
}

std::optional<unsigned> Number(std::string_view text, int base) {
  text = Trim(text);
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

std::string LastComponent(const std::string& devpath) {
  const std::size_t slash = devpath.rfind('/');
  return slash == std::string::npos ? devpath : devpath.substr(slash + 1);
}

std::string Parent(const std::string& devpath) {
  const std::size_t slash = devpath.rfind('/');
  return slash == std::string::npos ? std::string{} : devpath.substr(0, slash);
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string Hex(unsigned value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
  return buffer;
}

// A stable stand-in for the hash Windows puts into the instance ids it makes.
std::string PlaceHash(const std::string& devpath) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : devpath) {
    hash = (hash ^ c) * 16777619u;
  }
  return Hex(hash, 8);
}

struct VendorProduct {
  unsigned vendor;
  unsigned product;
};

// PRODUCT is "vvvv/pppp/bcd" in hexadecimal without leading zeros.
std::optional<VendorProduct> ProductOf(const UdevRecord& record) {
  const std::string_view product = Property(record, "PRODUCT");
  const std::size_t first = product.find('/');
  const std::size_t second = product.find('/', first == std::string_view::npos ? 0 : first + 1);
  if (first == std::string_view::npos || second == std::string_view::npos) {
    return std::nullopt;
  }
  const auto vendor = Number(product.substr(0, first), 16);
  const auto id = Number(product.substr(first + 1, second - first - 1), 16);
  if (!vendor || !id || *vendor > 0xFFFF || *id > 0xFFFF) {
    return std::nullopt;
  }
  return VendorProduct{*vendor, *id};
}

// Windows takes a device's serial number for its instance id only when every
// character is printable ASCII other than blank and comma.
std::optional<std::string> UsableSerial(const UdevRecord& record) {
  std::string_view serial = Property(record, "ID_SERIAL_SHORT");
  if (serial.empty())
    serial = Attribute(record, "serial");
  if (serial.empty() || serial.size() > 126) {
    return std::nullopt;
  }
  for (unsigned char c : serial) {
    if (c <= 0x20 || c >= 0x7F || c == ',') {
      return std::nullopt;
    }
  }
  return Upper(std::string(serial));
}

// "1-2.3" -> "3", "1-2" -> "2": the hub port the device is plugged into.
std::string PortOf(const std::string& sysname) {
  const std::size_t cut = sysname.find_last_of(".-");
  return cut == std::string::npos ? sysname : sysname.substr(cut + 1);
}

// Windows splits a device into one entry per interface only when it is
// composite: several interfaces and the device class 0 (classes per
// interface) or 239 (interface associations). TYPE is
// "class/subclass/protocol" in decimal.
bool IsComposite(const UdevRecord& device, int interfaces) {
  const std::string_view type = Property(device, "TYPE");
  const auto deviceClass = Number(type.substr(0, type.find('/')), 10);
  return interfaces > 1 && deviceClass && (*deviceClass == 0 || *deviceClass == 239);
}

std::string NameOf(const UdevRecord& record, const UdevRecord& device) {
  for (const std::string_view name :
       {Property(device, "ID_MODEL_FROM_DATABASE"), Attribute(device, "product")}) {
    if (!Trim(name).empty())
      return std::string(Trim(name));
  }
  if (const std::string_view model = Property(device, "ID_MODEL"); !model.empty()) {
    std::string name(model);
    std::ranges::replace(name, '_', ' ');
    return name;
  }
  return &record == &device ? "Dispositivo USB" : "Interface de dispositivo USB";
}

std::string ManufacturerOf(const UdevRecord& device) {
  for (const std::string_view name :
       {Property(device, "ID_VENDOR_FROM_DATABASE"), Attribute(device, "manufacturer")}) {
    if (!Trim(name).empty())
      return std::string(Trim(name));
  }
  return "(Dispositivos USB padrão)";
}

WmiRow Row(const std::string& deviceId, const std::string& name, const std::string& maker) {
  WmiRow row;
  row.Set("DeviceID", deviceId);
  row.Set("PNPDeviceID", deviceId);
  row.Set("Name", name);
  row.Set("Caption", name);
  row.Set("Description", name);
  row.Set("Manufacturer", maker);
  row.Set("Status", "OK");
  return row;
}

std::optional<std::string> DeviceId(const UdevRecord& device) {
  const std::string sysname = LastComponent(device.devpath);
  if (sysname.starts_with("usb")) {
    // TYPE is "class/subclass/protocol"; a hub's protocol 3 is a USB 3 hub.
    const std::string_view type = Property(device, "TYPE");
    const char* hub = type.ends_with("/3") ? "ROOT_HUB30" : "ROOT_HUB20";
    return std::string("USB\\") + hub + "\\4&" + PlaceHash(Parent(device.devpath)) + "&0";
  }
  const auto ids = ProductOf(device);
  if (!ids) {
    return std::nullopt;
  }
  const std::string hardware = "USB\\VID_" + Hex(ids->vendor, 4) + "&PID_" + Hex(ids->product, 4);
  if (const auto serial = UsableSerial(device)) {
    return hardware + "\\" + *serial;
  }
  return hardware + "\\5&" + PlaceHash(Parent(device.devpath)) + "&0&" + PortOf(sysname);
}

}  // namespace

std::vector<UdevRecord> ParseUdevExport(std::string_view text) {
  std::vector<UdevRecord> records;
  UdevRecord current;
  const auto finish = [&] {
    if (current.devpath.empty()) {
      if (const auto it = current.properties.find("DEVPATH"); it != current.properties.end()) {
        current.devpath = it->second;
      }
    }
    if (!current.devpath.empty())
      records.push_back(std::move(current));
    current = {};
  };
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    if (end == std::string_view::npos)
      end = text.size();
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r'))
      line.remove_suffix(1);
    if (Trim(line).empty()) {
      finish();
    } else if (line.starts_with("P: ")) {
      current.devpath = std::string(line.substr(3));
    } else if (line.starts_with("E: ")) {
      const std::string_view entry = line.substr(3);
      const std::size_t equals = entry.find('=');
      if (equals != std::string_view::npos && equals > 0) {
        current.properties[std::string(entry.substr(0, equals))] =
            std::string(entry.substr(equals + 1));
      }
    }
  }
  finish();
  return records;
}

std::vector<WmiRow> PnpEntitiesFromUdev(const std::vector<UdevRecord>& records) {
  std::map<std::string, const UdevRecord*> devices;
  std::map<std::string, int> interfaces;  // by the device's path
  for (const UdevRecord& record : records) {
    if (Property(record, "SUBSYSTEM") != "usb")
      continue;
    if (Property(record, "DEVTYPE") == "usb_device") {
      devices[record.devpath] = &record;
    } else if (Property(record, "DEVTYPE") == "usb_interface") {
      ++interfaces[Parent(record.devpath)];
    }
  }
  std::vector<WmiRow> rows;
  for (const UdevRecord& record : records) {
    if (Property(record, "SUBSYSTEM") != "usb")
      continue;
    const std::string_view type = Property(record, "DEVTYPE");
    if (type == "usb_device") {
      if (const auto id = DeviceId(record)) {
        rows.push_back(Row(*id, NameOf(record, record), ManufacturerOf(record)));
      }
    } else if (type == "usb_interface") {
      // "1-2:1.3" is interface 3 of configuration 1.
      const auto parent = devices.find(Parent(record.devpath));
      if (parent == devices.end() || !IsComposite(*parent->second, interfaces[parent->first])) {
        continue;
      }
      const std::string sysname = LastComponent(record.devpath);
      const std::size_t dot = sysname.rfind('.');
      const auto number =
          dot == std::string::npos ? std::nullopt : Number(sysname.substr(dot + 1), 10);
      const auto ids = ProductOf(*parent->second);
      if (!number || *number > 0xFF || !ids)
        continue;
      const std::string id = "USB\\VID_" + Hex(ids->vendor, 4) + "&PID_" + Hex(ids->product, 4) +
                             "&MI_" + Hex(*number, 2) + "\\6&" + PlaceHash(parent->first) + "&0&" +
                             Hex(*number, 4);
      rows.push_back(Row(id, NameOf(record, *parent->second), ManufacturerOf(*parent->second)));
    }
  }
  return rows;
}

std::vector<std::pair<std::string, std::string>> SerialCommFromUdev(
    const std::vector<UdevRecord>& records) {
  struct Block {
    std::string_view prefix;
    unsigned first;
  };
  constexpr Block kBlocks[] = {{"ttyACM", 33}, {"ttyUSB", 65}, {"ttyAMA", 97}, {"ttyS", 1}};
  std::vector<std::pair<unsigned, std::string>> ports;
  for (const UdevRecord& record : records) {
    if (Property(record, "SUBSYSTEM") != "tty" || record.devpath.starts_with("/devices/virtual/") ||
        record.devpath.find("/serial8250/") != std::string::npos) {
      continue;
    }
    const std::string name = LastComponent(record.devpath);
    for (const Block& block : kBlocks) {
      if (!name.starts_with(block.prefix))
        continue;
      const auto index = Number(std::string_view(name).substr(block.prefix.size()), 10);
      if (index && *index < 32)
        ports.emplace_back(block.first + *index, name);
      break;
    }
  }
  std::ranges::sort(ports);
  std::vector<std::pair<std::string, std::string>> map;
  for (const auto& [number, name] : ports) {
    map.emplace_back("\\Device\\" + name, "COM" + std::to_string(number));
  }
  return map;
}

}  // namespace platform
