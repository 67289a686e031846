// The self-update: which offered files are installed, what the update list
// and the download queue hold, and the road from the first screen either on
// to the next screen or, after the downloads, to the installer.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QTimer>

#include "ProgramWorld.h"
#include "app/Fmessage.h"
#include "app/Globals.h"
#include "app/SystemDone.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/FWCmsg.h"
#include "platform/sim/SimulatedPc.h"
#include "service/UpdateSystem.h"

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Presses OK on every message shown from now on, keeping its texts.
QStringList* AnswerMessages() {
  auto* texts = new QStringList;
  auto* timer = new QTimer(Fmessage);
  QObject::connect(timer, &QTimer::timeout, Fmessage, [texts] {
    if (!Fmessage->isVisible())
      return;
    *texts << Fmessage->findChild<QLabel*>(QStringLiteral("mensagem"))->text();
    Fmessage->done(mrOk);
  });
  timer->start(20);
  return texts;
}

const QString kListFile = QStringLiteral("Softwareupdate.slv");

struct VersionCase {
  const char* name;
  const char* answer;
  std::vector<std::pair<const char*, const char*>> installed;  // UpdateVersions values
  std::vector<const char*> queued;                             // files, in order
  const char* list;  // the update list afterwards ("earlier" stands before the check)
};

void PrintTo(const VersionCase& c, std::ostream* os) {
  *os << c.name;
}

class VersionRulesTest : public ProgramWorld, public testing::WithParamInterface<VersionCase> {};

