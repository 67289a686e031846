#include <gtest/gtest.h>

#include <QThread>
#include <thread>

#include "SimPc.h"
#include "platform/sim/SimDevices.h"

namespace {

using platform::PlugDevice;
using platform::UnplugDevice;

constexpr char kSpreadtrum[] = "USB\\VID_1782&PID_4D00\\5&2A3B4C5D&0&1";
constexpr char kMediaTek[] = "USB\\VID_0E8D&PID_2000\\5&2A3B4C5D&0&2";

std::vector<std::string> PortsOf(SimPc& sim) {
  std::vector<std::string> ports;
  auto& registry = *sim.Ports().registry;
  for (const auto& name :
       registry.ValueNames(platform::Hive::LocalMachine, platform::kSimSerialCommKey)) {
    ports.push_back(std::get<std::string>(
        *registry.ReadValue(platform::Hive::LocalMachine, platform::kSimSerialCommKey, name)));
  }
  return ports;
}

std::vector<std::string> PnpIds(SimPc& sim) {
  std::vector<std::string> ids;
  for (const auto& row : sim.Ports().wmi->Query("SELECT DeviceID FROM Win32_PnPEntity")) {
    ids.push_back(row["DeviceID"]);
  }
  return ids;
}

TEST(SimDevices, PlugAndUnplugChangeThePnpListAndTheSerialMapTogether) {
  SimPc sim;
  sim.SetSerialPorts({"COM1", "COM3"});
  EXPECT_EQ(PlugDevice(sim.Pc(), kSpreadtrum, "SPRD U2S Diag", true), "COM4");
  EXPECT_EQ(PlugDevice(sim.Pc(), kMediaTek, "MediaTek PreLoader", false), "");
  EXPECT_EQ(PnpIds(sim), (std::vector<std::string>{kSpreadtrum, kMediaTek}));
  EXPECT_EQ(PortsOf(sim), (std::vector<std::string>{"COM1", "COM3", "COM4"}));
  const auto devices = platform::PluggedDevices(sim.Pc());
  ASSERT_EQ(devices.size(), 2u);
  EXPECT_EQ(devices[0].name, "SPRD U2S Diag");
  EXPECT_EQ(devices[0].port, "COM4");
  EXPECT_EQ(devices[1].port, "");

  EXPECT_TRUE(UnplugDevice(sim.Pc(), kSpreadtrum));
  EXPECT_EQ(PnpIds(sim), (std::vector<std::string>{kMediaTek}));
  EXPECT_EQ(PortsOf(sim), (std::vector<std::string>{"COM1", "COM3"}));
  EXPECT_EQ(sim.Pc().State().value(u"deviceChanges").toInteger(), 3);
}

TEST(SimDevices, PluggingTwiceOrPullingAnAbsentDeviceChangesNothing) {
  SimPc sim;
  ASSERT_TRUE(PlugDevice(sim.Pc(), kSpreadtrum, "SPRD U2S Diag", true));
  EXPECT_FALSE(PlugDevice(sim.Pc(), kSpreadtrum, "SPRD U2S Diag", true));
  EXPECT_FALSE(UnplugDevice(sim.Pc(), kMediaTek));
  EXPECT_EQ(PnpIds(sim).size(), 1u);
  EXPECT_EQ(PortsOf(sim), std::vector<std::string>{"COM3"});
  EXPECT_EQ(sim.Pc().State().value(u"deviceChanges").toInteger(), 1);
}

TEST(SimDevices, ChangesFromAnotherThreadAreNotifiedOnTheSubscribersThread) {
  SimPc sim;
  int notified = 0;
  bool onOwnThread = true;
  QThread* const main = QThread::currentThread();
  sim.Ports().deviceEvents->Subscribe([&] {
    ++notified;
    onOwnThread = onOwnThread && QThread::currentThread() == main;
  });
  std::thread([&] { PlugDevice(sim.Pc(), kSpreadtrum, "SPRD U2S Diag", false); }).join();
  ASSERT_TRUE(WaitUntil([&] { return notified == 1; }));
  EXPECT_TRUE(onOwnThread);
  UnplugDevice(sim.Pc(), kSpreadtrum);
  EXPECT_TRUE(WaitUntil([&] { return notified == 2; }));
}

TEST(SimDevices, OtherStateChangesAreNoDeviceChange) {
  SimPc sim;
  int notified = 0;
  sim.Ports().deviceEvents->Subscribe([&] { ++notified; });
  sim.Pc().Change([](QJsonObject& state) { state.insert("fontChanges", 4); });
  const QDeadlineTimer settle(300);
  while (!settle.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(notified, 0);
  PlugDevice(sim.Pc(), kMediaTek, "MediaTek PreLoader", false);
  EXPECT_TRUE(WaitUntil([&] { return notified == 1; }));
}

}  // namespace
