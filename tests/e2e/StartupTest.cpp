// The program's start-up and close in a demo world on the simulated PC.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/Fmessage.h"
#include "app/Globals.h"
#include "app/ProgramEntry.h"
#include "app/Screen.h"
#include "app/ServerSettings.h"
#include "app/SystemDone.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "platform/Platform.h"
#include "platform/sim/SimulatedPc.h"
#include "service/UpdateSystem.h"
#include "sim/DemoState.h"
#include "sim/DemoWorld.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSerial = "00330-80000-00000-AA385";

class StartupTest : public testing::Test {
 protected:
  void SetUp() override {
    sim::DemoWorldOptions options;
    options.fontsSource = SOLVANTA_FONTS_DIR;
    auto created = sim::DemoWorld::Create(options);
    ASSERT_TRUE(created) << created.error();
    world_ = std::move(*created);
    // The program a restart starts is a script that leaves a mark.
    restartMark_ = world_->Root() / "restarted";
    const fs::path fake = world_->Root() / "fake-program.sh";
    std::ofstream(fake) << "#!/bin/sh\npwd > '" << restartMark_.string() << "'\n";
    fs::permissions(fake, fs::perms::owner_all);
    auto state = sim::WriteDemoState(*world_, QString::fromStdString(fake.string()));
    ASSERT_TRUE(state) << state.error().toStdString();
    pc_ = std::make_unique<platform::SimulatedPc>(state->toStdString());
    ServerSettings::SetMakerBaseUrl(world_->ServerUrl());
  }

  void TearDown() override {
    DestroyProgramObjects();
    platform::SetCurrent({});
  }

  void Start() {
    platform::PlatformOptions options;
    options.name = "sim";
    options.simStatePath = pc_->Path();
    platform::SetCurrent(platform::CreatePlatform(options));
    CreateProgramObjects();
  }

  void SetWmi(const char* cls, const QJsonObject& row) {
    pc_->Change([&](QJsonObject& s) {
      QJsonObject wmi = s[QStringLiteral("wmi")].toObject();
      wmi[QString::fromLatin1(cls)] = QJsonArray{row};
      s[QStringLiteral("wmi")] = wmi;
    });
  }

  void SetHomologacao(std::optional<std::uint32_t> value) {
    const auto pc = platform::CreatePlatform({"sim", pc_->Path(), nullptr});
    auto& registry = *pc.registry;
    const std::string key = "SOFTWARE\\AssistenteSolvanta";
    registry.CreateKey(platform::Hive::CurrentUser, key);
    if (value) {
      registry.WriteValue(platform::Hive::CurrentUser, key, "ishomologacao", *value);
    } else {
      registry.DeleteValue(platform::Hive::CurrentUser, key, "ishomologacao");
    }
  }

  std::optional<platform::RegistryValue> Homologacao() {
    return platform::Current().registry->ReadValue(platform::Hive::CurrentUser,
                                                   "SOFTWARE\\AssistenteSolvanta", "ishomologacao");
  }

  QJsonArray ShellLog() { return pc_->State()[QStringLiteral("shellLog")].toArray(); }

  // Presses the dialog's OK button as soon as it is shown.
  static void AnswerOkWhenShown() {
    QTimer::singleShot(50, [] {
      if (auto* ok = Fmessage->findChild<QWidget*>(QStringLiteral("BtnOk"))) {
        ASSERT_TRUE(ok->isVisible());
        Fmessage->done(1);
      }
    });
  }

  QString Temp() const { return QString::fromStdString(world_->TempDir().string()); }

  std::unique_ptr<sim::DemoWorld> world_;
  std::unique_ptr<platform::SimulatedPc> pc_;
  fs::path restartMark_;
};

