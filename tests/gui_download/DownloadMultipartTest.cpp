// The download screen of most devices: its labels, its texts in the user's
// Brazilian Portuguese, a put-off that the next run of the program resumes,
// and the state file that belongs to another download.
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QSettings>
#include <QTimer>

#include "DownloadWorld.h"
#include "app/Globals.h"
#include "app/PictureButton.h"
#include "app/UAPI.h"
#include "download/uDownloadMultipart.h"
#include "drivers/SmoothProgressBar.h"

namespace {

using namespace std::chrono_literals;

class DownloadMultipartTest : public DownloadWorld {
 protected:
  // Sets the screen up as the flow does and shows it.
  TDownloadMultipart* Show(const QString& url, const QString& file) {
    DownloadMultipart->UrlPassada = url;
    DownloadMultipart->filename = file;
    DownloadMultipart->Label1()->setText(QStringLiteral("Baixando Imagem 1/2"));
    DownloadMultipart->open();
    return DownloadMultipart;
  }

  // Lets the screen start its transfer and its polls pass its first second.
  void PassFirstSecond() {
    ASSERT_TRUE(RunUntil([] { return DownloadMultipart->Tempo()->isActive(); }));
    clock_->Advance(1s);
  }

  static QStringList Labels() {
    return {DownloadMultipart->Lstatus()->text(), DownloadMultipart->lvelocidade()->text(),
            DownloadMultipart->ltempoEstimado()->text()};
  }
};

TEST_F(DownloadMultipartTest, PutOffKeepsTheStateAndTheNextRunResumesAtItsNextByte) {
  const std::string name = "tablet.img";
  const QByteArray content = Firmware(1 << 20);
  const QString url = Serve(name, content);
  world_->Server().SetFault(FirmwarePath(name), {.bytesPerSecond = 256 * 1024});
  Start();
  const QString file = LocalFile(name);
  TDownloadMultipart* screen = Show(url, file);

  ASSERT_TRUE(RunUntil([&] { return screen->Tempo()->isActive(); }));
  RunFor(500);  // polls that fall in the first second of the transfer
  EXPECT_EQ(Labels(), QStringList({"", "", ""}))
      << "the design placeholders or early counters must not show in the first second";
  EXPECT_EQ(screen->Tempo()->interval(), 200);

  clock_->Advance(1s);
  const QRegularExpression status(
      QStringLiteral("^Bytes processados : [1-9]\\d*,\\d\\d KB de 1,00 MB$"));
  ASSERT_TRUE(RunUntil([&] {
    return status.match(screen->Lstatus()->text()).hasMatch() &&
           screen->AbProgress()->Position() > 0;
  })) << Labels().join(u'|').toStdString();
  RunFor(250);  // the next poll, with a speed measured over a longer stretch
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^Velocidade : \\d+,\\d\\d MB$"))
                  .match(screen->lvelocidade()->text())
                  .hasMatch())
      << screen->lvelocidade()->text().toStdString();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^Tempo estimado : \\d\\d:\\d\\d:\\d\\d$"))
                  .match(screen->ltempoEstimado()->text())
                  .hasMatch())
      << screen->ltempoEstimado()->text().toStdString();
  EXPECT_LT(screen->AbProgress()->Position(), 100);
  Shoot(screen, QStringLiteral("DownloadMultipart"));

  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(screen, &escape);
  EXPECT_TRUE(screen->isVisible()) << "Escape must not close the screen past its put-off";

  UAPI->DownloadExecutadoComSucesso = true;
  screen->BtContinuarMaisTarde()->click();
  EXPECT_FALSE(screen->isVisible());
  EXPECT_EQ(screen->result(), QDialog::Rejected);
  EXPECT_FALSE(UAPI->DownloadExecutadoComSucesso);
  EXPECT_TRUE(messages_.isEmpty()) << messages_.join(u'|').toStdString();

  const QString ini = TDownloadMultipart::FileIni();
  ASSERT_TRUE(ini.startsWith(UAPI->ExecPath())) << "beside the program: " << ini.toStdString();
  ASSERT_TRUE(QFile::exists(ini));
  const QSettings saved(ini, QSettings::IniFormat);
  EXPECT_EQ(saved.value("Download/URL").toString(), url);
  EXPECT_EQ(saved.value("Download/LocalFile").toString(), file);
  EXPECT_EQ(saved.value("ResourceState/Count").toInt(), 1);
  EXPECT_EQ(saved.value("ResourceState/ResourceSize").toLongLong(), content.size());
  EXPECT_EQ(saved.value("ResourceStateItem0/ResourcePos").toLongLong(), 0);
  const qint64 done = saved.value("ResourceStateItem0/BytesProceed").toLongLong();
  ASSERT_GT(done, 0);
  ASSERT_LT(done, content.size()) << "the throttle should leave the download unfinished";
  EXPECT_EQ(ReadFile(file).left(done), content.left(done)) << "every byte counted is on disk";

  Restart();
  world_->Server().ClearFaults();
  world_->Server().ClearRecord();
  screen = Show(url, file);
  PassFirstSecond();
  ASSERT_TRUE(RunUntil([&] { return !screen->isVisible(); }));
  EXPECT_EQ(screen->result(), QDialog::Accepted);
  EXPECT_TRUE(UAPI->DownloadExecutadoComSucesso);
  EXPECT_TRUE(ReadFile(file) == content) << "the resumed file differs";
  screen->Md5Passado = Md5Of(content).toUpper();
  EXPECT_TRUE(screen->VerificaIntegridadeFirmware()) << "digests compare without regard to case";
  // Besides its one-byte probe of the resource, the resumed run asks only
  // for what follows the saved part.
  const std::string next = "bytes=" + std::to_string(done) + "-";
  int resumed = 0;
  for (const auto& range : RangesAsked(name)) {
    EXPECT_TRUE(range == "bytes=0-0" || range.starts_with(next)) << range;
    resumed += range.starts_with(next);
  }
  EXPECT_EQ(resumed, 1);
  EXPECT_FALSE(QFile::exists(ini)) << "a finished download leaves no state behind";
}

