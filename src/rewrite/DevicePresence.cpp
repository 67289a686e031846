#include "rewrite/DevicePresence.h"

#include <exception>

#include "app/WMI.h"

namespace rewrite {

std::string IdentifierText(const std::shared_ptr<platform::Wmi>& wmi) {
  std::string text;
  try {
    TWMI query(wmi);
    const auto rows = query.CreateQuery("SELECT deviceid FROM Win32_PnPEntity");
    while (rows->Next()) {
      text += rows->Value("DeviceID");
    }
  } catch (const std::exception&) {
    // The checks answer from what was gathered before the failure.
  }
  return text;
}

bool ContainsAnyId(const std::string& text, std::span<const char* const> ids) {
  for (const char* id : ids) {
    if (text.find(id) != std::string::npos) {
      return true;
    }
  }
  return false;
}

bool IsanySolvantaConnected(const std::shared_ptr<platform::Wmi>& wmi) {
  return ContainsAnyId(IdentifierText(wmi), kSolvantaVendorIds);
}

bool IsSpreadsTrumconnected(const std::shared_ptr<platform::Wmi>& wmi) {
  return ContainsAnyId(IdentifierText(wmi), kSpreadtrumVendorIds);
}

bool Verify_BurnModeRockchip(const std::shared_ptr<platform::Wmi>& wmi) {
  return ContainsAnyId(IdentifierText(wmi), kRockchipBurnVendorIds);
}

}  // namespace rewrite
