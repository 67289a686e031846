#include <gtest/gtest.h>

#include "SimPc.h"
#include "platform/linux/UdevFacts.h"

namespace {

using platform::ParseUdevExport;

// Captured with `udevadm info --export-db` (abridged to the usb and tty
// devices) on a notebook with a MediaTek phone in preloader mode, a
// Spreadtrum tablet in download mode, an Android phone (ADB and MTP) and a
// USB serial adapter.
constexpr char kExportDb[] = R"(P: /devices/pci0000:00/0000:00:14.0/usb1
M: usb1
U: usb
T: usb_device
D: c 189:0
N: bus/usb/001/001
E: DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1
E: SUBSYSTEM=usb
E: DEVNAME=/dev/bus/usb/001/001
E: DEVTYPE=usb_device
E: DRIVER=usb
E: PRODUCT=1d6b/2/601
E: TYPE=9/0/1
E: BUSNUM=001
E: DEVNUM=001
E: ID_VENDOR_FROM_DATABASE=Linux Foundation
E: ID_MODEL_FROM_DATABASE=2.0 root hub

P: /devices/pci0000:00/0000:00:14.0/usb2
M: usb2
U: usb
T: usb_device
E: DEVPATH=/devices/pci0000:00/0000:00:14.0/usb2
E: SUBSYSTEM=usb
E: DEVTYPE=usb_device
E: PRODUCT=1d6b/3/601
E: TYPE=9/0/3

P: /devices/pci0000:00/0000:00:14.0/usb1/1-2
M: 1-2
U: usb
T: usb_device
E: DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1/1-2
E: SUBSYSTEM=usb
E: DEVNAME=/dev/bus/usb/001/007
E: DEVTYPE=usb_device
E: DRIVER=usb
E: PRODUCT=e8d/2000/100
E: TYPE=2/0/0
E: ID_VENDOR=MediaTek
E: ID_VENDOR_ID=0e8d
E: ID_MODEL=MT65xx_Preloader
E: ID_MODEL_ID=2000
E: ID_SERIAL=MediaTek_MT65xx_Preloader
E: ID_USB_INTERFACES=:020200:0a0000:

P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0
M: 1-2:1.0
U: usb
T: usb_interface
E: DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0
E: SUBSYSTEM=usb
E: DEVTYPE=usb_interface
E: DRIVER=cdc_acm
E: PRODUCT=e8d/2000/100
E: TYPE=2/0/0
E: INTERFACE=2/2/1
E: MODALIAS=usb:v0E8Dp2000d0100dc02dsc00dp00ic02isc02ip01in00

P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/tty/ttyACM0
M: ttyACM0
U: tty
E: DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/tty/ttyACM0
E: SUBSYSTEM=tty
E: DEVNAME=/dev/ttyACM0
E: MAJOR=166
E: MINOR=0

P: /devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1
M: 1-2:1.1
U: usb
T: usb_interface
E: DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1
E: SUBSYSTEM=usb
E: DEVTYPE=usb_interface
E: DRIVER=cdc_acm
E: PRODUCT=e8d/2000/100
E: TYPE=2/0/0
E: INTERFACE=10/0/0

P: /devices/pci0000:00/0000:00:14.0/usb1/1-3
M: 1-3
U: usb
T: usb_device
E: DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1/1-3
E: SUBSYSTEM=usb
E: DEVTYPE=usb_device
E: PRODUCT=1782/4d00/ffff
E: TYPE=0/0/0
E: ID_VENDOR=Spreadtrum
E: ID_VENDOR_ID=1782
E: ID_MODEL=Gadget_Serial
E: ID_MODEL_ID=4d00
E: ID_SERIAL=Spreadtrum_Gadget_Serial_19761202abc
E: ID_SERIAL_SHORT=19761202abc

P: /devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0
M: 1-3:1.0
U: usb
T: usb_interface
E: DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0
E: SUBSYSTEM=usb
E: DEVTYPE=usb_interface
E: PRODUCT=1782/4d00/ffff
E: TYPE=0/0/0
E: INTERFACE=255/0/0

P: /devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4.2
M: 1-4.2
U: usb
T: usb_device
E: DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4.2
E: SUBSYSTEM=usb
E: DEVTYPE=usb_device
E: PRODUCT=18d1/4ee2/440
E: TYPE=0/0/0
E: ID_VENDOR=Google
E: ID_MODEL=Nexus_4
E: ID_SERIAL_SHORT=04f228d1d9c76f39
E: ID_MODEL_FROM_DATABASE=Nexus Device (debug)

P: /devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4.2/1-4.2:1.0
M: 1-4.2:1.0
U: usb
T: usb_interface
E: DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4.2/1-4.2:1.0
E: SUBSYSTEM=usb
E: DEVTYPE=usb_interface
E: PRODUCT=18d1/4ee2/440
E: INTERFACE=6/1/1

P: /devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4.2/1-4.2:1.1
M: 1-4.2:1.1
U: usb
T: usb_interface
E: DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4.2/1-4.2:1.1
E: SUBSYSTEM=usb
E: DEVTYPE=usb_interface
E: PRODUCT=18d1/4ee2/440
E: INTERFACE=255/66/1

P: /devices/pci0000:00/0000:00:14.0/usb1/1-5
M: 1-5
U: usb
T: usb_device
E: DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1/1-5
E: SUBSYSTEM=usb
E: DEVTYPE=usb_device
E: PRODUCT=67b/2303/300
E: TYPE=0/0/0
E: ID_SERIAL=Prolific_USB-Serial_Controller

P: /devices/pci0000:00/0000:00:14.0/usb1/1-5/1-5:1.0/ttyUSB0/tty/ttyUSB0
M: ttyUSB0
U: tty
E: DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1/1-5/1-5:1.0/ttyUSB0/tty/ttyUSB0
E: SUBSYSTEM=tty
E: DEVNAME=/dev/ttyUSB0

P: /devices/pnp0/00:04/tty/ttyS0
M: ttyS0
U: tty
E: DEVPATH=/devices/pnp0/00:04/tty/ttyS0
E: SUBSYSTEM=tty
E: DEVNAME=/dev/ttyS0

P: /devices/platform/serial8250/tty/ttyS1
M: ttyS1
U: tty
E: DEVPATH=/devices/platform/serial8250/tty/ttyS1
E: SUBSYSTEM=tty
E: DEVNAME=/dev/ttyS1

P: /devices/virtual/tty/tty0
M: tty0
U: tty
E: DEVPATH=/devices/virtual/tty/tty0
E: SUBSYSTEM=tty
E: DEVNAME=/dev/tty0
)";

