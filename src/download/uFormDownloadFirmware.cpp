#include "download/uFormDownloadFirmware.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPalette>
#include <QTextEdit>
#include <QTime>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/PictureButton.h"
#include "app/ServerSettings.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "download/UMPDownloader.h"
#include "drivers/SmoothProgressBar.h"
#include "platform/Platform.h"
#include "report/Ptr.h"
#include "report/Rel.h"

namespace {

constexpr char kBtnContinuarMaisTarde[] = ":/art/btn_continuar_mais_tarde.svg";
constexpr long kBlock = 1025;

using Curl = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;

QTimer* Timer(QObject* parent, const char* name, int interval) {
  auto* timer = new QTimer(parent);
  timer->setObjectName(QLatin1String(name));
  timer->setInterval(interval);
  return timer;
}

// The request's URL with its own scheme and port; the query is not sent.
void SetupRequest(CURL* curl, const QString& url) {
  QUrl parsed(url);
  parsed.setQuery(QString());
  curl_easy_setopt(curl, CURLOPT_URL, parsed.toString(QUrl::FullyEncoded).toUtf8().constData());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, TUAPI::kUserAgent);
  if (::UAPI && ::UAPI->Internet())
    curl_easy_setopt(curl, CURLOPT_SHARE, ::UAPI->Internet());
  const std::string ca = ServerSettings::CaBundle();
  if (!ca.empty())
    curl_easy_setopt(curl, CURLOPT_CAINFO, ca.c_str());
}

struct Answer {
  long status = 0;
  std::int64_t rangeFirst = -1;
  std::string pending;  // bytes received and not yet written
  bool started = false;
};

size_t OnHeader(char* data, size_t size, size_t count, void* context) {
  auto& answer = *static_cast<Answer*>(context);
  const QByteArray line = QByteArray(data, static_cast<qsizetype>(size * count)).trimmed();
  if (line.startsWith("HTTP/")) {
    answer.status = line.split(' ').value(1).toLong();
    answer.rangeFirst = -1;
  } else if (line.toLower().startsWith("content-range:")) {
    const QByteArray spec = line.mid(14).trimmed();
    if (spec.startsWith("bytes "))
      answer.rangeFirst = spec.mid(6).split('-').value(0).toLongLong();
  }
  return size * count;
}

size_t OnBody(char* data, size_t size, size_t count, void* context) {
  auto& answer = *static_cast<Answer*>(context);
  if (answer.status != 200 && answer.status != 206)
    return 0;  // an error page is no firmware
  answer.pending.append(data, size * count);
  return size * count;
}

// Wall time from the platform clock, so tests can drive it.
QDateTime Now() {
  const auto now = platform::Current().clock->Now();
  return QDateTime::fromMSecsSinceEpoch(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count());
}

}  // namespace

QString AverageSpeedText(double kilobytesPerSecond) {
  const double rounded = std::isfinite(kilobytesPerSecond) ? std::nearbyint(kilobytesPerSecond) : 0;
  return QStringLiteral("Velocidade Média: ") +
         QLocale().toString(static_cast<qlonglong>(rounded)) + QStringLiteral(" Kb/s");
}

QString EstimatedTimeText(double seconds) {
  const double wrapped = std::isfinite(seconds) && seconds > 0 ? std::fmod(seconds, 86400.0) : 0;
  return QStringLiteral("Tempo Estimado: ") +
         QTime(0, 0).addSecs(static_cast<int>(wrapped)).toString(QStringLiteral("HH:mm:ss"));
}

