#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "TestRequests.h"
#include "platform/ManualClock.h"
#include "platform/Platform.h"

namespace platform {
namespace {

TEST(CreatePlatform, RefusesUnknownNamesAndSimWithoutStateFile) {
  EXPECT_THROW(CreatePlatform(Options("windows")), std::invalid_argument);
  EXPECT_THROW(CreatePlatform(Options("sim")), std::invalid_argument);
}

TEST(CreatePlatform, BuildsEveryWrittenPortAndUsesTheGivenClock) {
  QTemporaryDir dir;
  auto clock = std::make_shared<ManualClock>(7);
  for (const std::string name : {"linux", "sim"}) {
    const Platform ports =
        CreatePlatform(Options(name, dir.filePath("pc.json").toStdString(), clock));
    EXPECT_EQ(ports.name, name);
    EXPECT_EQ(ports.clock, clock);
    EXPECT_TRUE(ports.environment && ports.registry && ports.wmi && ports.shell && ports.fonts &&
                ports.taskbar)
        << name;
  }
  EXPECT_NE(CreatePlatform({}).clock, nullptr);
}

TEST(CreatePlatform, LinuxWmiAnswersTheStartUpQueries) {
  Platform ports = CreatePlatform({});
  const auto os = ports.wmi->Query("SELECT Caption,Ostype,Version FROM CIM_OperatingSystem");
  ASSERT_EQ(os.size(), 1u);
  EXPECT_FALSE(os[0]["Caption"].empty());
  EXPECT_EQ(os[0]["OSType"], "36");
  const auto width = ports.wmi->Query("SELECT AddressWidth FROM Win32_Processor");
  ASSERT_EQ(width.size(), 1u);
  EXPECT_TRUE(width[0]["AddressWidth"] == "64" || width[0]["AddressWidth"] == "32");
  const auto serial = ports.wmi->Query("SELECT SerialNumber FROM Win32_OperatingSystem");
  EXPECT_EQ(
      serial.at(0)["SerialNumber"],
      ports.wmi->Query("SELECT SerialNumber FROM Win32_OperatingSystem").at(0)["SerialNumber"]);
  EXPECT_THROW(ports.wmi->Query("SELECT x FROM Win32_NoSuchClass"), WmiError);
}

TEST(CurrentPlatform, KeepsWhatWasSet) {
  SetCurrent(CreatePlatform({}));
  EXPECT_EQ(Current().name, "linux");
  EXPECT_NE(Current().shell, nullptr);
}

}  // namespace
}  // namespace platform
