// The program's start-up in a demo world: the databases it opens, and the
// end of the run when one of them cannot be opened.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include "app/Fmessage.h"
#include "app/Globals.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/DataModule.h"
#include "platform/Platform.h"
#include "support/ProgramWorld.h"

namespace {

class StartupDatabaseTest : public ProgramWorldTest {
 protected:
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