std::vector<std::string> Ids(const std::vector<platform::WmiRow>& rows) {
  std::vector<std::string> ids;
  for (const platform::WmiRow& row : rows)
    ids.push_back(row["DeviceID"]);
  return ids;
}

TEST(UdevFacts, ExportParsesIntoRecordsWithPathAndProperties) {
  const auto records = ParseUdevExport(kExportDb);
  ASSERT_EQ(records.size(), 16u);
  EXPECT_EQ(records[2].devpath, "/devices/pci0000:00/0000:00:14.0/usb1/1-2");
  EXPECT_EQ(records[2].properties.at("PRODUCT"), "e8d/2000/100");
  EXPECT_EQ(records[2].properties.at("ID_USB_INTERFACES"), ":020200:0a0000:");
}

TEST(UdevFacts, ExportWithCrLfNoTrailingBlankAndOnlyDevpathStillParses) {
  const auto records = ParseUdevExport(
      "E: DEVPATH=/devices/a/usb1/1-1\r\nE: SUBSYSTEM=usb\r\nE: EMPTY=\r\n\r\n\r\n"
      "P: /devices/b\r\nE: X=a=b");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].devpath, "/devices/a/usb1/1-1");
  EXPECT_EQ(records[0].properties.at("EMPTY"), "");
  EXPECT_EQ(records[1].properties.at("X"), "a=b");
}

