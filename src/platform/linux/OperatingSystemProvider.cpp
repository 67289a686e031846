#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/linux/LinuxWmi.h"
#include "platform/linux/SystemFiles.h"

namespace platform {

namespace {

std::optional<std::string> ReadText(const char* path) {
  std::ifstream in(path);
  if (!in) {
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The user's full name from the password database, else the login name.
std::string RegisteredUser() {
  if (const passwd* user = ::getpwuid(::geteuid())) {
    std::string gecos = user->pw_gecos ? user->pw_gecos : "";
    gecos = gecos.substr(0, gecos.find(','));
    return gecos.empty() ? std::string(user->pw_name) : gecos;
  }
  return {};
}

}  // namespace

WmiProvider OperatingSystemProvider() {
  return [] {
    const std::string serial =
        linux_files::SerialFromMachineId(ReadText("/etc/machine-id").value_or(""));
    if (serial.empty()) {
      throw WmiError("WMI: /etc/machine-id cannot be read");
    }
    const auto osRelease = ReadText("/etc/os-release");
    const std::string caption = linux_files::OsPrettyName(
        osRelease ? *osRelease : ReadText("/usr/lib/os-release").value_or(""));
    utsname system{};
    ::uname(&system);
    WmiRow row;
    row.Set("Caption", caption.empty() ? std::string("Linux") : caption);
    row.Set("OSType", "36");  // LINUX in the CIM enumeration of system types
    row.Set("Version", system.release);
    row.Set("SerialNumber", serial);
    row.Set("CSName", system.nodename);
    row.Set("RegisteredUser", RegisteredUser());
    return std::vector<WmiRow>{row};
  };
}

WmiProvider ProcessorProvider() {
  return [] {
    utsname system{};
    ::uname(&system);
    const std::string machine = system.machine;
    const bool wide = machine.find("64") != std::string::npos || machine == "s390x";
    WmiRow row;
    row.Set("AddressWidth", wide ? "64" : "32");
    row.Set("Name", linux_files::CpuModelName(ReadText("/proc/cpuinfo").value_or("")));
    return std::vector<WmiRow>{row};
  };
}

}  // namespace platform
