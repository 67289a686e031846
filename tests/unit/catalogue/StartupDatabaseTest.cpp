// The program's start-up in a demo world: the databases it opens, and the
// end of the run when one of them cannot be opened.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include "app/Fmessage.h"
#include "app/Globals.h"
#include "app/ProgramEntry.h"
#include "app/ServerSettings.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/DataModule.h"
#include "platform/Platform.h"
#include "sim/DemoState.h"
#include "sim/DemoWorld.h"

namespace {

class StartupDatabaseTest : public testing::Test {
 protected:
  void SetUp() override {
    auto created = sim::DemoWorld::Create({});
    ASSERT_TRUE(created) << created.error();
    world_ = std::move(*created);
    auto state = sim::WriteDemoState(*world_, QStringLiteral("/bin/true"));
    ASSERT_TRUE(state) << state.error().toStdString();
    statePath_ = state->toStdString();
    ServerSettings::SetMakerBaseUrl(world_->ServerUrl());
    ServerSettings::SetGeoBaseUrl(world_->GeoUrl());
  }

  void TearDown() override {
    DestroyProgramObjects();
    platform::SetCurrent({});
  }

  void Start() {
    platform::SetCurrent(platform::CreatePlatform({"sim", statePath_, nullptr}));
    CreateProgramObjects();
  }

  QString DataFile(const char* name) const {
    return QString::fromStdString((world_->DataDir() / name).string());
  }

  void ExpectRunEndsWithoutFile(const char* name) {
    ASSERT_TRUE(QFile::remove(DataFile(name)));
    Start();
    QString shown;
    QTimer::singleShot(50, [&shown] {
      shown = Fmessage->findChild<QLabel*>(QStringLiteral("mensagem"))->text();
      Fmessage->done(1);
    });
    fp->show();
    for (int i = 0; i < 100 && !UAPI->Terminating(); ++i) {
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_TRUE(UAPI->Terminating());
    EXPECT_TRUE(shown.contains(QStringLiteral("\"") + DataFile(name) + QStringLiteral("\"")))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("não foi encontrado"))) << shown.toStdString();
    EXPECT_FALSE(QFile::exists(DataFile(name))) << "the program never creates the file";
    // The run never began: no facts on the main window.
    EXPECT_TRUE(fp->cpu()->text().isEmpty());
  }

  std::unique_ptr<sim::DemoWorld> world_;
  std::string statePath_;
};

TEST_F(StartupDatabaseTest, StartUpOpensBothDatabasesAndTheModelCodes) {
  Start();
  EXPECT_TRUE(dm->OpenFailure().isEmpty()) << dm->OpenFailure().toStdString();
  EXPECT_TRUE(dm->adoConnBase.Connected());
  EXPECT_TRUE(dm->adoLogConn.Connected());
  EXPECT_EQ(UAPI->ReturnIdFromRadical(QStringLiteral("0000T10RK")), QStringLiteral("104"));
}

// The main window's first showing happens once per process, so each file
// has a test of its own.
TEST_F(StartupDatabaseTest, MissingCatalogueEndsTheRunWithAMessageNamingTheFile) {
  ExpectRunEndsWithoutFile(Tdm::kCatalogueFile);
}

TEST_F(StartupDatabaseTest, MissingLogEndsTheRunWithAMessageNamingTheFile) {
  ExpectRunEndsWithoutFile(Tdm::kLogFile);
}

}  // namespace
