#include "platform/linux/LinuxWmi.h"

#include "platform/Wql.h"
#include "platform/linux/MachineFactsProviders.h"
#include "platform/linux/NetworkAdapterProvider.h"
#include "platform/linux/UdevDevices.h"

namespace platform {

void ProviderWmi::AddProvider(const std::string& className, WmiProvider provider) {
  providers_[className] = std::move(provider);
}

std::vector<WmiRow> ProviderWmi::Query(const std::string& wql) {
  const WqlQuery query = ParseWql(wql);
  const auto it = providers_.find(query.className);
  if (it == providers_.end()) {
    throw WmiError("WMI: unknown class " + query.className);
  }
  return ApplyWql(query, it->second());
}

std::shared_ptr<Wmi> CreateLinuxWmi(const std::shared_ptr<Shell>& shell) {
  auto wmi = std::make_shared<ProviderWmi>();
  wmi->AddProvider("Win32_OperatingSystem", WithMemoryFacts(OperatingSystemProvider()));
  wmi->AddProvider("CIM_OperatingSystem", OperatingSystemProvider());
  wmi->AddProvider("Win32_Processor", ProcessorProvider());
  wmi->AddProvider("Win32_LogicalDisk", LogicalDiskProvider());
  wmi->AddProvider("Win32_Process", ProcessProvider(shell));
  wmi->AddProvider("Win32_PnPEntity", PnpEntityProvider());
  wmi->AddProvider("Win32_NetworkAdapterConfiguration", NetworkAdapterConfigurationProvider());
  return wmi;
}

}  // namespace platform
