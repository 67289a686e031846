#pragma once

#include <functional>
#include <map>

#include "platform/Shell.h"
#include "platform/Wmi.h"

namespace platform {

// Every row of one class with all its properties; throws WmiError when the
// facts cannot be read.
using WmiProvider = std::function<std::vector<WmiRow>()>;

// Answers WQL from one provider per class (class names without regard to
// letter case); an unknown class is an error.
class ProviderWmi : public Wmi {
 public:
  void AddProvider(const std::string& className, WmiProvider provider);
  std::vector<WmiRow> Query(const std::string& wql) override;

 private:
  std::map<std::string, WmiProvider, CaseInsensitiveLess> providers_;
};

// Win32_OperatingSystem (and CIM_OperatingSystem): Caption from the
// os-release PRETTY_NAME, OSType "36", Version the kernel release,
// SerialNumber derived from /etc/machine-id.
WmiProvider OperatingSystemProvider();
// Win32_Processor: AddressWidth "64" or "32" from the machine type, Name from
// /proc/cpuinfo.
WmiProvider ProcessorProvider();
// Win32_Process from `shell`'s process list: Caption and Name (the image
// name), ProcessId, ParentProcessId, ExecutablePath.
WmiProvider ProcessProvider(std::shared_ptr<Shell> shell);

// The Linux machine's WMI: the providers above.
std::shared_ptr<Wmi> CreateLinuxWmi(const std::shared_ptr<Shell>& shell);

}  // namespace platform