TDIso::TDIso(QWidget* parent) : TStageDialog(parent) {
  setObjectName(QStringLiteral("DIso"));
  setFixedSize(720, 620);
  SetBackgroundColour(this, Qt::white);
  label1_ = LightLabel(this, "Label1", QStringLiteral("Baixando arquivos"), {20, 30, 680, 40}, 27,
                       kGoldColour, Qt::AlignCenter);
  panel1_ = new QWidget(this);
  panel1_->setObjectName(QStringLiteral("Panel1"));
  panel1_->setGeometry(60, 110, 600, 90);
  reLabel_ = new QTextEdit(panel1_);
  reLabel_->setObjectName(QStringLiteral("reLabel"));
  reLabel_->setReadOnly(true);
  reLabel_->setFrameStyle(0);
  reLabel_->setGeometry(0, 0, 600, 90);
  reLabel_->setFont(SolvantaFont(QStringLiteral("Gilmer Light"), 16, false));
  // The panel is kept disabled so the text cannot be clicked into; it must
  // still read as plain dark text on the white screen.
  QPalette palette = reLabel_->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, Qt::white);
    palette.setColor(group, QPalette::Text, QColor(kStageColour));
  }
  reLabel_->setPalette(palette);
  reLabel_->setPlainText(
      QStringLiteral("Estamos baixando o arquivo necessário para regravar o dispositivo.\n"
                     "Este procedimento pode demorar.\nPor gentileza, aguarde o término."));
  reLabel_->selectAll();
  reLabel_->setAlignment(Qt::AlignCenter);
  progressBar_ = new SmoothProgressBar(QColor(kGoldColour), QColor(225, 225, 225), this);
  progressBar_->setObjectName(QStringLiteral("ProgressBar"));
  progressBar_->setGeometry(60, 260, 600, 22);
  lstatus_ = LightLabel(this, "Lstatus", QStringLiteral("Progresso: 30%"), {60, 295, 600, 24}, 16,
                        kStageColour);
  lvelocidade_ = LightLabel(this, "lvelocidade", QStringLiteral("Velocidade: 3000Kb/s"),
                            {60, 325, 300, 24}, 16, kStageColour);
  ltempoEstimado_ =
      LightLabel(this, "ltempoEstimado", QStringLiteral("Tempo Estimado: 3 Minutos"),
                 {360, 325, 300, 24}, 16, kStageColour, Qt::AlignRight | Qt::AlignVCenter);
  tamanho_ = LightLabel(this, "Tamanho", QString(), {60, 355, 200, 24}, 16, kStageColour);
  tamanho_->hide();
  btcontinuar_ = new PictureButton(QLatin1String(art::kBtnContinuar), this);
  btcontinuar_->setObjectName(QStringLiteral("Btcontinuar"));
  btcontinuar_->move(253, 450);
  btcontinuar_->hide();
  btContinuarMaisTarde_ = new PictureButton(QLatin1String(kBtnContinuarMaisTarde), this);
  btContinuarMaisTarde_->setObjectName(QStringLiteral("BtContinuarMaisTarde"));
  btContinuarMaisTarde_->move(253, 400);
  image1_ = new QLabel(this);
  image1_->setObjectName(QStringLiteral("Image1"));
  image1_->setGeometry(0, 560, 720, 60);
  SetBackgroundColour(image1_, QColor(kScreenColour));
  image1_->setAutoFillBackground(true);

  TempoShow = Timer(this, "TempoShow", 400);
  MostraVelocidadeDownload = Timer(this, "MostraVelocidadeDownload", 500);
  ForcaDownload = Timer(this, "ForcaDownload", 5000);
  tickclose = Timer(this, "tickclose", 200);
  fechaform = Timer(this, "fechaform", 500);
  connect(TempoShow, &QTimer::timeout, this, &TDIso::TempoShowTimer);
  connect(MostraVelocidadeDownload, &QTimer::timeout, this, &TDIso::MostraVelocidadeDownloadTimer);
  connect(ForcaDownload, &QTimer::timeout, this, &TDIso::ForcaDownloadTimer);
  connect(tickclose, &QTimer::timeout, this, [this] {
    tickclose->stop();
    reject();
  });
  connect(fechaform, &QTimer::timeout, this, [this] {
    fechaform->stop();
    accept();
  });
  connect(btContinuarMaisTarde_, &PictureButton::clicked, this, &TDIso::BtContinuarMaisTardeClick);
  connect(btcontinuar_, &PictureButton::clicked, this, &TDIso::accept);
  connect(this, &QDialog::finished, this, [this] {
    for (QTimer* t : {TempoShow, MostraVelocidadeDownload, ForcaDownload, tickclose, fechaform})
      t->stop();
  });
}

bool TDIso::VerificaIntegridadeFirmware() {
  return FirmwareIntact(FileName, Md5Passado);
}

void TDIso::keyPressEvent(QKeyEvent* event) {
  // Escape would close the dialog past the put-off button while the
  // transfer loop still runs inside it.
  if (event->key() != Qt::Key_Escape)
    TStageDialog::keyPressEvent(event);
}

void TDIso::FormShow() {
  if (::fp)
    move(::fp->x() + ::fp->panelStage()->x(), ::fp->y() + 10);
  if (DownloadedOnce)
    return;
  DownloadedOnce = true;
  if (::UAPI) {
    ::UAPI->MakeItBold(reLabel_, panel1_, QStringLiteral("Este procedimento pode demorar."), 0);
  }
  QTimer::singleShot(0, this, &TDIso::Start);
}

