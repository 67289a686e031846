// The extraction screens driven as the recovery flow drives them, in a demo
// world with the maker's server on loopback.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/Globals.h"
#include "app/ProgramEntry.h"
#include "app/ServerSettings.h"
#include "app/UAPI.h"
#include "catalogue/DataModule.h"
#include "download/uFormDescompactaFirmwares.h"
#include "download/uFormdownloadextractgeral.h"
#include "drivers/SmoothProgressBar.h"
#include "platform/Platform.h"
#include "sim/ArchiveWriters.h"
#include "sim/DemoState.h"
#include "sim/DemoWorld.h"

namespace {

namespace fs = std::filesystem;
using sim::ArchiveFile;

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class ArchiveScreens : public testing::Test {
 protected:
  void SetUp() override {
    auto created = sim::DemoWorld::Create({});
    ASSERT_TRUE(created) << created.error();
    world_ = std::move(*created);
    const fs::path restart = world_->Root() / "restart.sh";
    std::ofstream(restart) << "#!/bin/sh\n";
    fs::permissions(restart, fs::perms::owner_all);
    auto state = sim::WriteDemoState(*world_, QString::fromStdString(restart.string()));
    ASSERT_TRUE(state) << state.error().toStdString();
    ServerSettings::SetMakerBaseUrl(world_->ServerUrl());
    platform::PlatformOptions options;
    options.name = "sim";
    options.simStatePath = state->toStdString();
    platform::SetCurrent(platform::CreatePlatform(options));
    CreateProgramObjects();
    QDir().mkpath(UAPI->FisoDir);
  }

  void TearDown() override {
    DestroyProgramObjects();
    platform::SetCurrent({});
  }

  // The chosen device: the catalogue's tablet 104, its firmware named `file`.
  void ChooseDevice(const QString& file) {
    ASSERT_TRUE(dm->SelectKind(1));
    ASSERT_TRUE(dm->devices.Locate(QStringLiteral("id"), 104));
    UAPI->ItemIsoLink =
        QString::fromStdString(world_->ServerUrl()) + QStringLiteral("/solvanta/firmwares/") + file;
  }

  static int Run(QDialog* screen) {
    QTimer::singleShot(20000, screen, [screen] { screen->reject(); });  // a hang fails the test
    return screen->exec();
  }

  QString DeviceFolder() const { return UAPI->FisoDir + QStringLiteral("104/"); }

  std::unique_ptr<sim::DemoWorld> world_;
};

TEST_F(ArchiveScreens, IsoExpExtractsAnUpperCaseZipIntoTheDeviceFolderEmptiedEveryTime) {
  ChooseDevice(QStringLiteral("T10PRO.ZIP"));
  const QString zip = UAPI->FisoDir + QStringLiteral("T10PRO.ZIP");
  ASSERT_TRUE(sim::WriteZip(
      zip.toStdString(), {{"imagens/system.img", std::string(300'000, 's')}, {"boot.img", "b"}}));
  for (int run = 0; run < 2; ++run) {
    QDir().mkpath(DeviceFolder());
    QFile stale(DeviceFolder() + QStringLiteral("antigo.txt"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    EXPECT_EQ(Run(IsoExp), QDialog::Accepted);
    EXPECT_EQ(UAPI->ItemIsoPlace, DeviceFolder());
    EXPECT_FALSE(QFile::exists(DeviceFolder() + QStringLiteral("antigo.txt"))) << run;
    EXPECT_EQ(ReadAll(DeviceFolder() + QStringLiteral("boot.img")), "b");
    EXPECT_EQ(ReadAll(DeviceFolder() + QStringLiteral("imagens/system.img")).size(), 300'000);
    EXPECT_TRUE(QFile::exists(zip));
    EXPECT_EQ(IsoExp->progressoGeral()->text(), QStringLiteral("Arquivos processados: 100%"));
    EXPECT_EQ(IsoExp->Progressoitem()->text(), QStringLiteral("Processando: 100%"));
    EXPECT_TRUE(IsoExp->FirmwareFilename.isEmpty());
  }
}

TEST_F(ArchiveScreens, IsoExpFollowsRarVolumesWithTheArchivePercentagePassingHundred) {
  ChooseDevice(QStringLiteral("fw.part1.rar"));
  auto volumes =
      sim::WriteStoredRar4((UAPI->FisoDir + QStringLiteral("fw.part1.rar")).toStdString(),
                           {{"a.bin", std::string(50'000, 'a')},
                            {"b.bin", std::string(30'000, 'b')},
                            {"c/c.bin", std::string(10'000, 'c')}},
                           40'000);
  ASSERT_TRUE(volumes);
  ASSERT_EQ(volumes->size(), 3u);

  EXPECT_EQ(Run(IsoExp), QDialog::Accepted);
  EXPECT_EQ(ReadAll(DeviceFolder() + QStringLiteral("c/c.bin")), QByteArray(10'000, 'c'));
  EXPECT_EQ(ReadAll(DeviceFolder() + QStringLiteral("a.bin")), QByteArray(50'000, 'a'));
  // The totals come from the first volume (50 000 bytes); 90 000 were unpacked.
  EXPECT_EQ(IsoExp->progressoGeral()->text(), QStringLiteral("Processando : 180%"));
  EXPECT_EQ(IsoExp->Progressoitem()->text(), QStringLiteral("Arquivos processados : 100%"));
}

TEST_F(ArchiveScreens, IsoExpLeavesAFirmwareThatIsNoArchiveInTheFirmwareFolder) {
  ChooseDevice(QStringLiteral("t10pro.pac"));
  for (const char* name : {"t10pro.pac", "outro.bin"}) {
    QFile file(UAPI->FisoDir + QLatin1String(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("firmware");
  }
  EXPECT_EQ(Run(IsoExp), QDialog::Accepted);
  EXPECT_EQ(UAPI->ItemIsoPlace, UAPI->FisoDir);
  EXPECT_EQ(ReadAll(UAPI->FisoDir + QStringLiteral("t10pro.pac")), "firmware");
  EXPECT_EQ(ReadAll(UAPI->FisoDir + QStringLiteral("outro.bin")), "firmware");
}

TEST_F(ArchiveScreens, IsoExpWithAMissingOrDamagedArchiveStillClosesWithTheFolderReady) {
  for (const char* name : {"ausente.rar", "danificado.zip"}) {
    ChooseDevice(QLatin1String(name));
    if (QLatin1String(name).endsWith(QLatin1String(".zip"))) {
      QFile file(UAPI->FisoDir + QLatin1String(name));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write("PK\3\4 cortado");
    }
    EXPECT_EQ(Run(IsoExp), QDialog::Accepted) << name;
    EXPECT_TRUE(QDir(DeviceFolder()).exists()) << name;
  }
}

TEST_F(ArchiveScreens, ExtFilesFetchesTheRewrittenUrlAndUnpacksIntoASubfolder) {
  const fs::path served = world_->ServedDir() / "solvanta/rewriter/spreadstrum tool.zip";
  ASSERT_TRUE(sim::WriteZip(served, {{"bin/CmdDloader.exe", "#!/bin/sh\n", false, true}}));
  const QString folder = UAPI->FSoftRewritersDir;
  ExtFiles->ZeraParm();
  ExtFiles->AddUrl(QString::fromStdString(world_->ServerUrl()) +
                   QStringLiteral("/Solvanta/REWRITER\\Spreadstrum Tool.zip"));
  ExtFiles->AddLocalSalvar(folder);
  ExtFiles->AddDescompDirSimNao(true);
  ExtFiles->AddProgressoGeralTitulo(QStringLiteral("Processando Arquivos Auxiliares..."));
  ExtFiles->AddExtrairParaSubDir(true);

  EXPECT_EQ(Run(ExtFiles), QDialog::Accepted);
  bool fetchedRewritten = false;
  for (const auto& request : world_->Server().Requests()) {
    fetchedRewritten |= request.path == "/solvanta/rewriter/spreadstrum tool.zip";
  }
  EXPECT_TRUE(fetchedRewritten);
  EXPECT_TRUE(QFile::exists(folder + QStringLiteral("Spreadstrum Tool.zip")));
  EXPECT_EQ(ReadAll(folder + QStringLiteral("Spreadstrum Tool/bin/CmdDloader.exe")), "#!/bin/sh\n");
  EXPECT_EQ(ExtFiles->progressoGeral()->text(),
            QStringLiteral("Progresso Geral: Descomprimindo Arquivos..."));
  EXPECT_EQ(ExtFiles->ProgressoItem()->text(), QStringLiteral("Progresso: 100%"));
  EXPECT_EQ(ExtFiles->AbProgress()->Maximum(), 2);
  EXPECT_EQ(ExtFiles->AbProgress()->Position(), 2);
}

TEST_F(ArchiveScreens, ExtFilesWithTheArchivePresentDownloadsNothingAndDropsOnlyLowerCaseZip) {
  const QString folder = UAPI->FSoftRewritersDir;
  QDir().mkpath(folder);
  ASSERT_TRUE(sim::WriteZip((folder + QStringLiteral("MediaTek.ZIP.zip")).toStdString(),
                            {{"pasta/flash_tool.exe", "t"}}));
  UAPI->IsConsoleDownloaded = true;
  ExtFiles->ZeraParm();
  ExtFiles->AddUrl(QString::fromStdString(world_->ServerUrl()) +
                   QStringLiteral("/solvanta/rewriter/MediaTek.ZIP.zip"));
  ExtFiles->AddLocalSalvar(folder);
  ExtFiles->AddDescompDirSimNao(false);
  ExtFiles->AddProgressoGeralTitulo(QStringLiteral("Processando Arquivos Auxiliares..."));
  ExtFiles->AddExtrairParaSubDir(true);

  EXPECT_EQ(Run(ExtFiles), QDialog::Accepted);
  EXPECT_TRUE(world_->Server().Requests().empty());
  EXPECT_EQ(ReadAll(folder + QStringLiteral("MediaTek.ZIP/flash_tool.exe")), "t");
}

TEST(ExtFilesFetchUrl, EncodesBlanksTurnsBackslashesAndLowersCase) {
  EXPECT_EQ(ExtFilesFetchUrl(QStringLiteral("HTTP://Host/Solvanta\\Rewriter\\Media Tek Tools.ZIP")),
            QStringLiteral("http://host/solvanta/rewriter/media%20tek%20tools.zip"));
}

}  // namespace
