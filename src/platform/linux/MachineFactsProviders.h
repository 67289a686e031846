#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/LinuxWmi.h"

namespace platform {

// The value in kilobytes of `key` ("MemTotal") in a /proc/meminfo text;
// nullopt when absent or not a number.
std::optional<std::int64_t> MemInfoKilobytes(std::string_view meminfo, std::string_view key);

// `os`'s rows with TotalVisibleMemorySize and FreePhysicalMemory (kilobytes:
// MemTotal and MemAvailable of /proc/meminfo) added.
WmiProvider WithMemoryFacts(WmiProvider os);

// Win32_LogicalDisk: the drive "C:" (DriveType 3) standing for the file
// system that holds `folder()` (its nearest existing parent when it does not
// exist yet), with Size and FreeSpace in bytes. Without an argument the
// folder is the program's data folder below the local application-data
// folder.
WmiProvider LogicalDiskProvider(std::function<std::string()> folder = {});

}  // namespace platform