TEST_F(StartupTest, LaysOutEveryFolderOfTheWorld) {
  Start();
  const QString temp = Temp();
  const QString data = QString::fromStdString(world_->LocalAppData().string()) +
                       QStringLiteral("/AssistenteSolvanta/");
  EXPECT_EQ(UAPI->FTempdir, temp + QStringLiteral("/AssistenteSolvanta/"));
  EXPECT_EQ(UAPI->FImgDir, temp + QStringLiteral("/AssistenteSolvanta/ImageCache/"));
  EXPECT_EQ(UAPI->FExecPath, QString::fromStdString(world_->ProgramDir().string()) + '/');
  EXPECT_EQ(UAPI->FdataDir, data);
  EXPECT_EQ(UAPI->FisoDir, data + QStringLiteral("Firmwares/"));
  EXPECT_EQ(UAPI->FdriverDir, data + QStringLiteral("SoftwareDrivers/"));
  EXPECT_EQ(UAPI->fHiddenDir, temp + '/' + QString::fromLatin1(kSerial) + '/');
  EXPECT_EQ(UAPI->FSoftRewritersDir, UAPI->fHiddenDir + QStringLiteral("SoftRewriters/"));
  for (const QString& dir : {UAPI->FTempdir, UAPI->FImgDir, UAPI->FisoDir, UAPI->FdataDir,
                             UAPI->fHiddenDir, UAPI->FdriverDir}) {
    EXPECT_TRUE(QDir(dir).exists()) << dir.toStdString();
  }
  EXPECT_EQ(UAPI->UrlServerRewriter,
            QString::fromStdString(world_->ServerUrl() + "/solvanta/rewriter/"));
  EXPECT_EQ(UAPI->UrlServerUpdate,
            QString::fromStdString(world_->ServerUrl() + "/solvanta/updates/"));
  EXPECT_EQ(UAPI->MainSystemBaseVersion, 1000);
  EXPECT_TRUE(platform::Current().registry->KeyExists(platform::Hive::CurrentUser,
                                                      "SOFTWARE\\AssistenteSolvanta"));
}

TEST_F(StartupTest, SameSerialGivesTheSameHiddenFolderOnEveryStart) {
  Start();
  const QString first = UAPI->fHiddenDir;
  DestroyProgramObjects();
  Start();
  EXPECT_EQ(UAPI->fHiddenDir, first);
}

TEST_F(StartupTest, UnreadableSerialNeverMakesTheTempFolderTheHiddenFolder) {
  pc_->Change([](QJsonObject& s) {
    s[QStringLiteral("wmiFailures")] = QJsonArray{QStringLiteral("Win32_OperatingSystem")};
  });
  const fs::path keep = world_->TempDir() / "user-file.txt";
  std::ofstream(keep) << "do usuário";
  Start();
  EXPECT_EQ(UAPI->fHiddenDir,
            Temp() + '/' + QString::fromLatin1(TUAPI::kFallbackHiddenDirName) + '/');
  EXPECT_EQ(UAPI->FOSInfo, QStringLiteral(" - 0 bits"));
  EXPECT_FALSE(UAPI->Fiswindows64);
  UAPI->FecharSistema();
  EXPECT_TRUE(fs::exists(keep));
  EXPECT_FALSE(QDir(UAPI->fHiddenDir).exists());
}

TEST_F(StartupTest, SerialThatNamesAnotherFolderIsNotUsed) {
  for (const char* serial : {"..", "../..", "a/b", ""}) {
    SetWmi("Win32_OperatingSystem",
           {{QStringLiteral("SerialNumber"), QString::fromLatin1(serial)}});
    Start();
    EXPECT_EQ(UAPI->fHiddenDir,
              Temp() + '/' + QString::fromLatin1(TUAPI::kFallbackHiddenDirName) + '/')
        << serial;
    DestroyProgramObjects();
  }
}

TEST_F(StartupTest, AddressWidthChoosesTheSystemProgramsFolder) {
  const QString windows = QString::fromStdString(world_->WindowsDir().string());
  const struct {
    const char* width;
    bool is64;
    QString info;
    QString win32Dir;
  } cases[] = {
      {"64", true, QStringLiteral("Microsoft Windows 10 Pro - 64 bits"), windows + "/SysNative/"},
      {"32", false, QStringLiteral("Microsoft Windows 10 Pro - 32 bits"), windows + "/system32/"},
  };
  for (const auto& c : cases) {
    SetWmi("Win32_Processor", {{QStringLiteral("AddressWidth"), QString::fromLatin1(c.width)}});
    Start();
    EXPECT_EQ(UAPI->Fiswindows64, c.is64);
    EXPECT_EQ(UAPI->FOSInfo, c.info);
    EXPECT_EQ(UAPI->fWin32Dir, c.win32Dir);
    DestroyProgramObjects();
  }
}

TEST_F(StartupTest, ToolArchiveLeftByAKilledRunIsGoneAfterTheNextStart) {
  const fs::path tools = world_->TempDir() / kSerial / "SoftRewriters";
  fs::create_directories(tools / "CmdDloader");
  std::ofstream(tools / "CmdDloader.rar") << "archive";
  std::ofstream(tools / "CmdDloader" / "CmdDloader.exe") << "tool";
  Start();
  EXPECT_FALSE(fs::exists(tools));
  EXPECT_TRUE(fs::exists(tools.parent_path()));
  // The vendor tools were killed before each folder went away.
  int kills = 0;
  for (const auto& entry : ShellLog()) {
    if (entry.toObject()[QStringLiteral("file")].toString() == QStringLiteral("taskkill.exe")) {
      ++kills;
    }
  }
  EXPECT_EQ(kills, 2 * 4);
}