TEST(UdevFacts, PnpIdsAreWrittenTheWayWindowsWritesThem) {
  const auto rows = platform::PnpEntitiesFromUdev(ParseUdevExport(kExportDb));
  const auto ids = Ids(rows);
  ASSERT_EQ(ids.size(), 8u) << testing::PrintToString(ids);
  EXPECT_TRUE(ids[0].starts_with("USB\\ROOT_HUB20\\4&")) << ids[0];
  EXPECT_TRUE(ids[1].starts_with("USB\\ROOT_HUB30\\4&")) << ids[1];
  // No serial number: the instance id names the hub port (2).
  EXPECT_TRUE(ids[2].starts_with("USB\\VID_0E8D&PID_2000\\5&")) << ids[2];
  EXPECT_TRUE(ids[2].ends_with("&0&2")) << ids[2];
  // The serial number, in upper case; one interface, so no interface entry.
  EXPECT_EQ(ids[3], "USB\\VID_1782&PID_4D00\\19761202ABC");
  // A composite device and its two interfaces.
  EXPECT_EQ(ids[4], "USB\\VID_18D1&PID_4EE2\\04F228D1D9C76F39");
  EXPECT_TRUE(ids[5].starts_with("USB\\VID_18D1&PID_4EE2&MI_00\\6&")) << ids[5];
  EXPECT_TRUE(ids[5].ends_with("&0&0000")) << ids[5];
  EXPECT_TRUE(ids[6].starts_with("USB\\VID_18D1&PID_4EE2&MI_01\\6&")) << ids[6];
  EXPECT_TRUE(ids[7].starts_with("USB\\VID_067B&PID_2303\\5&")) << ids[7];
  EXPECT_TRUE(ids[7].ends_with("&0&5")) << ids[7];

  EXPECT_EQ(rows[4]["Name"], "Nexus Device (debug)");
  EXPECT_EQ(rows[3]["Name"], "Gadget Serial");
  EXPECT_EQ(rows[3]["PNPDeviceID"], ids[3]);
  // Devices on the same hub get different place ids; the same device always
  // the same one.
  EXPECT_NE(ids[2].substr(ids[2].find('\\', 4)), ids[7].substr(ids[7].find('\\', 4)));
  EXPECT_EQ(Ids(platform::PnpEntitiesFromUdev(ParseUdevExport(kExportDb))), ids);
}

TEST(UdevFacts, SerialNumbersWindowsRefusesGiveThePlaceId) {
  for (const char* serial : {"AB 12", "AB,12", "\xc3\xa9t\xc3\xa9", ""}) {
    SCOPED_TRACE(serial);
    platform::UdevRecord device;
    device.devpath = "/devices/pci0000:00/0000:00:14.0/usb1/1-7";
    device.properties = {{"SUBSYSTEM", "usb"},
                         {"DEVTYPE", "usb_device"},
                         {"PRODUCT", "2207/330c/100"},
                         {"TYPE", "0/0/0"}};
    device.attributes = {{"serial", serial}};
    const auto ids = Ids(platform::PnpEntitiesFromUdev({device}));
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_TRUE(ids[0].starts_with("USB\\VID_2207&PID_330C\\5&")) << ids[0];
    EXPECT_TRUE(ids[0].ends_with("&0&7")) << ids[0];
  }
}

TEST(UdevFacts, DevicesWithoutAUsableProductAreLeftOut) {
  for (const char* product : {"", "zz/2000/1", "e8d", "10000/1/1", "e8d/2000x/1"}) {
    SCOPED_TRACE(product);
    platform::UdevRecord device;
    device.devpath = "/devices/x/usb1/1-1";
    device.properties = {{"SUBSYSTEM", "usb"}, {"DEVTYPE", "usb_device"}, {"PRODUCT", product}};
    EXPECT_TRUE(platform::PnpEntitiesFromUdev({device}).empty());
  }
}

TEST(UdevFacts, SerialMapHasTheHardwarePortsWithStablePortNames) {
  const auto map = platform::SerialCommFromUdev(ParseUdevExport(kExportDb));
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"\\Device\\ttyS0", "COM1"}, {"\\Device\\ttyACM0", "COM33"}, {"\\Device\\ttyUSB0", "COM65"}};
  EXPECT_EQ(map, expected);
}

TEST(UdevFacts, SerialMapLeavesOutNamesWithoutAPortNumber) {
  std::vector<platform::UdevRecord> records;
  for (const char* name : {"ttyUSB31", "ttyUSB32", "ttyUSBx", "ttyXRUSB0", "ttyAMA0"}) {
    records.push_back(
        {std::string("/devices/pci0000:00/x/tty/") + name, {{"SUBSYSTEM", "tty"}}, {}});
  }
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"\\Device\\ttyUSB31", "COM96"}, {"\\Device\\ttyAMA0", "COM97"}};
  EXPECT_EQ(platform::SerialCommFromUdev(records), expected);
}

TEST(UdevFacts, LinuxBackendAnswersThePnpQueryFromUdev) {
  const auto ports = LinuxPorts();
  std::vector<platform::WmiRow> rows;
  ASSERT_NO_THROW(rows = ports.wmi->Query("SELECT deviceid FROM Win32_PnPEntity"));
  for (const auto& row : rows)
    EXPECT_TRUE(row["DeviceID"].starts_with("USB\\")) << row["DeviceID"];
}

}  // namespace
