// Device presence: the application object's checks over the Plug and Play
// device list.
#include "app/UAPI.h"
#include "platform/Platform.h"
#include "rewrite/DevicePresence.h"

bool TUAPI::IsanySolvantaConnected() {
  return rewrite::IsanySolvantaConnected(platform::Current().wmi);
}

bool TUAPI::IsSpreadsTrumconnected() {
  return rewrite::IsSpreadsTrumconnected(platform::Current().wmi);
}

bool TUAPI::Verify_BurnModeRockchip() {
  return rewrite::Verify_BurnModeRockchip(platform::Current().wmi);
}
