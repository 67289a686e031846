// Processor, memory and drive C: read through WMI on the simulated PC.
#include "report/MachineInfo.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include "platform/Platform.h"
#include "platform/sim/SimulatedPc.h"

namespace {

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
  constexpr std::int64_t kGb = std::int64_t{1} << 30;
  const struct {
    std::int64_t numerator, denominator, rounded;
  } cases[] = {
      {8388096, 1024, 8192},  // 8191.5
      {8386560, 1024, 8190},  // 8190.5
      {8387000, 1024, 8190},  // 8190.43
      {8387100, 1024, 8191},  // 8190.53
      {512, 1024, 0},
      {1536, 1024, 2},
      {0, 1024, 0},
      {2 * kGb + kGb / 2, kGb, 2},
      {3 * kGb + kGb / 2, kGb, 4},
      {255369531392, kGb, 238},
      {std::int64_t{1} << 62, kGb, std::int64_t{1} << 32},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(report::RoundHalfEven(c.numerator, c.denominator), c.rounded)
        << c.numerator << " / " << c.denominator;
  }
}

TEST(ElapsedSecondsTest, TickWrapBetweenTheTwoCountsStillGivesTheDifference) {
  const struct {
    std::uint32_t now, since, seconds;
  } cases[] = {
      {5000, 1000, 4},
      {1999, 1000, 0},
      {999, 0xFFFFFFFFu - 1000 + 1, 1},  // 1999 ms across the wrap
      {0, 0xFFFFFFFFu, 0},
      {0xFFFFFFFFu, 0, 4294967},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(report::ElapsedSeconds(c.now, c.since), c.seconds) << c.now << " - " << c.since;
  }
}

class MachineFactsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    pc_ = std::make_unique<platform::SimulatedPc>(
        folder_.filePath(QStringLiteral("pc.json")).toStdString());
    wmi_ = platform::CreatePlatform({"sim", pc_->Path(), nullptr}).wmi;
  }

  void SetRows(const char* cls, const QJsonArray& rows) {
    pc_->Change([&](QJsonObject& s) {
      QJsonObject wmi = s[QStringLiteral("wmi")].toObject();
      wmi[QString::fromLatin1(cls)] = rows;
      s[QStringLiteral("wmi")] = wmi;
    });
  }

  static QJsonObject Memory(const char* total, const char* free) {
    return {{QStringLiteral("TotalVisibleMemorySize"), QString::fromLatin1(total)},
            {QStringLiteral("FreePhysicalMemory"), QString::fromLatin1(free)}};
  }

  static QJsonObject Drive(const char* caption, const char* size, const char* free) {
    return {{QStringLiteral("Caption"), QString::fromLatin1(caption)},
            {QStringLiteral("Size"), QString::fromLatin1(size)},
            {QStringLiteral("FreeSpace"), QString::fromLatin1(free)}};
  }

  QTemporaryDir folder_;
  std::unique_ptr<platform::SimulatedPc> pc_;
  std::shared_ptr<platform::Wmi> wmi_;
};

TEST_F(MachineFactsTest, LastProcessorListedGivesTheNameInUpperCase) {
  SetRows("Win32_Processor",
          {QJsonObject{{QStringLiteral("Name"), QStringLiteral("Intel(R) Xeon(R) E5-2620")}},
           QJsonObject{{QStringLiteral("Name"), QStringLiteral("AMD Ryzen 5 5600G")}}});
  report::MachineInfo info;
  report::ReadProcessor(wmi_, info);
  EXPECT_EQ(info.InfoCpu, QStringLiteral("AMD RYZEN 5 5600G"));

  SetRows("Win32_Processor", {});
  report::ReadProcessor(wmi_, info);
  EXPECT_EQ(info.InfoCpu, QString()) << "no processor listed";
}

TEST_F(MachineFactsTest, MemoryAndDriveCFiguresAreRoundedHalfToEven) {
  SetRows("Win32_OperatingSystem", {Memory("8388096", "3146240")});
  SetRows("Win32_LogicalDisk",
          {Drive("D:", "1073741824", "0"), Drive("C:", "255369531392", "107911053312")});
  report::MachineInfo info;
  report::ReadMemory(wmi_, info);
  report::ReadDriveC(wmi_, info);
  EXPECT_EQ(info.InfoMemoria, QStringLiteral("8192"));
  EXPECT_EQ(info.InfoMemoriaFree, QStringLiteral("3072"));
  EXPECT_EQ(info.InfoDiscoCapacidade, QStringLiteral("238"));
  EXPECT_EQ(info.InfoDiscoFree, QStringLiteral("100"));
}

TEST_F(MachineFactsTest, FailedBlockLeavesItsFieldsAndTheOthersRun) {
  SetRows("Win32_Processor", {QJsonObject{{QStringLiteral("Name"), QStringLiteral("cpu")}}});
  SetRows("Win32_OperatingSystem", {Memory("2097152", "1048576")});
  const struct {
    const char* why;
    QJsonArray failures;
    QJsonObject drive;
  } cases[] = {
      {"drive query fails", {QStringLiteral("Win32_LogicalDisk")}, Drive("C:", "1", "1")},
      {"size not a number", {}, Drive("C:", "12 GB", "1073741824")},
      {"free space missing",
       {},
       {{QStringLiteral("Caption"), QStringLiteral("C:")},
        {QStringLiteral("Size"), QStringLiteral("1073741824")}}},
      {"negative size", {}, Drive("C:", "-1073741824", "0")},
  };
  for (const auto& c : cases) {
    SetRows("Win32_LogicalDisk", {c.drive});
    pc_->Change([&](QJsonObject& s) { s[QStringLiteral("wmiFailures")] = c.failures; });
    report::MachineInfo info;
    info.InfoDiscoCapacidade = QStringLiteral("7");
    info.InfoDiscoFree = QStringLiteral("3");
    report::GatherMachineInfo(wmi_, "http://127.0.0.1:1", info);
    EXPECT_EQ(info.InfoDiscoCapacidade, QStringLiteral("7")) << c.why;
    EXPECT_EQ(info.InfoDiscoFree, QStringLiteral("3")) << c.why;
    EXPECT_EQ(info.InfoCpu, QStringLiteral("CPU")) << c.why;
    EXPECT_EQ(info.InfoMemoria, QStringLiteral("2048")) << c.why;
    EXPECT_EQ(info.InfoMemoriaFree, QStringLiteral("1024")) << c.why;
  }
}

}  // namespace
