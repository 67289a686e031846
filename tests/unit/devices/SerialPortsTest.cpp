#include <gtest/gtest.h>

#include "SimPc.h"
#include "platform/sim/SimDevices.h"
#include "rewrite/SerialPorts.h"

namespace {

using Ports = std::vector<std::string>;

struct Case {
  const char* what;
  Ports before;
  Ports after;
  bool found;
  std::string port;
};

TEST(SerialPorts, ComparisonFindsTheFirstPortTheBeforeSnapshotLacks) {
  const Case cases[] = {
      {"a port added", {"COM1"}, {"COM1", "COM7"}, true, "COM7"},
      {"nothing changed", {"COM1"}, {"COM1"}, false, ""},
      {"a port vanished and none was added", {"COM1", "COM3"}, {"COM1"}, false, ""},
      {"known ports compare without regard to case", {"com7"}, {"COM7", "COM9"}, true, "COM9"},
      {"the first new one in the after order", {}, {"COM4", "COM5"}, true, "COM4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimPc sim;
    rewrite::TSerialPortSnapshots snapshots(sim.Ports().registry);
    sim.SetSerialPorts(c.before);
    snapshots.TakeBeforeSnapshot();
    EXPECT_EQ(snapshots.PortasAnteriores, c.before);
    sim.SetSerialPorts(c.after);
    EXPECT_EQ(snapshots.FindNewPort(), c.found);
    EXPECT_EQ(snapshots.PortasPosteriores, c.after);
    EXPECT_EQ(snapshots.PortaSpreadStrum, c.port);
  }
}

TEST(SerialPorts, MissingKeyGivesEmptySnapshotsUntilAPortShowsUp) {
  SimPc sim;
  rewrite::TSerialPortSnapshots snapshots(sim.Ports().registry);
  snapshots.TakeBeforeSnapshot();
  EXPECT_TRUE(snapshots.PortasAnteriores.empty());
  EXPECT_FALSE(snapshots.FindNewPort());
  sim.SetSerialPorts({"COM5"});
  EXPECT_TRUE(snapshots.FindNewPort());
  EXPECT_EQ(snapshots.PortaSpreadStrum, "COM5");
}

TEST(SerialPorts, AfterSnapshotIsRebuiltAtEveryPollNotAppended) {
  SimPc sim;
  rewrite::TSerialPortSnapshots snapshots(sim.Ports().registry);
  sim.SetSerialPorts({"COM1"});
  snapshots.TakeBeforeSnapshot();
  for (int poll = 0; poll < 3; ++poll)
    EXPECT_FALSE(snapshots.FindNewPort());
  EXPECT_EQ(snapshots.PortasPosteriores, Ports{"COM1"});
  EXPECT_EQ(snapshots.aGetValueNames, Ports{"\\Device\\Serial0"});
}

TEST(SerialPorts, PluggingASpreadtrumDeviceWithItsPortIsFoundByThePoll) {
  SimPc sim;
  sim.SetSerialPorts({"COM1"});
  rewrite::TSerialPortSnapshots snapshots(sim.Ports().registry);
  snapshots.TakeBeforeSnapshot();
  ASSERT_TRUE(platform::PlugDevice(sim.Pc(), "USB\\VID_1782&PID_4D00\\1", "SPRD U2S Diag", false));
  EXPECT_FALSE(snapshots.FindNewPort()) << "a device without its port adds no port";
  ASSERT_TRUE(platform::UnplugDevice(sim.Pc(), "USB\\VID_1782&PID_4D00\\1"));
  ASSERT_EQ(platform::PlugDevice(sim.Pc(), "USB\\VID_1782&PID_4D00\\1", "SPRD U2S Diag", true),
            "COM3");
  EXPECT_TRUE(snapshots.FindNewPort());
  EXPECT_EQ(snapshots.PortaSpreadStrum, "COM3");
}

}  // namespace
