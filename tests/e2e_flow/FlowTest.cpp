// The recovery flow in the whole program, from the confirmation on, against
// the maker's server on loopback and the simulated PC of a demo world.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/Fmessage.h"
#include "app/Globals.h"
#include "app/PictureButton.h"
#include "app/ProgramEntry.h"
#include "app/ServerSettings.h"
#include "app/SystemDone.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/DataModule.h"
#include "catalogue/acceptcontract.h"
#include "download/uDownloadMultipart.h"
#include "download/uFormDescompactaFirmwares.h"
#include "download/uFormDownloadFirmware.h"
#include "download/uFormdownloadextractgeral.h"
#include "drivers/DrvInstall.h"
#include "platform/ManualClock.h"
#include "platform/Platform.h"
#include "platform/sim/SimDevices.h"
#include "platform/sim/SimulatedPc.h"
#include "report/Ptr.h"
#include "report/Rel.h"
#include "rewrite/FallDone.h"
#include "sim/ArchiveWriters.h"
#include "sim/DemoState.h"
#include "sim/DemoWorld.h"

// Texts in failure messages as text, not as code units.
void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace {

const QString kRewriterSlot = QStringLiteral(
    "A regravação deste dispositivo não está disponível nesta versão do Assistente.");
const QString kPortSearchSlot = QStringLiteral(
    "A busca da porta do dispositivo não está disponível nesta versão do Assistente.");
const QString kTvSlot = QStringLiteral(
    "A preparação do pendrive da TV não está disponível nesta versão do Assistente.");
const QString kNotebookSlot = QStringLiteral(
    "A criação do pendrive de recuperação do notebook não está disponível nesta versão do "
    "Assistente.");
const QString kNotRewritable = QStringLiteral(
    "Este modelo não pode ser regravado pelo Assistente. Favor entrar em contato com o SAC.");
const QString kUnplug = QStringLiteral("Atenção desplugue o dispositivo Tornex conectado no PC");
const QString kMissingFile = QStringLiteral(
    "Problemas com o Download, arquivo não encontrado, favor entrar em contato com o SAC");

// A device of the maker in any mode (a Rockchip vendor id).
constexpr char kMakerDevice[] = "USB\\VID_2207&PID_0006\\0123456789";

QString FileMd5(const QString& file) {
  QFile in(file);
  QCryptographicHash hash(QCryptographicHash::Md5);
  if (!in.open(QIODevice::ReadOnly) || !hash.addData(&in))
    return {};
  return QString::fromLatin1(hash.result().toHex());
}

// The running text's lines without their time stamps.
QStringList LogLines() {
  QStringList lines;
  for (const QString& line : Rel->logs().log.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
    lines << line.section(QStringLiteral("  -  "), 1);
  return lines;
}

// What the tool and firmware fields held when the flow asked something.
struct AtMessage {
  QString text, name, param, place;
  bool toolThere = false;
};

// Records every screen the flow shows, with the log's status and last action
// at that moment, and answers every message with OK.
class Recorder : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show || event->spontaneous())
      return false;
    const QString state =
        QStringLiteral(" [%1/%2]").arg(Rel->logs().status, Rel->logs().ultimaacao);
    if (watched == Fmessage) {
      AtMessage m;
      m.text = Fmessage->findChild<QLabel*>(QStringLiteral("mensagem"))->text();
      m.name = UAPI->RewriterName;
      m.param = UAPI->RewriterParam;
      m.place = UAPI->RewriterPlace;
      m.toolThere = !m.name.isEmpty() && QFileInfo(m.place + m.name).isFile();
      messages << m;
      trail << QStringLiteral("mensagem: ") + m.text;
      if (onMessage)
        onMessage(m);
      QTimer::singleShot(0, Fmessage, [] { Fmessage->done(mrOk); });
    } else if (watched == DownloadMultipart || watched == DIso) {
      const QLabel* caption = watched == DIso ? DIso->Label1() : DownloadMultipart->Label1();
      trail << watched->objectName() + QStringLiteral(": ") + caption->text() +
                   (UAPI->LastDownloadPass ? QStringLiteral(" (última)") : QString()) + state;
    } else {
      trail << watched->objectName() + state;
    }
    return false;
  }

  QStringList trail;
  QList<AtMessage> messages;
  std::function<void(const AtMessage&)> onMessage;
};

