// The machine facts gathered by the program's start-up in a demo world and
// shown on the main window.
#include <gtest/gtest.h>

#include <QLabel>

#include "app/Globals.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "platform/ManualClock.h"
#include "platform/Platform.h"
#include "support/ProgramWorld.h"

namespace {

class StartupFactsTest : public ProgramWorldTest {
 protected:
  std::shared_ptr<platform::ManualClock> clock_ =
      std::make_shared<platform::ManualClock>(0xFFFFFFFFu - 4999);
};

TEST_F(StartupFactsTest, MainWindowShowsTheFactsOfTheSimulatedPc) {
  world_->GeoServer().SetGeolocation(
      {200, sim::GeolocationJson("177.10.20.30", "Florianópolis", "Santa Catarina")});
  Start(clock_);
  EXPECT_EQ(UAPI->InfoIp, QStringLiteral("177.10.20.30"));
  EXPECT_EQ(UAPI->InfoCidade, QStringLiteral("Florianópolis"));
  EXPECT_EQ(UAPI->InfoEstado, QStringLiteral("Santa Catarina"));
  EXPECT_EQ(UAPI->InfoMemoriaFree, QStringLiteral("3072"));

  fp->show();
  EXPECT_EQ(fp->Windows()->text(), QStringLiteral("Microsoft Windows 10 Pro - 64 bits"));
  EXPECT_EQ(fp->cpu()->text(), QStringLiteral("CPU: INTEL(R) CORE(TM) I5-10210U CPU @ 1.60GHZ"));
  EXPECT_EQ(fp->memoria()->text(), QStringLiteral("Memória: 8192 MB"));
  EXPECT_EQ(fp->disk()->text(), QStringLiteral("Cap do Disco : 238 GB"));
  EXPECT_EQ(fp->diskfree()->text(), QStringLiteral("Disco livre: 100 GB"));
}

TEST_F(StartupFactsTest, StartUpGoesOnWithoutTheGeolocationService) {
  world_->GeoServer().Stop();
  Start(clock_);
  EXPECT_EQ(UAPI->InfoIp, QString());
  EXPECT_EQ(UAPI->InfoCidade, QString());
  EXPECT_EQ(UAPI->InfoEstado, QString());
  EXPECT_EQ(UAPI->InfoMemoria, QStringLiteral("8192"));
  EXPECT_FALSE(UAPI->FExecVersion.isEmpty());  // the steps after the facts ran
}

TEST_F(StartupFactsTest, ElapsedTimesCountAcrossATickWrap) {
  Start(clock_);
  EXPECT_EQ(UAPI->systemTotalTimeUp(), QStringLiteral("0"));
  EXPECT_EQ(UAPI->SystemFirmwareDownloadTime(), QStringLiteral("0"));
  EXPECT_TRUE(UAPI->LastMessureDownloadTime.isEmpty()) << "no download began";

  UAPI->FInitFirwmareDownload = clock_->TickCount();
  clock_->Advance(std::chrono::milliseconds(7999));  // the tick count wraps on the way
  EXPECT_EQ(UAPI->systemTotalTimeUp(), QStringLiteral("7"));
  EXPECT_EQ(UAPI->SystemFirmwareDownloadTime(), QStringLiteral("7"));
  EXPECT_EQ(UAPI->LastMessureDownloadTime, QStringLiteral("7"));
}

}  // namespace
