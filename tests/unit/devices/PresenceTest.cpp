#include <gtest/gtest.h>

#include "SimPc.h"
#include "rewrite/DevicePresence.h"

namespace {

struct Case {
  const char* what;
  std::vector<std::string> ids;
  bool any, spreadtrum, rockchip;
};

TEST(Presence, ChecksMatchTheVendorTextsCaseSensitivelyOverTheJoinedIdentifiers) {
  const Case cases[] = {
      {"no devices", {}, false, false, false},
      {"MediaTek", {"USB\\VID_0E8D&PID_2000\\5&1D0F6A2B&0&2"}, true, false, false},
      {"MediaTek in lower case", {"USB\\VID_0e8d&PID_2000\\1"}, false, false, false},
      {"Qualcomm in upper case", {"USB\\VID_05C6&PID_9008\\1"}, true, false, false},
      {"Qualcomm in lower case", {"USB\\VID_05c6&PID_9008\\1"}, false, false, false},
      {"Allwinner as Windows writes it", {"USB\\VID_1F3A&PID_EFE8\\1"}, false, false, false},
      {"Allwinner in the table's case", {"USB\\VID_1f3a&PID_efe8\\1"}, true, false, false},
      {"Google as Windows writes it", {"USB\\VID_18D1&PID_4EE7\\X"}, false, false, false},
      {"HP in the table's case", {"USB\\VID_03f0&PID_0a2c\\1"}, true, false, false},
      {"Spreadtrum 1782", {"USB\\VID_1782&PID_4D00\\1"}, true, true, false},
      {"Spreadtrum 0BB4", {"USB\\VID_0BB4&PID_0C03\\1"}, true, true, false},
      {"Rockchip burn mode", {"USB\\VID_2207&PID_330C\\1"}, true, false, true},
      {"another maker",
       {"USB\\VID_046D&PID_C52B\\1", "PCI\\VEN_8086&DEV_9D2F"},
       false,
       false,
       false},
      {"a hit straddling two identifiers",
       {"ACPI\\PNP0501\\VID_", "2207&PID_0006\\1"},
       true,
       false,
       true},
      {"a Spreadtrum hit straddling", {"HID\\X\\VID_17", "82"}, true, true, false},
      {"one device among others",
       {"ROOT\\UMBUS\\0000", "USB\\VID_1782&PID_4D00\\1"},
       true,
       true,
       false},
  };
  SimPc sim;
  const auto wmi = sim.Ports().wmi;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim.SetPnpIds(c.ids);
    EXPECT_EQ(rewrite::IsanySolvantaConnected(wmi), c.any);
    EXPECT_EQ(rewrite::IsSpreadsTrumconnected(wmi), c.spreadtrum);
    EXPECT_EQ(rewrite::Verify_BurnModeRockchip(wmi), c.rockchip);
  }
}

TEST(Presence, AFailingQueryAnswersFalseEvenWithDevicesAttached) {
  SimPc sim;
  sim.SetPnpIds({"USB\\VID_1782&PID_4D00\\1", "USB\\VID_2207&PID_330C\\1"});
  sim.Pc().Change(
      [](QJsonObject& state) { state.insert("wmiFailures", QJsonArray{"Win32_PnPEntity"}); });
  const auto wmi = sim.Ports().wmi;
  EXPECT_FALSE(rewrite::IsanySolvantaConnected(wmi));
  EXPECT_FALSE(rewrite::IsSpreadsTrumconnected(wmi));
  EXPECT_FALSE(rewrite::Verify_BurnModeRockchip(wmi));
}

TEST(Presence, NoWmiServiceAnswersFalseWithoutThrowing) {
  EXPECT_FALSE(rewrite::IsanySolvantaConnected(nullptr));
  EXPECT_EQ(rewrite::IdentifierText(nullptr), "");
}

}  // namespace