class FlowTest : public testing::Test {
 protected:
  void SetUp() override {
    auto created = sim::DemoWorld::Create({});
    ASSERT_TRUE(created) << created.error();
    world_ = std::move(*created);
    auto state = sim::WriteDemoState(*world_, QStringLiteral(SOLVANTA_PROGRAM));
    ASSERT_TRUE(state) << state.error().toStdString();
    pc_ = std::make_unique<platform::SimulatedPc>(state->toStdString());
    ServerSettings::SetMakerBaseUrl(world_->ServerUrl());
    ServerSettings::SetGeoBaseUrl(world_->GeoUrl());

    // The close of an earlier run in this process asked every event loop to
    // quit, which makes each new modal loop return at once; the end of the
    // application's own loop clears that request.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();

    platform::PlatformOptions options;
    options.name = "sim";
    options.simStatePath = pc_->Path();
    options.clock = clock_;
    platform::SetCurrent(platform::CreatePlatform(options));
    CreateProgramObjects();
    fp->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fp));

    // Time runs ten times faster than the wall clock, and the screens that
    // close themselves after a pause close at once.
    QObject::connect(&ticker_, &QTimer::timeout, fp,
                     [this] { clock_->Advance(std::chrono::milliseconds(50)); });
    ticker_.start(5);
    IsoExp->tickclose()->setInterval(10);
    ExtFiles->FecharForm()->setInterval(10);
    for (QObject* screen : std::initializer_list<QObject*>{Fmessage, DrvInstall, ExtFiles, DIso,
                                                           DownloadMultipart, IsoExp, FallDone})
      screen->installEventFilter(&recorder_);
  }

  void TearDown() override {
    ticker_.stop();
    DestroyProgramObjects();
    platform::SetCurrent({});
  }

  // Chooses the device `id` of the kind `systemType` on the confirmation
  // screen and confirms it: the flow runs until it stops.
  void Run(int systemType, qint64 id) {
    ASSERT_TRUE(dm->SelectKind(systemType));
    ASSERT_TRUE(dm->devices.Locate(QStringLiteral("id"), id)) << id;
    fp->Fs.ShowScreen(fp->panelStage(), acceptcontract);
    acceptcontract->findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->setChecked(true);
    QTimer guard;  // a flow that never stops fails the test instead of hanging it
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, fp, [] {
      ADD_FAILURE() << "the flow did not stop";
      UAPI->Terminate();
    });
    guard.start(30000);
    acceptcontract->avancarClick();
    EXPECT_TRUE(UAPI->Terminating()) << "every stop of the flow runs the close procedure";
  }

  QString Served(const QString& urlPath) const {
    return QString::fromStdString(world_->ServedDir().string()) + urlPath;
  }

  // Puts the served file `name` of the firmware folder into the program's
  // firmware folder, as an earlier run would have left it.
  void PlaceFirmware(const QString& name) {
    QDir().mkpath(UAPI->FisoDir);
    ASSERT_TRUE(
        QFile::copy(Served(QStringLiteral("/solvanta/firmwares/") + name), UAPI->FisoDir + name));
  }

  int RequestsFor(const std::string& path) const {
    int n = 0;
    for (const auto& request : world_->Server().Requests())
      n += request.path == path && request.method == "GET";
    return n;
  }

  std::shared_ptr<platform::ManualClock> clock_ = std::make_shared<platform::ManualClock>();
  std::unique_ptr<sim::DemoWorld> world_;
  std::unique_ptr<platform::SimulatedPc> pc_;
  QTimer ticker_;
  Recorder recorder_;
};

// One road per family, from the confirmation to the step where it leaves
// the flow.
struct FamilyRoad {
  const char* family;
  int systemType;
  qint64 id;
  QStringList trail;
  QString rewriterName;
  QString rewriterParam;  // "@ISO@" stands for the firmware folder
  bool tool;              // the vendor tool was extracted and found
};

void PrintTo(const FamilyRoad& road, std::ostream* os) {
  *os << road.family;
}

const QString kDrivers = QStringLiteral("DrvInstall [2/12]");
const QString kTool = QStringLiteral("ExtFiles [4/21]");
QString Download(const QString& caption) {
  return QStringLiteral("DownloadMultipart: ") + caption + QStringLiteral(" [3/23]");
}
QString Message(const QString& text) {
  return QStringLiteral("mensagem: ") + text;
}

