#include "app/WMI.h"

#include <charconv>

TWMI::TWMI(std::shared_ptr<platform::Wmi> service) : FWMIService(std::move(service)) {
  if (!FWMIService) {
    throw platform::WmiError("no WMI service");
  }
}

std::unique_ptr<TWMIQuery> TWMI::CreateQuery(const std::string& wql) {
  return std::make_unique<TWMIQuery>(FWMIService->Query(wql));
}

void TWMI::GetOSInfo() {
  const auto os = CreateQuery("SELECT Caption,Ostype,Version FROM CIM_OperatingSystem");
  while (os->Next()) {
    FCaption = os->Value("Caption");
    FOSType = os->Value("OSType");
    FVersion = os->Value("Version");
  }
  const auto processor = CreateQuery("SELECT AddressWidth FROM Win32_Processor");
  while (processor->Next()) {
    // A width that is not a number reads as 0, like a missing one.
    const std::string width = processor->Value("AddressWidth");
    int value = 0;
    std::from_chars(width.data(), width.data() + width.size(), value);
    FAddressWidth = value;
  }
}

TWMIQuery::TWMIQuery(std::vector<platform::WmiRow> rows) : FWbemObjectSet(std::move(rows)) {}

bool TWMIQuery::Next() {
  FWbemObject = FoEnum < FWbemObjectSet.size() ? &FWbemObjectSet[FoEnum++] : nullptr;
  return FWbemObject != nullptr;
}

std::string TWMIQuery::Value(const std::string& name) const {
  return FWbemObject ? (*FWbemObject)[name] : std::string();
}