struct ForeignStateCase {
  const char* name;
  bool otherUrl;       // the state file names another resource
  bool localFileKept;  // the partial local file is still there
};

void PrintTo(const ForeignStateCase& c, std::ostream* os) {
  *os << c.name;
}

class ForeignStateTest : public DownloadMultipartTest,
                         public testing::WithParamInterface<ForeignStateCase> {};

TEST_P(ForeignStateTest, AStateThatIsNotThisDownloadsIsDeletedAndTheFileFetchedWhole) {
  const ForeignStateCase& c = GetParam();
  const std::string name = "phone.img";
  const QByteArray content = Firmware(300 * 1024, 7);
  const QString url = Serve(name, content);
  Start();
  const QString file = LocalFile(name);
  const qint64 half = content.size() / 2;
  if (c.localFileKept) {
    QFile partial(file);
    ASSERT_TRUE(partial.open(QIODevice::WriteOnly));
    partial.write(Firmware(static_cast<int>(half), 99));  // not this resource's bytes
  }
  {
    QSettings state(TDownloadMultipart::FileIni(), QSettings::IniFormat);
    state.setValue("Download/URL", c.otherUrl ? url + QStringLiteral(".old") : url);
    state.setValue("Download/LocalFile", file);
    state.setValue("ResourceState/Count", 1);
    state.setValue("ResourceState/ResourceSize", content.size());
    state.setValue("ResourceStateItem0/ResourcePos", 0);
    state.setValue("ResourceStateItem0/BytesToProceed", content.size());
    state.setValue("ResourceStateItem0/BytesProceed", half);
  }

  Show(url, file);
  EXPECT_FALSE(QFile::exists(TDownloadMultipart::FileIni())) << "deleted when the screen shows";
  PassFirstSecond();
  ASSERT_TRUE(RunUntil([] { return !DownloadMultipart->isVisible(); }));
  EXPECT_TRUE(UAPI->DownloadExecutadoComSucesso);
  EXPECT_TRUE(ReadFile(file) == content) << "the old bytes were kept";
  for (const auto& range : RangesAsked(name))
    EXPECT_TRUE(range.empty() || range.starts_with("bytes=0-")) << range;
}

INSTANTIATE_TEST_SUITE_P(States, ForeignStateTest,
                         testing::Values(ForeignStateCase{"AnotherUrl", true, true},
                                         ForeignStateCase{"LocalFileMissing", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