class FamilyRoadTest : public FlowTest, public testing::WithParamInterface<FamilyRoad> {};

TEST_P(FamilyRoadTest, ReachesItsHandOverWithTheToolFirmwareAndLogInPlace) {
  const FamilyRoad& road = GetParam();
  if (road.id == 120) {
    // No demo device is of the MediaTek family without a rewriter: one is
    // added, with the T8's firmware.
    const QString url = QString::fromStdString(world_->Url("/solvanta/firmwares/t8_mt8321.zip"));
    ASSERT_TRUE(dm->Command(
        QStringLiteral("insert into devices (id, masterModelId, description, url_firmware, "
                       "deviceSku, chipsetId, systemType, md5) values (120, 5, 'Tablet Solvanta "
                       "T9', '%1', 'SLV-T9', 2, 1, '%2')")
            .arg(url, FileMd5(Served(QStringLiteral("/solvanta/firmwares/t8_mt8321.zip"))))));
  }
  Run(road.systemType, road.id);

  EXPECT_EQ(recorder_.trail, road.trail);
  ASSERT_FALSE(recorder_.messages.isEmpty());
  const AtMessage& last = recorder_.messages.last();
  EXPECT_EQ(last.name, road.rewriterName);
  EXPECT_EQ(last.param,
            QString(road.rewriterParam).replace(QStringLiteral("@ISO@"), UAPI->FisoDir));
  EXPECT_EQ(last.toolThere, road.tool)
      << last.place.toStdString() << " " << UAPI->fHiddenDir.toStdString();
  if (road.tool) {
    EXPECT_TRUE(last.place.startsWith(UAPI->FSoftRewritersDir)) << last.place.toStdString();
    EXPECT_TRUE(last.place.endsWith(QDir::separator()));
  } else {
    EXPECT_TRUE(last.place.isEmpty());
  }

  const bool drivers = road.trail.contains(kDrivers);
  QStringList expected{QStringLiteral("Dispositivo Escolhido - ") + UAPI->ItemModelo};
  if (drivers || road.trail.contains(kTool))
    expected << QStringLiteral("Verificando Status do Driver") + UAPI->ItemChipset;
  if (drivers)
    expected << QStringLiteral("Drivers instalados");
  if (road.trail.contains(kTool))
    expected << QStringLiteral("Baixando regravador")
             << QStringLiteral("Regravador baixado e descomprimido");
  expected << QStringLiteral("Fazendo download do firmware do produto")
           << QStringLiteral("firmware baixado e descomprimido com sucesso");
  EXPECT_EQ(LogLines(), expected);
  EXPECT_EQ(UAPI->GetIsdriverAlreadyInstalled(), drivers) << "the mark follows the installation";
}

INSTANTIATE_TEST_SUITE_P(
    Families, FamilyRoadTest,
    testing::Values(
        FamilyRoad{"SpreadtrumTablet",
                   1,
                   103,
                   {kDrivers, kTool, Download(QStringLiteral("Baixando Imagem (última)")),
                    Message(kPortSearchSlot)},
                   QStringLiteral("CmdDloader.exe"),
                   QStringLiteral(" -C -pac"),
                   true},
        FamilyRoad{"MediaTekWithoutRewriter",
                   1,
                   120,
                   {kDrivers, kTool, Download(QStringLiteral("Baixando Imagem (última)")),
                    Message(kNotRewritable)},
                   QStringLiteral("MediaTekTools.zip"),
                   QString(),
                   false},
        FamilyRoad{"Rockchip",
                   1,
                   104,
                   {kDrivers, kTool, Download(QStringLiteral("Baixando Imagem (última)")),
                    QStringLiteral("IsoExp [3/23]"), Message(kRewriterSlot)},
                   QStringLiteral("FactoryTool.exe"),
                   QString(),
                   true},
        FamilyRoad{"Tv",
                   2,
                   106,
                   {Download(QStringLiteral("Baixando Imagem (última)")), Message(kTvSlot)},
                   QString(),
                   QString(),
                   false},
        FamilyRoad{"SpreadtrumFeaturePhone",
                   0,
                   101,
                   {kDrivers, kTool, Download(QStringLiteral("Baixando Imagem (última)")),
                    QStringLiteral("IsoExp [3/23]"), Message(kRewriterSlot)},
                   QStringLiteral("CmdDloader.exe"),
                   QStringLiteral(" -C -pac"),
                   true},
        FamilyRoad{"MediaTek",
                   1,
                   105,
                   {kDrivers, kTool, Download(QStringLiteral("Baixando Imagem 1/3")),
                    Download(QStringLiteral("Baixando Imagem 2/3")),
                    Download(QStringLiteral("Baixando Imagem 3/3 (última)")),
                    QStringLiteral("IsoExp [3/23]"), Message(kRewriterSlot)},
                   QStringLiteral("flash_tool.exe"),
                   QStringLiteral(" -d \"@ISO@105/t8/DA_SWSEC.bin\" -c firmware-upgrade -s"),
                   true},
        FamilyRoad{"Notebook",
                   3,
                   107,
                   {Download(QStringLiteral("Baixando Imagem (última)")), Message(kNotebookSlot)},
                   QString(),
                   QString(),
                   false},
        FamilyRoad{"SingleFileDownload",
                   0,
                   102,
                   {kDrivers, kTool, QStringLiteral("DIso: Baixando Imagem (última) [3/23]"),
                    Message(kNotRewritable)},
                   QString(),
                   QString(),
                   false}),
    [](const testing::TestParamInfo<FamilyRoad>& info) { return std::string(info.param.family); });

