#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/UAPI.h"
#include "catalogue/DataModule.h"
#include "drivers/DrvInstall.h"
#include "drivers/SmoothProgressBar.h"
#include "platform/ManualClock.h"
#include "platform/Platform.h"
#include "platform/sim/SimulatedPc.h"

namespace {

// A simulated PC with the given system, the application object over it and
// the driver screen. The clock is manual, so the one-second polls of the
// programs awaited take no time.
class DrvInstallTest : public ::testing::Test {
 protected:
  void Start(const QString& caption, const QString& addressWidth = QStringLiteral("64")) {
    const QString root = dir_.path();
    for (const char* folder : {"Temp", "Program Files", "AppData/Local", "Windows"}) {
      QDir().mkpath(root + QLatin1Char('/') + QLatin1String(folder));
    }
    pc_ =
        std::make_unique<platform::SimulatedPc>((root + QStringLiteral("/pc.json")).toStdString());
    pc_->Change([&](QJsonObject& state) {
      state = {};  // a fresh machine, also for the second case of a table
      state.insert("environment", QJsonObject{{"temp", root + "/Temp"},
                                              {"ProgramFiles", root + "/Program Files"}});
      state.insert("specialFolders",
                   QJsonObject{{"28", root + "/AppData/Local"}, {"36", root + "/Windows"}});
      state.insert(
          "wmi", QJsonObject{
                     {"Win32_OperatingSystem",
                      QJsonArray{QJsonObject{{"Caption", caption},
                                             {"SerialNumber", "00330-80000-00000-AA385"}}}},
                     {"Win32_Processor", QJsonArray{QJsonObject{{"AddressWidth", addressWidth}}}}});
    });
    platform::PlatformOptions options;
    options.name = "sim";
    options.simStatePath = pc_->Path();
    options.clock = std::make_shared<platform::ManualClock>();
    platform::SetCurrent(platform::CreatePlatform(options));
    dm = new Tdm;
    UAPI = new TUAPI;
    screen_ = std::make_unique<TDrvInstall>();
  }

  void TearDown() override {
    screen_.reset();
    delete UAPI;
    UAPI = nullptr;
    delete dm;
    dm = nullptr;
  }

  // A driver file below the drivers folder.
  QString AddDriver(const QString& relative) {
    const QString path = UAPI->FdriverDir + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Version]\r\nSignature=\"$Windows NT$\"\r\n");
    return path;
  }

  // What the recovery flow does before a rewrite: install once per user.
  // True when the screen was shown.
  bool DriverStage() {
    if (UAPI->GetIsdriverAlreadyInstalled())
      return false;
    UAPI->Driverpath = UAPI->FdriverDir;
    UAPI->ReturnInfFilesonPath(UAPI->Driverpath);
    QTimer guard;  // a screen that never closes fails the test instead of hanging it
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, screen_.get(), [this] {
      ADD_FAILURE() << "the driver screen did not close";
      screen_->reject();
    });
    guard.start(20000);
    screen_->exec();
    UAPI->SetDriverInstalled();
    return true;
  }

  QJsonArray Installs() const { return pc_->State().value(u"driverInstalls").toArray(); }

  QStringList InstalledInfs() const {
    QStringList infs;
    for (const QJsonValue& entry : Installs()) {
      if (entry.toObject().value(u"program").toString() == QLatin1String("pnputil.exe")) {
        infs << entry.toObject().value(u"inf").toString();
      }
    }
    return infs;
  }

  QTemporaryDir dir_;
  std::unique_ptr<platform::SimulatedPc> pc_;
  std::unique_ptr<TDrvInstall> screen_;
};

