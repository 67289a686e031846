// The Linux backend's answers for memory and drive C:.
#include "platform/linux/MachineFactsProviders.h"

#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <QTemporaryDir>

#include "platform/Platform.h"

namespace {

TEST(MemInfoTest, ReadsTheKilobytesOfExactlyTheKeyAsked) {
  const std::string meminfo =
      "MemTotal:       16303412 kB\n"
      "MemFree:         1021504 kB\n"
      "MemAvailable:    9876543 kB\n"
      "SwapTotal:             x kB\n";
  const struct {
    const char* key;
    std::optional<std::int64_t> kilobytes;
  } cases[] = {
      {"MemTotal", 16303412}, {"MemAvailable", 9876543},   {"MemFree", 1021504},
      {"Mem", std::nullopt},  {"SwapTotal", std::nullopt}, {"Cached", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::MemInfoKilobytes(meminfo, c.key), c.kilobytes) << c.key;
}

TEST(LogicalDiskProviderTest, DriveCIsTheFileSystemOfTheNearestExistingFolder) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const std::string missing = folder.path().toStdString() + "/AssistenteSolvanta/ainda/nao";
  const auto rows = platform::LogicalDiskProvider([&] { return missing; })();
  struct statvfs facts {};
  ASSERT_EQ(::statvfs(folder.path().toLocal8Bit().constData(), &facts), 0);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0]["Caption"], "C:");
  EXPECT_EQ(rows[0]["Size"], std::to_string(std::uint64_t{facts.f_frsize} * facts.f_blocks));
  EXPECT_GT(std::stoull(rows[0]["Size"]), 0u);
}

TEST(LinuxWmiTest, AnswersTheMemoryAndDriveQueriesOfTheMachineFacts) {
  auto wmi = platform::CreatePlatform({"linux", {}, nullptr}).wmi;
  const auto memory =
      wmi->Query("SELECT TotalVisibleMemorySize,FreePhysicalMemory FROM Win32_OperatingSystem");
  ASSERT_EQ(memory.size(), 1u);
  const auto total = std::stoll(memory[0]["TotalVisibleMemorySize"]);
  EXPECT_GT(total, 0);
  EXPECT_LE(std::stoll(memory[0]["FreePhysicalMemory"]), total);

  const auto drive =
      wmi->Query("SELECT Size,FreeSpace  FROM Win32_LogicalDisk where Caption =\"C:\"");
  ASSERT_EQ(drive.size(), 1u);
  EXPECT_LE(std::stoull(drive[0]["FreeSpace"]), std::stoull(drive[0]["Size"]));
  EXPECT_TRUE(wmi->Query("SELECT Size FROM Win32_LogicalDisk where Caption =\"D:\"").empty());
}

}  // namespace