TEST_F(FlowTest, DriverMarkAndToolArchiveAlreadyThereAreNotFetchedAgain) {
  UAPI->SetDriverInstalled();
  QDir().mkpath(UAPI->FSoftRewritersDir);
  ASSERT_TRUE(QFile::copy(Served(QStringLiteral("/solvanta/rewriter/RockChipToolsNew.zip")),
                          UAPI->FSoftRewritersDir + QStringLiteral("RockChipToolsNew.zip")));
  Run(1, 104);

  EXPECT_FALSE(recorder_.trail.contains(kDrivers));
  EXPECT_EQ(RequestsFor("/solvanta/rewriter/RockChipToolsNew.zip"), 0);
  const QStringList log = LogLines();
  const auto at = log.indexOf(QStringLiteral("Baixando regravador"));
  ASSERT_GE(at, 0);
  EXPECT_EQ(log.mid(at, 3), (QStringList{QStringLiteral("Baixando regravador"),
                                         QStringLiteral("Regravador ja existia"),
                                         QStringLiteral("Regravador baixado e descomprimido")}));
  ASSERT_FALSE(recorder_.messages.isEmpty());
  EXPECT_TRUE(recorder_.messages.last().toolThere) << "the archive on disk is still unpacked";
}

TEST_F(FlowTest, IntactFilesAreSkippedWithoutADownloadScreen) {
  const QStringList files{QStringLiteral("t8_mt8321.zip"), QStringLiteral("t8_mt8321_userdata.zip"),
                          QStringLiteral("t8_mt8321_system.zip")};
  const struct {
    std::vector<int> placed;
    QStringList downloads;
  } cases[] = {
      {{0, 2}, {Download(QStringLiteral("Baixando Imagem 2/3"))}},
      {{0, 1}, {Download(QStringLiteral("Baixando Imagem 3/3 (última)"))}},
      {{0, 1, 2}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.placed));
    TearDown();
    recorder_.trail.clear();
    recorder_.messages.clear();
    SetUp();
    for (int i : c.placed)
      PlaceFirmware(files[i]);
    Run(1, 105);
    QStringList downloads;
    for (const QString& step : recorder_.trail) {
      if (step.startsWith(QStringLiteral("DownloadMultipart")))
        downloads << step;
    }
    EXPECT_EQ(downloads, c.downloads);
    EXPECT_TRUE(recorder_.trail.contains(QStringLiteral("IsoExp [3/23]")));
    for (const QString& file : files)
      EXPECT_EQ(FileMd5(UAPI->FisoDir + file),
                FileMd5(Served(QStringLiteral("/solvanta/firmwares/") + file)));
  }
}

