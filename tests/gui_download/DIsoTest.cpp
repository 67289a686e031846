// The download screen of chipset 40: where an attempt starts, its retries
// after a failed checksum, the put-off and its continuation in the next run,
// its log entries and the taskbar; and the integrity check of both screens.
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QRegularExpression>
#include <QTimer>
#include <limits>

#include "DownloadWorld.h"
#include "app/Globals.h"
#include "app/PictureButton.h"
#include "app/UAPI.h"
#include "download/uDownloadMultipart.h"
#include "download/uFormDownloadFirmware.h"
#include "drivers/SmoothProgressBar.h"
#include "report/Ptr.h"
#include "report/Rel.h"

namespace {

using namespace std::chrono_literals;

class DIsoTest : public DownloadWorld {
 protected:
  // Sets the screen up as the flow does and shows it; retries come after
  // 30 ms instead of 5 s.
  TDIso* Show(const QString& url, const QString& file, const QString& md5) {
    DIso->UrlPassada = url;
    DIso->FileName = file;
    DIso->Md5Passado = md5;
    DIso->DownloadedOnce = false;
    DIso->findChild<QTimer*>(QStringLiteral("ForcaDownload"))->setInterval(30);
    DIso->open();
    return DIso;
  }

  static void Write(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
  }
};

// --- where an attempt starts

struct StartCase {
  const char* name;
  int localBytes;       // of the local file before the attempt (-1: none)
  bool localIsContent;  // the local bytes are the resource's own, else other bytes
  bool noLength;        // the server announces no length
  bool ignoreRanges;    // the server answers 200 to a range request
  bool https;
  const char* range;  // the GET's Range header ("" for none); "L" stands for localBytes
};

void PrintTo(const StartCase& c, std::ostream* os) {
  *os << c.name;
}

class DIsoStartTest : public DIsoTest, public testing::WithParamInterface<StartCase> {};

TEST_P(DIsoStartTest, TheAttemptStartsWhereTheLocalFileAllowsAndEndsWithTheWholeFile) {
  const StartCase& c = GetParam();
  if (c.https)
    UseHttps();
  const std::string name = "tv.bin";
  const QByteArray content = Firmware(200 * 1024 + 17, 3);
  const QString url = Serve(name, content);
  if (c.noLength)
    world_->Server().SetFault(FirmwarePath(name), {.chunked = true});
  world_->Server().SetIgnoreRanges(c.ignoreRanges);
  Start();
  const QString file = LocalFile(name);
  if (c.localBytes >= 0) {
    Write(file, c.localIsContent ? content.left(c.localBytes) : Firmware(c.localBytes, 11));
  }

  TDIso* screen = Show(url, file, Md5Of(content));
  ASSERT_TRUE(RunUntil([&] { return !screen->isVisible(); }));
  EXPECT_EQ(screen->result(), QDialog::Accepted) << "a first attempt's success closes at once";
  EXPECT_TRUE(UAPI->DownloadExecutadoComSucesso);
  EXPECT_EQ(screen->Tentativas(), 0);
  EXPECT_TRUE(ReadFile(file) == content) << "size " << ReadFile(file).size();
  const std::string expected = c.range == std::string("L")
                                   ? "bytes=" + std::to_string(c.localBytes) + "-"
                                   : std::string(c.range);
  EXPECT_EQ(RangesAsked(name), std::vector<std::string>{expected});
  EXPECT_EQ(UAPI->ItemTotalFirmwareDownloaded, "0");
  EXPECT_EQ(screen->ProgressBar()->Position(), c.noLength ? 0 : 100);
  EXPECT_TRUE(messages_.isEmpty()) << messages_.join(u'|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Starts, DIsoStartTest,
    testing::Values(
        StartCase{"NoLocalFile", -1, true, false, false, false, ""},
        StartCase{"PartialFileOfAnEarlierRunContinues", 80000, true, false, false, false, "L"},
        StartCase{"OverHttpsWithTheUrlsPort", 80000, true, false, false, true, "L"},
        StartCase{"FileAsLongAsTheResourceStartsOver", 200 * 1024 + 17, false, false, false, false,
                  ""},
        StartCase{"LongerLocalFileIsTruncated", 300 * 1024, false, false, false, false, ""},
        StartCase{"NoContentLengthStartsAtZero", 80000, true, true, false, false, ""},
        StartCase{"ServerIgnoringRangesRewritesFromZero", 80000, false, false, true, false, "L"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DIsoTest, TheFileSizeInWholeMegabytesIsRecordedForTheLog) {
  const QByteArray content = Firmware(3 * 1048576 + 1048575, 5);
  const QString url = Serve("big.bin", content);
  Start();
  TDIso* screen = Show(url, LocalFile("big.bin"), Md5Of(content));
  ASSERT_TRUE(RunUntil([&] { return !screen->isVisible(); }));
  EXPECT_EQ(UAPI->ItemTotalFirmwareDownloaded, "3") << "truncated, not rounded";
}

// --- retries after a failed checksum

enum class Ending { ClosesItself, WaitsForContinuar, Restarts };

struct RetryCase {
  const char* name;
  int failedAttempts;  // attempts whose answers are server errors
  bool lastFile;       // LastDownloadPass
  Ending ending;
};

void PrintTo(const RetryCase& c, std::ostream* os) {
  *os << c.name;
}

class DIsoRetryTest : public DIsoTest, public testing::WithParamInterface<RetryCase> {};

TEST_P(DIsoRetryTest, SuccessUpToTheFirstRetryFinishesAndLaterRestartsTheProgram) {
  const RetryCase& c = GetParam();
  const std::string name = "tv.bin";
  const QByteArray content = Firmware(150 * 1024, 4);
  const QString url = Serve(name, content);
  if (c.failedAttempts > 0) {
    // Each attempt asks for the size, then for the file.
    world_->Server().SetFault(FirmwarePath(name),
                              {.status = 500, .times = unsigned(2 * c.failedAttempts)});
  }
  Start();
  UAPI->LastDownloadPass = c.lastFile;
  TDIso* screen = Show(url, LocalFile(name), Md5Of(content));

  switch (c.ending) {
    case Ending::ClosesItself:
      ASSERT_TRUE(RunUntil([&] { return !screen->isVisible(); }));
      EXPECT_EQ(screen->result(), QDialog::Accepted);
      break;
    case Ending::WaitsForContinuar:
      ASSERT_TRUE(RunUntil([&] { return screen->Btcontinuar()->isVisible(); }));
      RunFor(700);
      ASSERT_TRUE(screen->isVisible()) << "the last file's screen waits for the user";
      EXPECT_FALSE(screen->BtContinuarMaisTarde()->isVisible());
      screen->Btcontinuar()->click();
      EXPECT_FALSE(screen->isVisible());
      EXPECT_EQ(screen->result(), QDialog::Accepted);
      break;
    case Ending::Restarts:
      ASSERT_TRUE(RunUntil([] { return UAPI->Terminating(); }));
      break;
  }
  EXPECT_EQ(screen->Tentativas(), c.failedAttempts);
  EXPECT_TRUE(ReadFile(LocalFile(name)) == content);
  if (c.ending == Ending::Restarts) {
    EXPECT_FALSE(UAPI->DownloadExecutadoComSucesso);
    EXPECT_TRUE(UAPI->restartSystem);
    EXPECT_EQ(messages_,
              QStringList{"firmware baixado, porém tivemos alguns problemas, vamos reiniciar o "
                          "sistema para verificar a integridade do firmware"})
        << Rel->logs().log.toStdString();
    EXPECT_TRUE(Ptr->GetProtocol().contains(QStringLiteral("-009-")))
        << Ptr->GetProtocol().toStdString();
    EXPECT_EQ(Rel->logs().ultimaacao, "22");
    EXPECT_TRUE(Rel->logs().log.endsWith(QStringLiteral("  -  Conexão internet instável\r\n")))
        << Rel->logs().log.toStdString();
    EXPECT_TRUE(StartedPrograms().contains(UAPI->FExecPath + UAPI->FsystemName + ".exe"))
        << StartedPrograms().join(u'|').toStdString();
  } else {
    EXPECT_TRUE(UAPI->DownloadExecutadoComSucesso);
    EXPECT_FALSE(UAPI->restartSystem);
    EXPECT_FALSE(UAPI->Terminating());
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(u'|').toStdString();
    EXPECT_EQ(screen->Lstatus()->text(), "Progresso: Terminado");
    EXPECT_EQ(TaskbarValue("state"), 0);
    EXPECT_EQ(TaskbarValue("maximum"), 0);
    EXPECT_EQ(TaskbarValue("flashes"), 1) << "the success flashes the taskbar button";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Retries, DIsoRetryTest,
    testing::Values(RetryCase{"FirstAttemptOfTheLastFile", 0, true, Ending::ClosesItself},
                    RetryCase{"FirstRetry", 1, false, Ending::ClosesItself},
                    RetryCase{"FirstRetryOfTheLastFile", 1, true, Ending::WaitsForContinuar},
                    RetryCase{"SecondRetry", 2, false, Ending::Restarts},
                    RetryCase{"ThirdRetry", 3, true, Ending::Restarts}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DIsoTest, ACorruptFileOfTheSecondQueuedFileKeepsBeingFetchedUntilPutOff) {
  const std::string name = "part2.bin";
  const QByteArray served = Firmware(60 * 1024, 8);
  QByteArray expected = served;
  expected[1000] = static_cast<char>(expected[1000] ^ 0x40);
  const QString url = Serve(name, served);
  Start();
  UAPI->DownloadExecutadoComSucesso = true;  // the queue's first file succeeded
  TDIso* screen = Show(url, LocalFile(name), Md5Of(expected));

  ASSERT_TRUE(RunUntil([&] { return screen->Tentativas() >= 3; }));
  EXPECT_TRUE(screen->isVisible()) << "the first file's success must not close this screen";
  EXPECT_FALSE(UAPI->DownloadExecutadoComSucesso);
  EXPECT_FALSE(UAPI->restartSystem);
  EXPECT_TRUE(messages_.isEmpty()) << "a differing checksum is not reported";

  screen->BtContinuarMaisTarde()->click();
  ASSERT_TRUE(RunUntil([&] { return !screen->isVisible(); }));
  const qint64 attempts = screen->Tentativas();
  RunFor(200);
  EXPECT_EQ(screen->Tentativas(), attempts) << "no retry after a put-off";
  EXPECT_EQ(screen->result(), QDialog::Rejected);
  EXPECT_FALSE(UAPI->DownloadExecutadoComSucesso);
  EXPECT_FALSE(UAPI->Terminating());
}

// --- put off and continued in the next run

TEST_F(DIsoTest, PutOffMidTransferLogsItAndTheNextRunContinuesAtThePartialFilesLength) {
  const std::string name = "tv3.bin";
  const QByteArray content = Firmware(3 * 1048576, 6);
  const QString url = Serve(name, content);
  world_->Server().SetFault(FirmwarePath(name), {.bytesPerSecond = 512 * 1024});
  Start();
  const QString file = LocalFile(name);
  TDIso* screen = Show(url, file, Md5Of(content));

  // The transfer runs inside the screen's event handler: what happens
  // during it happens in a timer.
  QStringList seen;
  int taskbarState = -1, taskbarMaximum = -1;
  bool escapeClosed = false;
  QTimer during;
  QObject::connect(&during, &QTimer::timeout, screen, [&] {
    clock_->Advance(100ms);
    if (!seen.isEmpty() || !screen->lvelocidade()->text().startsWith("Velocidade Média") ||
        !screen->Lstatus()->text().startsWith("Transferindo"))
      return;
    seen << screen->Lstatus()->text() << screen->lvelocidade()->text()
         << screen->ltempoEstimado()->text();
    taskbarState = TaskbarValue("state");
    taskbarMaximum = TaskbarValue("maximum");
    Shoot(screen, QStringLiteral("DIso"));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(screen, &escape);
    escapeClosed = !screen->isVisible();
    screen->BtContinuarMaisTarde()->click();
  });
  during.start(20);
  ASSERT_TRUE(RunUntil([&] { return !screen->isVisible(); }, 20000));
  during.stop();

  ASSERT_EQ(seen.size(), 3);
  EXPECT_EQ(seen[0], "Transferindo: 0 Mb de 3 Mb");
  EXPECT_TRUE(
      QRegularExpression(QStringLiteral("^Velocidade Média: [1-9]\\d{0,2}(\\.\\d{3})* Kb/s$"))
          .match(seen[1])
          .hasMatch())
      << seen[1].toStdString();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^Tempo Estimado: \\d\\d:\\d\\d:\\d\\d$"))
                  .match(seen[2])
                  .hasMatch())
      << seen[2].toStdString();
  EXPECT_EQ(taskbarState, 2) << "normal progress while the file is fetched";
  EXPECT_EQ(taskbarMaximum, content.size());
  EXPECT_FALSE(escapeClosed) << "Escape must not close the screen during the transfer";

  EXPECT_EQ(screen->result(), QDialog::Rejected);
  EXPECT_FALSE(UAPI->DownloadExecutadoComSucesso);
  EXPECT_EQ(messages_,
            QStringList{"O download começara de onde parou na próxima vez que abrir o sistema..."});
  const QString log = Rel->logs().log;
  const auto chose =
      log.indexOf(QStringLiteral("  -  Cliente escolheu terminar download mais tarde\r\n"));
  EXPECT_GE(chose, 0) << log.toStdString();
  EXPECT_GT(log.indexOf(QStringLiteral("  -  Continuar download mais tarde\r\n")), chose);
  EXPECT_EQ(Rel->logs().ultimaacao, "8");
  EXPECT_TRUE(Ptr->GetProtocol().contains(QStringLiteral("-001-")));
  EXPECT_FALSE(UAPI->Terminating()) << "the flow closes the program, not the screen";

  const QByteArray partial = ReadFile(file);
  ASSERT_GT(partial.size(), 0);
  ASSERT_LT(partial.size(), content.size());
  EXPECT_TRUE(partial == content.left(partial.size()));

  Restart();
  world_->Server().ClearFaults();
  world_->Server().ClearRecord();
  screen = Show(url, file, Md5Of(content));
  ASSERT_TRUE(RunUntil([&] { return !screen->isVisible(); }));
  EXPECT_TRUE(UAPI->DownloadExecutadoComSucesso);
  EXPECT_EQ(RangesAsked(name),
            std::vector<std::string>{"bytes=" + std::to_string(partial.size()) + "-"});
  EXPECT_TRUE(ReadFile(file) == content);
}

// --- texts and the integrity check

TEST(DIsoTexts, SpeedAndEstimateUseTheBrazilianLocaleAndTheEstimateWrapsAtADay) {
  QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
  const std::pair<double, const char*> speeds[] = {
      {0, "Velocidade Média: 0 Kb/s"},
      {999.4, "Velocidade Média: 999 Kb/s"},
      {2047.6, "Velocidade Média: 2.048 Kb/s"},
      {1234567.0, "Velocidade Média: 1.234.567 Kb/s"},
  };
  for (const auto& [speed, text] : speeds)
    EXPECT_EQ(AverageSpeedText(speed), text) << speed;
  const std::pair<double, const char*> estimates[] = {
      {0, "Tempo Estimado: 00:00:00"},
      {59.9, "Tempo Estimado: 00:00:59"},
      {3725, "Tempo Estimado: 01:02:05"},
      {86399, "Tempo Estimado: 23:59:59"},
      {90000, "Tempo Estimado: 01:00:00"},
      {-5, "Tempo Estimado: 00:00:00"},
      {std::numeric_limits<double>::infinity(), "Tempo Estimado: 00:00:00"},
  };
  for (const auto& [seconds, text] : estimates)
    EXPECT_EQ(EstimatedTimeText(seconds), text) << seconds;
}

TEST_F(DIsoTest, IntegrityOfBothScreensNeedsTheFileAndComparesDigestsWithoutCase) {
  Start();
  const QByteArray content = Firmware(4096, 9);
  const QString file = LocalFile("fw.bin");
  QByteArray corrupt = content;
  corrupt[4095] = static_cast<char>(corrupt[4095] ^ 1);
  struct Case {
    const char* name;
    const QByteArray* onDisk;  // nullptr: no file
    QString md5;
    bool intact;
  } cases[] = {
      {"missing file, empty checksum", nullptr, QString(), false},
      {"missing file", nullptr, Md5Of(content), false},
      {"same digest", &content, Md5Of(content), true},
      {"same digest in capitals", &content, Md5Of(content).toUpper(), true},
      {"one byte changed", &corrupt, Md5Of(content), false},
      {"empty checksum", &content, QString(), false},
  };
  for (const Case& c : cases) {
    QFile::remove(file);
    if (c.onDisk)
      Write(file, *c.onDisk);
    DIso->FileName = file;
    DIso->Md5Passado = c.md5;
    DownloadMultipart->filename = file;
    DownloadMultipart->Md5Passado = c.md5;
    EXPECT_EQ(DIso->VerificaIntegridadeFirmware(), c.intact) << c.name;
    EXPECT_EQ(DownloadMultipart->VerificaIntegridadeFirmware(), c.intact) << c.name;
  }
}

}  // namespace