TEST_F(DrvInstallTest, OnWindows7OnlyTheFilesMadeForItAreInstalled) {
  const struct {
    const char* caption;
    bool windows7;
  } cases[] = {{"Microsoft Windows 7 Professional", true}, {"Microsoft Windows 10 Pro", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    TearDown();
    Start(QString::fromLatin1(c.caption));
    const QString seven = AddDriver(QStringLiteral("win7/usbser.inf"));
    const QString ten = AddDriver(QStringLiteral("win10/usbser.inf"));
    ASSERT_TRUE(DriverStage());
    QStringList installed = InstalledInfs();
    installed.sort();
    const QStringList expected = c.windows7 ? QStringList{seven} : QStringList{ten, seven};
    EXPECT_EQ(installed, expected);
  }
}

TEST_F(DrvInstallTest, FourFilesShowTheProgressAfterEachFile) {
  Start(QStringLiteral("Microsoft Windows 10 Pro"));
  for (const char* name : {"a.inf", "b.inf", "c.inf", "d.inf"})
    AddDriver(QLatin1String(name));
  QStringList seen;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, screen_.get(), [&] {
    const QString text = screen_->progresso()->text();
    if (!text.isEmpty() && (seen.isEmpty() || seen.last() != text))
      seen << text;
  });
  watch.start(0);
  ASSERT_TRUE(DriverStage());
  EXPECT_EQ(seen,
            (QStringList{"Instalando driver 1/3", "Instalando driver 0/3", "Instalando driver 1/3",
                         "Instalando driver 2/3", "Instalando driver 3/3"}));
  EXPECT_EQ(screen_->ProgressBar()->Maximum(), 3);
  EXPECT_EQ(screen_->ProgressBar()->Position(), 3);
  EXPECT_EQ(InstalledInfs().size(), 4);
}

TEST_F(DrvInstallTest, APathWithBlanksReachesPnputilWhole) {
  Start(QStringLiteral("Microsoft Windows 10 Pro"));
  const QString inf = AddDriver(QStringLiteral("Portas USB Solvanta/serial usb.inf"));
  ASSERT_TRUE(DriverStage());
  EXPECT_EQ(InstalledInfs(), QStringList{inf});
  QFile batch(UAPI->FdataDir + QStringLiteral("installdriver.bat"));
  ASSERT_TRUE(batch.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(batch.readAll()),
            UAPI->fWin32Dir + QStringLiteral("pnputil.exe -a \"") + inf + QStringLiteral("\"\r\n"));
}