TEST_F(FlowTest, FileMissingOnTheServerGivesError006AndCloses) {
  const QString missing = QStringLiteral("/solvanta/firmwares/t8_mt8321_system.zip");
  ASSERT_TRUE(QFile::remove(Served(missing)));
  world_->Server().SetRecebeSystemLog(true);
  Run(1, 105);

  EXPECT_EQ(recorder_.trail.mid(2),
            (QStringList{Download(QStringLiteral("Baixando Imagem 1/3")),
                         Download(QStringLiteral("Baixando Imagem 2/3")), Message(kMissingFile)}));
  EXPECT_TRUE(Ptr->GetProtocol().contains(QStringLiteral("-006-")))
      << Ptr->GetProtocol().toStdString();
  EXPECT_EQ(Rel->logs().ultimaacao, QStringLiteral("7"));
  EXPECT_EQ(LogLines().last(),
            QStringLiteral("Firmware - Arquivo nao encontrado para download --> ") +
                QString::fromStdString(world_->Url(missing.toStdString())));
  EXPECT_TRUE(SystemDone->isVisible()) << "the close procedure ran";
  EXPECT_FALSE(QFileInfo::exists(UAPI->fHiddenDir)) << "the close procedure ran";
}

TEST_F(FlowTest, DownloadPutOffClosesWithoutExtracting) {
  // The first file's download is stopped by the user.
  QObject::connect(&ticker_, &QTimer::timeout, fp, [] {
    if (DownloadMultipart->isVisible())
      DownloadMultipart->BtContinuarMaisTarde()->click();
  });
  world_->Server().SetFault("/solvanta/firmwares/t10pro_rk3326.zip",
                            sim::PathFault{.bytesPerSecond = 4096});
  Run(1, 104);
  EXPECT_EQ(recorder_.trail.mid(2),
            (QStringList{Download(QStringLiteral("Baixando Imagem (última)"))}));
  EXPECT_FALSE(LogLines().contains(QStringLiteral("firmware baixado e descomprimido com sucesso")));
}

// A device of the maker left attached before the rewriter: the message comes
// back until it is pulled out, with and without the pause.
TEST_F(FlowTest, UnplugMessageComesBackUntilTheDeviceIsPulledOut) {
  for (qint64 id : {104, 105}) {
    SCOPED_TRACE(id);
    TearDown();
    recorder_.trail.clear();
    recorder_.messages.clear();
    SetUp();
    ASSERT_TRUE(platform::PlugDevice(*pc_, kMakerDevice, "Rockchip USB", false));
    int asked = 0;
    recorder_.onMessage = [&](const AtMessage& m) {
      if (m.text == kUnplug && ++asked == 3)
        platform::UnplugDevice(*pc_, kMakerDevice);
    };
    Run(1, id);
    QStringList texts;
    for (const AtMessage& m : recorder_.messages)
      texts << m.text;
    EXPECT_EQ(texts, (QStringList{kUnplug, kUnplug, kUnplug, kRewriterSlot}));
  }
}

TEST_F(FlowTest, MediaTekWithoutItsOwnAgentUsesTheToolsAgent) {
  const QString archive = Served(QStringLiteral("/solvanta/firmwares/t8_mt8321.zip"));
  ASSERT_TRUE(sim::WriteZip(archive.toStdString(),
                            {{"t8/MT8321_Android_scatter.txt", "- partition_index: SYS0\n"},
                             {"t8/preloader.bin", std::string(4096, 'p')}}));
  ASSERT_TRUE(dm->Command(
      QStringLiteral("update devices set md5='%1' where id=105").arg(FileMd5(archive))));
  Run(1, 105);
  ASSERT_FALSE(recorder_.messages.isEmpty());
  EXPECT_EQ(recorder_.messages.last().param,
            QStringLiteral(" -d MTK_AllInOne_DA.bin -c firmware-upgrade -s"));
}

TEST_F(FlowTest, SuccessScreenOverTheStageClosesTheProgramOnlyByItsButton) {
  world_->Server().SetRecebeSystemLog(true);
  QTimer::singleShot(0, FallDone, [] {
    EXPECT_EQ(FallDone->pos(), fp->pos() + QPoint(fp->panelStage()->x(), 11));
    EXPECT_EQ(FallDone->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
              QStringLiteral("Dispositivo atualizado com sucesso!"));
    QTest::keyClick(FallDone, Qt::Key_Escape);
    EXPECT_TRUE(FallDone->isVisible()) << "Escape does not leave the screen";
    FallDone->Btcontinuar()->click();
  });
  FallDone->exec();
  EXPECT_TRUE(UAPI->Terminating());
  EXPECT_TRUE(SystemDone->isVisible());
  EXPECT_FALSE(world_->Server().SoapCalls().empty()) << "the close delivered the log";
}

}  // namespace