TEST_P(VersionRulesTest, OnlyNewerWholeNumberedFilesAreQueuedAndListed) {
  const VersionCase& c = GetParam();
  world_->Server().SetReturnUpdate(c.answer);
  Start();
  auto& registry = *platform::Current().registry;
  const std::string key = "SOFTWARE\\AssistenteSolvanta\\UpdateVersions";
  registry.CreateKey(platform::Hive::CurrentUser, key);
  for (const auto& [name, value] : c.installed) {
    registry.WriteValue(platform::Hive::CurrentUser, key, name, std::string(value));
  }
  const QString list = UAPI->FdataDir + kListFile;
  UAPI->CriaBatNoSlash(list, QStringLiteral("earlier"));
  std::unique_ptr<QStringList> texts(AnswerMessages());

  EXPECT_EQ(UAPI->CheckSystemUpdate(), !c.queued.empty());
  EXPECT_TRUE(texts->isEmpty()) << texts->join('|').toStdString();

  QStringList urls, folders;
  for (const char* file : c.queued) {
    urls << UAPI->UrlServerUpdate + QString::fromUtf8(file);
    folders << UAPI->fHiddenDir;
  }
  EXPECT_EQ(UpdateSystem->Urls(), urls);
  EXPECT_EQ(UpdateSystem->LocaisSalvar(), folders);
  EXPECT_EQ(ReadAll(list), QByteArray(c.list));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, VersionRulesTest,
    testing::Values(
        VersionCase{"VersionTable",
                    "old.slvr,999,P1,E1\r\n"
                    "old2.slvr,999,P1,E1\r\n"
                    "base.slvr,1000,P2,E2\r\n"
                    "baseOlder.slvr,1000,P3,E3\r\n"
                    "same.slvr,1004,P4,E4\r\n"
                    "newer.slvr,1001,P5,E5\r\n"
                    "bad.slvr,1x,P6,E6\r\n"
                    "badValue.slvr,1002,P7,E7\r\n",
                    {{"old2", "10"}, {"baseOlder", "999"}, {"same", "1004"}, {"badValue", "x1"}},
                    {"baseOlder.slvr", "newer.slvr"},
                    "baseOlder.slvr,P3,E3,1000\r\nnewer.slvr,P5,E5,1001\r\n"},
        VersionCase{"OneNeededOfSeveral",
                    "a.slvr,999,P,E\nb.slvr,1003,Pb,Eb\nc.slvr,1003,P,E\n",
                    {{"c", "1003"}},
                    {"b.slvr"},
                    "b.slvr,Pb,Eb,1003\r\n"},
        VersionCase{"ControlCharactersEndFields",
                    "d.slvr,1002\tjunk,Pd\tx,Ed",
                    {},
                    {"d.slvr"},
                    "d.slvr,Pd,Ed,1002\r\n"},
        VersionCase{"NoneNeededKeepsTheEarlierList", "old.slvr,999,P,E\r\n", {}, {}, "earlier\r\n"},
        VersionCase{"EmptyAnswer", "", {}, {}, "earlier\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ServiceFailure {
  const char* name;
  bool unreachable;
};

void PrintTo(const ServiceFailure& f, std::ostream* os) {
  *os << f.name;
}

class ServiceFailureTest : public ProgramWorld,
                           public testing::WithParamInterface<ServiceFailure> {};

TEST_P(ServiceFailureTest, TellsTheUserAndFindsNoUpdate) {
  if (GetParam().unreachable) {
    ServerSettings::SetMakerBaseUrl("http://127.0.0.1:1");
  } else {
    world_->Server().SetSoapFault("ReturnUpdate", sim::SoapFault{.message = "indisponível"});
  }
  world_->Server().SetReturnUpdate("newer.slvr,1001,P,E\r\n");
  Start();
  std::unique_ptr<QStringList> texts(AnswerMessages());
  EXPECT_FALSE(UAPI->CheckSystemUpdate());
  EXPECT_EQ(
      *texts,
      QStringList{QStringLiteral("Não foi possível se comunicar com o servidor de atualização")});
  EXPECT_TRUE(UpdateSystem->Urls().isEmpty());
  EXPECT_FALSE(QFileInfo::exists(UAPI->FdataDir + kListFile));
}

INSTANTIATE_TEST_SUITE_P(Failures, ServiceFailureTest,
                         testing::Values(ServiceFailure{"SoapFault", false},
                                         ServiceFailure{"Unreachable", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramWorld, WithoutUpdatesTheFirstScreenHandsTheStageOnSilently) {
  Start();
  std::unique_ptr<QStringList> texts(AnswerMessages());
  fp->show();
  QApplication::processEvents();
  ASSERT_EQ(fp->Fs.atual, UpdateSystem);
  EXPECT_TRUE(UpdateSystem->isVisible());
  EXPECT_EQ(UpdateSystem->findChild<QLabel*>(QStringLiteral("latualizacoes"))->text(),
            QStringLiteral("Procurando atualizações..."));
  EXPECT_FALSE(UpdateSystem->findChild<QWidget*>(QStringLiteral("AbProgress"))->isVisible());

  ASSERT_TRUE(RunUntil([] { return fp->Fs.atual == FWCmsg; }));
  EXPECT_FALSE(UpdateSystem->isVisible());
  EXPECT_TRUE(texts->isEmpty());
  EXPECT_FALSE(UAPI->Terminating());
  const auto calls = world_->Server().SoapCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].operation, "ReturnUpdate");
  EXPECT_EQ(calls[0].Parameter("Key"), "%&*#!?qzvnmlkjpw!&?rtyuOPQ");
}

TEST_F(ProgramWorld, UpdateIsDownloadedAndHandedToTheInstallerWithoutTheClose) {
  const std::string answer = "Ferramenta Nova.SLVR,1001,Lugar,Pasta\r\nantigo.slvr,999,L,P\r\n";
  world_->Server().SetReturnUpdate(answer);
  const std::string body(700 * 1024, 'u');
  ASSERT_TRUE(world_->AddServedFile("/solvanta/updates/ferramenta nova.slvr", body));
  Start();
  std::unique_ptr<QStringList> texts(AnswerMessages());
  QTimer::singleShot(20000, [] { QCoreApplication::exit(1); });  // a hang fails the test

  fp->show();
  ASSERT_EQ(QApplication::exec(), 0);

  EXPECT_TRUE(UAPI->Terminating());
  EXPECT_EQ(*texts,
            QStringList{QStringLiteral("O sistema vai reiniciar para instalar as atualizações")});
  EXPECT_EQ(UpdateSystem->findChild<QLabel*>(QStringLiteral("latualizacoes"))->text(),
            QStringLiteral("Atualizações encontradas, aguarde..."));
  EXPECT_EQ(UpdateSystem->findChild<QLabel*>(QStringLiteral("ProgressoItem"))->text(),
            QStringLiteral("Progresso: 100%"));
  EXPECT_EQ(UpdateSystem->EtapaInt, 2);

  // The answer went through its file in the hidden folder.
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  EXPECT_EQ(ReadAll(UAPI->fHiddenDir + program), QByteArray::fromStdString(answer));

  // Requested in lower case, saved under the queued name's case.
  std::vector<std::string> updateRequests;
  for (const auto& r : world_->Server().Requests()) {
    if (r.path.starts_with("/solvanta/updates/"))
      updateRequests.push_back(r.path);
  }
  EXPECT_EQ(updateRequests, std::vector<std::string>{"/solvanta/updates/ferramenta nova.slvr"});
  const QString saved = UAPI->fHiddenDir + QStringLiteral("Ferramenta Nova.SLVR");
  EXPECT_EQ(ReadAll(saved), QByteArray::fromStdString(body));
  EXPECT_EQ(ReadAll(UAPI->FdataDir + kListFile), "Ferramenta Nova.SLVR,Lugar,Pasta,1001\r\n");

  // The installer from the program folder, hidden; no close procedure.
  const platform::SimulatedPc pc(statePath_);
  const QJsonArray shellLog = pc.State()[QStringLiteral("shellLog")].toArray();
  ASSERT_FALSE(shellLog.isEmpty());
  const QJsonObject started = shellLog.last().toObject();
  EXPECT_EQ(started[QStringLiteral("file")].toString(),
            UAPI->FExecPath + QStringLiteral("systemupdate.exe"));
  EXPECT_EQ(started[QStringLiteral("workingDir")].toString(), UAPI->FExecPath);
  EXPECT_EQ(started[QStringLiteral("parameters")].toString(), QString());
  EXPECT_TRUE(started[QStringLiteral("hide")].toBool());
  EXPECT_TRUE(started[QStringLiteral("started")].toBool());
  EXPECT_FALSE(SystemDone->isVisible());
  for (const auto& call : world_->Server().SoapCalls())
    EXPECT_NE(call.operation, "RecebeSystemLog");

  // What the installer found when it started: the downloaded file in the
  // hidden folder and the update list.
  const QString record =
      QString::fromStdString((world_->ProgramDir() / "systemupdate.log").string());
  ASSERT_TRUE(RunUntil([&] { return QFileInfo::exists(record); }));
  const QString found = QString::fromUtf8(ReadAll(record));
  EXPECT_TRUE(found.contains(QStringLiteral("pasta: ") +
                             QString::fromStdString(world_->ProgramDir().string())))
      << found.toStdString();
  EXPECT_TRUE(found.contains(QFileInfo(saved).absoluteFilePath())) << found.toStdString();
  EXPECT_TRUE(found.contains(QStringLiteral("Ferramenta Nova.SLVR,Lugar,Pasta,1001")));
  EXPECT_TRUE(QFileInfo::exists(saved));
}

}  // namespace