TEST_F(DrvInstallTest, TheInstallerForTheSystemsWidthRunsLastFromTheDriversFolder) {
  const struct {
    const char* width;
    const char* program;
  } cases[] = {{"64", "dpinst64.exe"}, {"32", "dpinst.exe"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    TearDown();
    Start(QStringLiteral("Microsoft Windows 10 Pro"), QLatin1String(c.width));
    AddDriver(QStringLiteral("x.inf"));
    ASSERT_TRUE(DriverStage());
    const QJsonArray installs = Installs();
    ASSERT_EQ(installs.size(), 2);
    EXPECT_EQ(installs[0].toObject().value(u"program").toString(), QStringLiteral("pnputil.exe"));
    EXPECT_EQ(installs[1].toObject().value(u"program").toString(), QLatin1String(c.program));
    EXPECT_EQ(QDir(installs[1].toObject().value(u"folder").toString()), QDir(UAPI->FdriverDir));
  }
}

TEST_F(DrvInstallTest, NoDriverFileRunsOnlyTheInstaller) {
  Start(QStringLiteral("Microsoft Windows 10 Pro"));
  ASSERT_TRUE(DriverStage());
  EXPECT_EQ(screen_->progresso()->text(), QStringLiteral("Instalando driver 1/-1"));
  ASSERT_EQ(Installs().size(), 1);
  EXPECT_EQ(Installs()[0].toObject().value(u"program").toString(), QStringLiteral("dpinst64.exe"));
}

TEST_F(DrvInstallTest, TheMarkSkipsTheNextRunAndDeletingV3InstallsAgain) {
  Start(QStringLiteral("Microsoft Windows 10 Pro"));
  const QString inf = AddDriver(QStringLiteral("usbser.inf"));
  EXPECT_FALSE(UAPI->IsdriverAlreadyInstalled());
  ASSERT_TRUE(DriverStage());
  const std::string key = "SOFTWARE\\AssistenteSolvanta\\Setup\\Drivers";
  const auto mark = platform::Current().registry->ReadValue(platform::Hive::CurrentUser, key, "V3");
  ASSERT_TRUE(mark.has_value());
  EXPECT_EQ(std::get<std::uint32_t>(*mark), 1u);

  EXPECT_FALSE(DriverStage()) << "a second recovery shows no driver screen";
  EXPECT_EQ(InstalledInfs(), QStringList{inf});

  ASSERT_TRUE(platform::Current().registry->DeleteValue(platform::Hive::CurrentUser, key, "V3"));
  EXPECT_TRUE(DriverStage());
  EXPECT_EQ(InstalledInfs(), (QStringList{inf, inf}));
}

TEST_F(DrvInstallTest, ControlsAreAtTheirPlacesWithTheirTexts) {
  Start(QStringLiteral("Microsoft Windows 10 Pro"));
  EXPECT_EQ(screen_->size(), QSize(kStageWidth, kStageHeight));
  const struct {
    const char* name;
    QPoint place;
    const char* text;
    int pixels;
  } labels[] = {
      {"Label1", {10, 10}, "Aguarde, instalando drivers.", 27},
      {"Label5", {10, 53}, "Siga as instruções abaixo no caso de aparecer uma das janelas:", 20},
      {"Label3", {38, 85}, "Marque a opção \"Sempre Confiar...\"", 16},
      {"Label4", {38, 125}, "Clique em \"instalar\"", 16},
      {"Label6",
       {8, 342},
       "Clique na segunda opção: \"Instalar esse software de drivers mesmo assim\"",
       16},
      {"Lstatus", {10, 512}, "Progresso: Instalando...", 13},
      {"progresso", {168, 509}, "", 16},
  };
  for (const auto& l : labels) {
    SCOPED_TRACE(l.name);
    const auto* label = screen_->findChild<QLabel*>(QLatin1String(l.name));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->pos(), l.place);
    EXPECT_EQ(label->text(), QString::fromUtf8(l.text));
    EXPECT_EQ(label->font().pixelSize(), l.pixels);
    const QColor colour = label->palette().color(QPalette::WindowText);
    EXPECT_EQ(colour, QColor(l.pixels == 27 ? kGoldColour : kWhiteColour));
  }
  EXPECT_TRUE(screen_->findChild<QLabel*>(QStringLiteral("Lstatus"))->font().bold());
  EXPECT_EQ(screen_->findChild<QLabel*>(QStringLiteral("Label6"))->size(), QSize(389, 60));
  const struct {
    const char* name;
    QRect place;
  } pictures[] = {{"Image8", {0, 0, 735, 592}},
                  {"Image3", {10, 81, 26, 26}},
                  {"Image4", {10, 121, 26, 26}},
                  {"Image1", {8, 153, 500, 183}},
                  {"Image2", {403, 342, 300, 186}}};
  for (const auto& p : pictures) {
    SCOPED_TRACE(p.name);
    const auto* picture = screen_->findChild<QLabel*>(QLatin1String(p.name));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->geometry(), p.place);
    EXPECT_FALSE(picture->pixmap().isNull());
  }
  EXPECT_EQ(screen_->ProgressBar()->geometry(), QRect(8, 534, 695, 33));
  const auto* fechaform = screen_->findChild<QTimer*>(QStringLiteral("fechaform"));
  ASSERT_NE(fechaform, nullptr);
  EXPECT_EQ(fechaform->interval(), 100);
  EXPECT_FALSE(fechaform->isActive());

  if (const QByteArray shot = qgetenv("SOLVANTA_SCREENSHOT_DIR"); !shot.isEmpty()) {
    screen_->progresso()->setText(QStringLiteral("Instalando driver 2/3"));
    screen_->progresso()->adjustSize();
    screen_->ProgressBar()->SetMaximum(3);
    screen_->ProgressBar()->SetPosition(2);
    screen_->grab().save(QString::fromLocal8Bit(shot) + QStringLiteral("/DrvInstall.png"));
  }
}

}  // namespace
