#include "download/uDownloadMultipart.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/PictureButton.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "download/UMPDownloader.h"
#include "drivers/SmoothProgressBar.h"
#include "platform/Platform.h"

namespace {

constexpr char kBtnContinuarMaisTarde[] = ":/art/btn_continuar_mais_tarde.svg";

}  // namespace

TDownloadMultipart::TDownloadMultipart(QWidget* parent) : TStageDialog(parent) {
  setObjectName(QStringLiteral("DownloadMultipart"));
  image2_ = new QLabel(this);
  image2_->setObjectName(QStringLiteral("Image2"));
  image2_->setGeometry(0, 0, kStageWidth, kStageHeight);
  image2_->setPixmap(ArtPixmap(QLatin1String(art::kWaitingBackground), size()));

  label1_ = LightLabel(this, "Label1", QStringLiteral("Baixando arquivos"),
                       {0, 250, kStageWidth, 40}, 27, kGoldColour, Qt::AlignCenter);
  label2_ = LightLabel(
      this, "Label2",
      QStringLiteral("Estamos baixando o arquivo necessário para regravar o dispositivo."),
      {24, 352, 687, 22}, 16, kWhiteColour, Qt::AlignCenter);
  label3_ = LightLabel(this, "Label3", QStringLiteral("Este procedimento pode demorar."),
                       {24, 374, 687, 22}, 16, kWhiteColour, Qt::AlignCenter);
  label4_ = LightLabel(this, "Label4", QStringLiteral("Por gentileza, aguarde o término."),
                       {24, 396, 687, 22}, 16, kWhiteColour, Qt::AlignCenter);
  abProgress_ = new SmoothProgressBar(QColor(kGoldColour), QColor(40, 60, 85), this);
  abProgress_->setObjectName(QStringLiteral("AbProgress"));
  abProgress_->setGeometry(60, 432, 615, 22);
  lstatus_ = LightLabel(this, "Lstatus", QStringLiteral("Progresso: 30%"), {60, 460, 615, 24}, 16,
                        kWhiteColour);
  lvelocidade_ = LightLabel(this, "lvelocidade", QStringLiteral("Velocidade: 3000Kb/s"),
                            {60, 486, 300, 24}, 16, kWhiteColour);
  ltempoEstimado_ =
      LightLabel(this, "ltempoEstimado", QStringLiteral("Tempo Estimado: 3 Minutos"),
                 {375, 486, 300, 24}, 16, kWhiteColour, Qt::AlignRight | Qt::AlignVCenter);
  btContinuarMaisTarde_ = new PictureButton(QLatin1String(kBtnContinuarMaisTarde), this);
  btContinuarMaisTarde_->setObjectName(QStringLiteral("BtContinuarMaisTarde"));
  btContinuarMaisTarde_->move(260, 528);
  tamanho_ = LightLabel(this, "Tamanho", QString(), {60, 512, 200, 24}, 16, kWhiteColour);
  tamanho_->hide();
  btcontinuar_ = new PictureButton(QLatin1String(art::kBtnContinuar), this);
  btcontinuar_->setObjectName(QStringLiteral("Btcontinuar"));
  btcontinuar_->move(260, 528);
  btcontinuar_->hide();

  iniciaprocesso_ = new QTimer(this);
  iniciaprocesso_->setObjectName(QStringLiteral("iniciaprocesso"));
  iniciaprocesso_->setInterval(200);
  tempo_ = new QTimer(this);
  tempo_->setObjectName(QStringLiteral("Tempo"));
  tempo_->setInterval(100);
  connect(iniciaprocesso_, &QTimer::timeout, this, &TDownloadMultipart::iniciaprocessoTimer);
  connect(tempo_, &QTimer::timeout, this, &TDownloadMultipart::TempoTimer);
  connect(btContinuarMaisTarde_, &PictureButton::clicked, this,
          &TDownloadMultipart::BtContinuarMaisTardeClick);
}

TDownloadMultipart::~TDownloadMultipart() = default;

QString TDownloadMultipart::FileIni() {
  // The program's own folder as the platform gives it (the simulated PC's in
  // the demo), not the folder this binary happens to run from.
  if (!::UAPI)
    return QCoreApplication::applicationDirPath() + QStringLiteral("/DS.ini");
  return StateFileFolder(::UAPI->ExecPath(), ::UAPI->dataDir()) + QStringLiteral("DS.ini");
}

bool TDownloadMultipart::VerificaIntegridadeFirmware() {
  return FirmwareIntact(filename, Md5Passado);
}

void TDownloadMultipart::keyPressEvent(QKeyEvent* event) {
  // Escape would close the dialog past the put-off button, leaving the
  // transfer running and its state unsaved.
  if (event->key() != Qt::Key_Escape)
    TStageDialog::keyPressEvent(event);
}

void TDownloadMultipart::FormShow() {
  if (::fp) {
    move(::fp->x() + ::fp->panelStage()->x(), ::fp->y() + 40);
  }
  alreadykicked = false;
  DiscardForeignState(FileIni(), UrlPassada, filename);
  abProgress_->SetMaximum(100);
  abProgress_->SetPosition(0);
  iniciaprocesso_->start();
}

void TDownloadMultipart::iniciaprocessoTimer() {
  iniciaprocesso_->stop();
  lstatus_->clear();
  lvelocidade_->clear();
  ltempoEstimado_->clear();
  if (std::exchange(alreadykicked, true))
    return;
  try {
    const QString folder = FileIni().chopped(QStringLiteral("DS.ini").size());
    downloader_ = std::make_unique<TUMPDownloader>(folder);
    downloader_->SetDownload(UrlPassada, filename);
    abProgress_->SetPosition(0);
    tempo_->stop();
    downloader_->StarDownload(tempo_);
    tempoinicio = platform::Current().clock->TickCount();
  } catch (...) {
  }
}

void TDownloadMultipart::TempoTimer() {
  if (!downloader_ || platform::Current().clock->TickCount() - tempoinicio < 1000)
    return;
  try {
    if (downloader_->GetStatusDownload()) {
      downloader_->StopDownload(tempo_);
      ::UAPI->DownloadExecutadoComSucesso = true;
      downloader_.reset();
      accept();
      return;
    }
    if (downloader_->GetTotalDeBytesInt() == 0) {
      downloader_->SetTotalDeBytes();
      abProgress_->SetMaximum(100);
    }
    const std::int64_t total = downloader_->GetTotalDeBytesInt();
    const std::int64_t done = downloader_->GetBytesProcessadosInt();
    abProgress_->SetPosition(total == 0 || done == 0 ? 0 : DownloadPercent(total, done));
    lstatus_->setText(QStringLiteral("Bytes processados : ") +
                      downloader_->GetBytesProcessadorStr() + QStringLiteral(" de ") +
                      downloader_->GetTotalDeBytesStr());
    lvelocidade_->setText(QStringLiteral("Velocidade : ") + downloader_->GetVelocidadeDeDownload());
    ltempoEstimado_->setText(QStringLiteral("Tempo estimado : ") + downloader_->GetTempoEstimado());
  } catch (...) {
  }
}

void TDownloadMultipart::BtContinuarMaisTardeClick() {
  if (downloader_)
    downloader_->StopDownload(tempo_);
  ::UAPI->DownloadExecutadoComSucesso = false;
  downloader_.reset();
  reject();
}