void TDIso::Start() {
  FIsDownloading = IsDownloadPaused = IsdownloadForced = IsDownloadLater = false;
  btContinuarMaisTarde_->show();
  btcontinuar_->hide();
  NumeroTentativas = 0;
  ForcaDownload->stop();
  ::UAPI->DownloadExecutadoComSucesso = false;
  Attempt();
  if (::UAPI->DownloadExecutadoComSucesso && isVisible())
    accept();
}

std::int64_t TDIso::RequestSize() {
  Curl curl(curl_easy_init(), &curl_easy_cleanup);
  if (!curl)
    return 0;
  SetupRequest(curl.get(), UrlPassada);
  curl_easy_setopt(curl.get(), CURLOPT_NOBODY, 1L);
  curl_off_t length = -1;
  long status = 0;
  if (curl_easy_perform(curl.get()) != CURLE_OK)
    return 0;
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
  curl_easy_getinfo(curl.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  return status >= 200 && status < 300 && length > 0 ? length : 0;
}

void TDIso::Attempt() {
  if (FIsDownloading)
    return;
  FIsDownloading = true;
  try {
    fLastTime = Now();
    fLastDownloaded = 0;
    Stime = fLastTime;
    MostraVelocidadeDownload->start();
    TempoShow->start();
    size = RequestSize();
    ::UAPI->ItemTotalFirmwareDownloaded = QString::number(size / 1048576);
    UrlFileSize = size;
    const QFileInfo local(FileName);
    if (size == 0 || !local.exists()) {
      FPos = 0;
    } else if (FPos == 0) {
      FileSystemFileSize = local.size();
      if (FileSystemFileSize < size)
        FPos = FileSystemFileSize;
    }
    progressBar_->SetMaximum(100);
    progressBar_->SetPosition(DownloadPercent(size, FPos));
    ::UAPI->WorkMsTaskBar(platform::TaskbarState::Normal, false, 0, size);
    FPos = Transfer(FPos);
    if (FPos == size)
      FPos = 0;
  } catch (...) {
    FIsDownloading = false;
    ::UAPI->MsgPadrao(QStringLiteral("Internet instável, nao foi possível completar o download, "
                                     "favor tentar novamente em alguns minutos"),
                      false);
    ::Rel->SetUltimaAcao(QStringLiteral("22"));
    ::Rel->SetRel(QStringLiteral("Exception - Problemas no download"));
    ::Ptr->SetCodigoErro(QStringLiteral("007"));
    ::UAPI->FecharSistema();
    return;
  }
  FIsDownloading = false;
  if (::UAPI->Terminating())
    return;

  if (IsDownloadLater) {
    PutOffEnded();
  } else if (VerificaIntegridadeFirmware()) {
    TempoShow->stop();
    if (NumeroTentativas <= 1) {
      ::UAPI->DownloadExecutadoComSucesso = true;
      btContinuarMaisTarde_->hide();
      lstatus_->setText(QStringLiteral("Progresso: Terminado"));
      ::UAPI->WorkMsTaskBar(platform::TaskbarState::None, true, 0, 0);
      MostraVelocidadeDownload->stop();
      if (::UAPI->LastDownloadPass) {
        btcontinuar_->show();
      } else {
        fechaform->start();
      }
    } else {
      ::UAPI->DownloadExecutadoComSucesso = false;
      ::UAPI->MsgPadrao(QStringLiteral("firmware baixado, porém tivemos alguns problemas, vamos "
                                       "reiniciar o sistema para verificar a integridade do "
                                       "firmware"),
                        false);
      ::Ptr->SetCodigoErro(QStringLiteral("009"));
      ::Rel->SetUltimaAcao(QStringLiteral("22"));
      ::Rel->SetRel(QStringLiteral("Conexão internet instável"));
      ::UAPI->restartSystem = true;
      ::UAPI->FecharSistema();
    }
  } else if (!IsDownloadPaused) {
    IsdownloadForced = true;
    ForcaDownload->start();
  }
}

void TDIso::PutOffEnded() {
  ::Ptr->SetCodigoErro(QStringLiteral("001"));
  ::Rel->SetUltimaAcao(QStringLiteral("8"));
  ::Rel->SetRel(QStringLiteral("Continuar download mais tarde"));
  ::UAPI->DownloadExecutadoComSucesso = false;
  tickclose->start();
}

std::int64_t TDIso::Transfer(std::int64_t p) {
  const int fd = ::open(FileName.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0)
    throw std::runtime_error("the local file cannot be opened");
  Curl curl(curl_easy_init(), &curl_easy_cleanup);
  std::unique_ptr<CURLM, decltype(&curl_multi_cleanup)> multi(curl_multi_init(),
                                                              &curl_multi_cleanup);
  if (!curl || !multi) {
    ::close(fd);
    throw std::runtime_error("no transfer handle");
  }
  Answer answer;
  SetupRequest(curl.get(), UrlPassada);
  curl_easy_setopt(curl.get(), CURLOPT_BUFFERSIZE, kBlock);
  curl_easy_setopt(curl.get(), CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(curl.get(), CURLOPT_HEADERDATA, &answer);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &answer);
  const std::string range = std::to_string(p) + "-";
  if (p > 0)
    curl_easy_setopt(curl.get(), CURLOPT_RANGE, range.c_str());
  curl_multi_add_handle(multi.get(), curl.get());

  int running = 1;
  bool writeFailed = false;
  while (running > 0 && FIsDownloading && !writeFailed) {
    curl_multi_perform(multi.get(), &running);
    if (!answer.pending.empty()) {
      if (!answer.started) {
        answer.started = true;
        // An answer that does not start at p is written from the beginning,
        // over a file cut to nothing, so no old tail survives.
        if (p > 0 && !(answer.status == 206 && answer.rangeFirst == p))
          p = 0;
        if (p == 0 && ::ftruncate(fd, 0) != 0)
          writeFailed = true;
      }
      const std::string block = std::move(answer.pending);
      answer.pending.clear();
      for (size_t at = 0; at < block.size() && !writeFailed;) {
        const ssize_t n = ::pwrite(fd, block.data() + at, block.size() - at, p);
        if (n <= 0) {
          writeFailed = true;
          break;
        }
        at += static_cast<size_t>(n);
        p += n;
      }
      ProgressStep(p);
    } else if (running > 0) {
      curl_multi_poll(multi.get(), nullptr, 0, 50, nullptr);
      ::UAPI->ProcessMessages();
    }
  }
  curl_multi_remove_handle(multi.get(), curl.get());
  ::close(fd);
  if (writeFailed)
    throw std::runtime_error("the local file cannot be written");
  return p;
}

void TDIso::ProgressStep(std::int64_t p) {
  const qint64 ms = Stime.msecsTo(Now());
  const double s = static_cast<double>(ms) / 1000.0;
  if (s > 0)
    VelMedia = static_cast<double>(p) / 1024.0 / s;
  velocidademedia = AverageSpeedText(VelMedia);
  const std::int64_t w = std::max<qint64>(1, ms / 1000);
  SegFaltam = 0;
  if (p / w > 0)
    SegFaltam = static_cast<double>(size - p) / static_cast<double>(p / w);
  Completed = p;
  progressBar_->SetPosition(DownloadPercent(size, Completed));
  ::UAPI->ProcessMessages();
}

void TDIso::TempoShowTimer() {
  lstatus_->setText(QStringLiteral("Transferindo: ") +
                    QString::number(std::llround(static_cast<double>(Completed) / 1048576.0)) +
                    QStringLiteral(" Mb de ") +
                    QString::number(std::llround(static_cast<double>(UrlFileSize) / 1048576.0)) +
                    QStringLiteral(" Mb"));
}

void TDIso::MostraVelocidadeDownloadTimer() {
  fLastTime = Now();
  fLastDownloaded = Completed;
  if (IsDownloadPaused || IsDownloadLater)
    MostraVelocidadeDownload->stop();
  lvelocidade_->setText(velocidademedia);
  ltempoEstimado_->setText(EstimatedTimeText(SegFaltam));
}

void TDIso::ForcaDownloadTimer() {
  if (!std::exchange(IsdownloadForced, false))
    return;
  ++NumeroTentativas;
  Attempt();
}

void TDIso::BtContinuarMaisTardeClick() {
  MostraVelocidadeDownload->stop();
  IsDownloadLater = true;
  IsDownloadPaused = true;
  IsdownloadForced = false;  // a retry already due must not start now
  const bool running = std::exchange(FIsDownloading, false);
  ::UAPI->MsgPadrao(
      QStringLiteral("O download começara de onde parou na próxima vez que abrir o sistema..."),
      false);
  ::Rel->SetUltimaAcao(QStringLiteral("8"));
  ::Rel->SetRel(QStringLiteral("Cliente escolheu terminar download mais tarde"));
  ::Ptr->SetCodigoErro(QStringLiteral("001"));
  // Between attempts no transfer is left to end through the put-off branch.
  if (!running)
    PutOffEnded();
}