TEST_F(StartupTest, HomologationLabelFollowsTheRegistryValue) {
  const struct {
    std::optional<std::uint32_t> value;
    bool on;
  } cases[] = {{std::nullopt, false}, {0u, false}, {1u, true}};
  for (const auto& c : cases) {
    SetHomologacao(c.value);
    Start();
    EXPECT_EQ(UAPI->IsHomologacao, c.on);
    EXPECT_EQ(fp->Lhomologacao()->isVisibleTo(fp), c.on);
    DestroyProgramObjects();
  }
}

TEST_F(StartupTest, HomologationShortcutTogglesTheModeAndRestartsFromTheInstallation) {
  Start();
  AnswerOkWhenShown();
  emit fp->homologacaoRequested();
  EXPECT_EQ(Homologacao(), platform::RegistryValue(std::uint32_t{1}));
  EXPECT_TRUE(UAPI->Terminating());
  EXPECT_TRUE(SystemDone->isVisible());

  // The installation's program file was started, shown, in its own folder.
  const QJsonObject start = ShellLog().last().toObject();
  EXPECT_EQ(start[QStringLiteral("file")].toString(),
            UAPI->FExecPath + QStringLiteral("AssistenteSolvanta.exe"));
  EXPECT_EQ(start[QStringLiteral("workingDir")].toString(), UAPI->FExecPath);
  EXPECT_FALSE(start[QStringLiteral("hide")].toBool());
  for (int i = 0; i < 50 && !fs::exists(restartMark_); ++i)
    UAPI->Delay(100);
  std::ifstream mark(restartMark_);
  std::string cwd;
  std::getline(mark, cwd);
  EXPECT_EQ(QString::fromStdString(cwd) + '/', UAPI->FExecPath);

  // The next run is in homologation mode; its shortcut switches it off.
  DestroyProgramObjects();
  Start();
  EXPECT_TRUE(UAPI->IsHomologacao);
  AnswerOkWhenShown();
  emit fp->homologacaoRequested();
  EXPECT_EQ(Homologacao(), platform::RegistryValue(std::uint32_t{0}));
}

TEST_F(StartupTest, CloseDeletesTheHiddenFolderAndStartsNothingWithoutRestart) {
  Start();
  std::ofstream(UAPI->fHiddenDir.toStdString() + "diskpart.txt") << "select volume E";
  const int startsBefore = ShellLog().size();
  UAPI->FecharSistema();
  EXPECT_FALSE(QDir(UAPI->fHiddenDir).exists());
  EXPECT_TRUE(QDir(UAPI->FTempdir).exists());
  const QJsonArray log = ShellLog();
  for (int i = startsBefore; i < log.size(); ++i) {
    EXPECT_EQ(log[i].toObject()[QStringLiteral("file")].toString(), QStringLiteral("taskkill.exe"));
  }
  EXPECT_FALSE(fs::exists(restartMark_));
}

TEST_F(StartupTest, FirstShowFillsTheLabelsAndPutsTheSelfUpdateOnTheStage) {
  Start();
  fp->show();
  QApplication::processEvents();
  EXPECT_EQ(fp->Windows()->text(), QStringLiteral("Microsoft Windows 10 Pro - 64 bits"));
  EXPECT_TRUE(fp->cpu()->text().startsWith(QStringLiteral("CPU: ")));
  EXPECT_EQ(fp->versao()->text(), QStringLiteral("%1.%2.%3.%4")
                                      .arg(SOLVANTA_VERSION_MAJOR)
                                      .arg(SOLVANTA_VERSION_MINOR)
                                      .arg(SOLVANTA_VERSION_PATCH)
                                      .arg(SOLVANTA_VERSION_TWEAK));
  EXPECT_EQ(fp->Fs.atual, UpdateSystem);
  EXPECT_EQ(UpdateSystem->parentWidget(), fp->panelStage());
}

TEST_F(StartupTest, FontsOfTheInstallationAreAddedForTheRunAndRemovedAtTheEnd) {
  Start();
  const QJsonArray fonts = pc_->State()[QStringLiteral("fonts")].toArray();
  EXPECT_GE(fonts.size(), 3);
  for (const auto& f : fonts) {
    EXPECT_TRUE(f.toString().startsWith(QString::fromStdString(world_->FontsDir().string())));
  }
  DestroyProgramObjects();
  EXPECT_TRUE(pc_->State()[QStringLiteral("fonts")].toArray().isEmpty());
}

}  // namespace
