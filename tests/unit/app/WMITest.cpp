#include <gtest/gtest.h>

#include "FakeWmi.h"
#include "app/WMI.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kOsQuery = "SELECT Caption,Ostype,Version FROM CIM_OperatingSystem";
constexpr const char* kCpuQuery = "SELECT AddressWidth FROM Win32_Processor";

TEST(TWMI, GetOSInfoKeepsTheLastRowOfBothQueries) {
  auto wmi = std::make_shared<FakeWmi>();
  wmi->answers[kOsQuery] = {{{"Caption", "first"}, {"OSType", "1"}, {"Version", "1.0"}},
                            {{"caption", "Debian GNU/Linux 12"}, {"ostype", "36"}}};
  wmi->answers[kCpuQuery] = {{{"AddressWidth", "32"}}, {{"AddressWidth", "64"}}};
  TWMI service(wmi);
  service.GetOSInfo();
  EXPECT_EQ(service.Caption(), "Debian GNU/Linux 12");
  EXPECT_EQ(service.OSType(), "36");
  EXPECT_EQ(service.Version(), "") << "the last row lacks Version";
  EXPECT_EQ(service.AddressWidth(), 64);
}

TEST(TWMI, AddressWidthThatIsNoNumberReadsAsZero) {
  auto wmi = std::make_shared<FakeWmi>();
  wmi->answers[kOsQuery] = {};
  wmi->answers[kCpuQuery] = {{{"AddressWidth", "64"}}, {{"AddressWidth", "wide"}}};
  TWMI service(wmi);
  service.GetOSInfo();
  EXPECT_EQ(service.AddressWidth(), 0);
  EXPECT_EQ(service.Caption(), "");
}

TEST(TWMI, PortFailuresPropagateAsWmiError) {
  auto wmi = std::make_shared<FakeWmi>();
  wmi->answers[kOsQuery] = {{{"Caption", "x"}}};
  TWMI service(wmi);
  EXPECT_THROW(service.GetOSInfo(), platform::WmiError) << "processor query unknown";
  EXPECT_THROW(service.CreateQuery("SELECT Nothing FROM Nowhere"), platform::WmiError);
  EXPECT_THROW(TWMI(nullptr), platform::WmiError);
}

TEST(TWMIQuery, WalksRowsOnceAndReadsMissingPropertiesAsEmpty) {
  TWMIQuery query({{{"Name", "a"}}, {{"Name", "b"}, {"Extra", "e"}}});
  EXPECT_EQ(query.Value("Name"), "") << "before the first row";
  ASSERT_TRUE(query.Next());
  EXPECT_EQ(query.Value("NAME"), "a");
  EXPECT_EQ(query.Value("Extra"), "");
  ASSERT_TRUE(query.Next());
  EXPECT_EQ(query.Value("Extra"), "e");
  EXPECT_FALSE(query.Next());
  EXPECT_EQ(query.Value("Name"), "") << "after the last row";
  EXPECT_FALSE(query.Next());
}

TEST(TWMI, RealProvidersAnswerTheOperatingSystemQueries) {
  TWMI service(platform::CreatePlatform(platform::PlatformOptions{}).wmi);
  service.GetOSInfo();
  EXPECT_NE(service.Caption(), "");
  EXPECT_EQ(service.AddressWidth(), sizeof(void*) * 8);
}

}  // namespace
