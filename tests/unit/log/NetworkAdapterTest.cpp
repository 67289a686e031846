// Win32_NetworkAdapterConfiguration from the Linux network interfaces.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "platform/linux/LinuxWmi.h"
#include "platform/linux/NetworkAdapterProvider.h"

namespace {

using platform::NetInterface;

TEST(NetworkAdapterRows, AdaptersByIndexWithWindowsMacsAndIpEnabledOnlyWhenUpWithAnAddress) {
  const std::vector<NetInterface> interfaces = {
      {"wlan0", 3, "aa:bb:cc:0d:0e:0f\n", false, true, true},
      {"lo", 1, "00:00:00:00:00:00", true, true, true},
      {"eth0", 2, "02:fc:00:00:00:01", false, true, false},  // up, no address
      {"tun0", 4, "", false, true, true},                    // no hardware address
      {"eth1", 5, "12:34:56:78:9a:bc", false, false, true},  // down
      {"bad0", 6, "zz:34:56:78:9a:bc", false, true, true},   // not a MAC
  };
  const auto rows = platform::NetworkAdapterRows(interfaces);
  const std::vector<std::tuple<std::string, std::string, std::string>> expected = {
      {"eth0", "02:FC:00:00:00:01", "False"},
      {"wlan0", "AA:BB:CC:0D:0E:0F", "True"},
      {"tun0", "", "True"},
      {"eth1", "12:34:56:78:9A:BC", "False"},
      {"bad0", "", "True"},
  };
  ASSERT_EQ(rows.size(), expected.size()) << "the loopback interface is no adapter";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i]["Description"], std::get<0>(expected[i]));
    EXPECT_EQ(rows[i]["MACAddress"], std::get<1>(expected[i]));
    EXPECT_EQ(rows[i]["IPEnabled"], std::get<2>(expected[i]));
  }
}

TEST(NetworkAdapterConfiguration, TheLogsQueryRunsOnThisMachine) {
  const auto wmi = platform::CreateLinuxWmi(nullptr);
  const auto rows =
      wmi->Query("SELECT MACAddress FROM Win32_NetworkAdapterConfiguration where IPEnabled=true");
  const QRegularExpression mac(QStringLiteral("^([0-9A-F]{2}:){5}[0-9A-F]{2}$|^$"));
  for (const auto& row : rows) {
    EXPECT_TRUE(mac.match(QString::fromStdString(row["MACAddress"])).hasMatch())
        << row["MACAddress"];
    EXPECT_FALSE(row.Has("IPEnabled")) << "only the selected property is kept";
  }
  for (const auto& row : wmi->Query("SELECT * FROM Win32_NetworkAdapterConfiguration")) {
    EXPECT_NE(row["Description"], "lo");
  }
}

}  // namespace
