#include "platform/linux/MachineFactsProviders.h"

#include <sys/statvfs.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/LinuxEnvironment.h"

namespace platform {

namespace {

std::string DataFolder() {
  const auto local = LinuxEnvironment().SpecialFolder(kCsidlLocalAppData);
  return local ? *local + "/AssistenteSolvanta" : std::string();
}

}  // namespace

std::optional<std::int64_t> MemInfoKilobytes(std::string_view meminfo, std::string_view key) {
  std::size_t start = 0;
  while (start < meminfo.size()) {
    std::size_t end = meminfo.find('\n', start);
    if (end == std::string_view::npos)
      end = meminfo.size();
    const std::string_view line = meminfo.substr(start, end - start);
    start = end + 1;
    if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ':') {
      continue;
    }
    std::string_view value = line.substr(key.size() + 1);
    value.remove_prefix(std::min(value.find_first_not_of(' '), value.size()));
    std::int64_t kilobytes = 0;
    const auto [rest, error] =
        std::from_chars(value.data(), value.data() + value.size(), kilobytes);
    if (error != std::errc() || rest == value.data())
      return std::nullopt;
    return kilobytes;
  }
  return std::nullopt;
}

WmiProvider WithMemoryFacts(WmiProvider os) {
  return [os = std::move(os)] {
    std::vector<WmiRow> rows = os();
    std::ifstream in("/proc/meminfo");
    std::ostringstream text;
    text << in.rdbuf();
    const auto total = MemInfoKilobytes(text.str(), "MemTotal");
    auto free = MemInfoKilobytes(text.str(), "MemAvailable");
    if (!free)
      free = MemInfoKilobytes(text.str(), "MemFree");
    if (!total || !free)
      throw WmiError("WMI: /proc/meminfo cannot be read");
    for (WmiRow& row : rows) {
      row.Set("TotalVisibleMemorySize", std::to_string(*total));
      row.Set("FreePhysicalMemory", std::to_string(*free));
    }
    return rows;
  };
}

WmiProvider LogicalDiskProvider(std::function<std::string()> folder) {
  if (!folder)
    folder = DataFolder;
  return [folder = std::move(folder)] {
    std::filesystem::path path = folder();
    std::error_code error;
    while (!path.empty() && !std::filesystem::exists(path, error) && path.has_parent_path() &&
           path.parent_path() != path) {
      path = path.parent_path();
    }
    struct statvfs facts {};
    if (path.empty() || ::statvfs(path.c_str(), &facts) != 0) {
      throw WmiError("WMI: the file system of \"" + path.string() + "\" cannot be read");
    }
    const auto block = static_cast<std::uint64_t>(facts.f_frsize);
    WmiRow row;
    row.Set("Caption", "C:");
    row.Set("DeviceID", "C:");
    row.Set("Name", "C:");
    row.Set("DriveType", "3");
    row.Set("Size", std::to_string(block * facts.f_blocks));
    row.Set("FreeSpace", std::to_string(block * facts.f_bavail));
    return std::vector<WmiRow>{row};
  };
}

}  // namespace platform
