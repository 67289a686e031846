#include "service/UpdateSystem.h"

#include <QDir>
#include <QLabel>
#include <QTimer>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/ServerSettings.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/FWCmsg.h"
#include "download/UDownloader.h"
#include "drivers/SmoothProgressBar.h"
#include "service/SystemUpdateRules.h"

// The screen's pictures live in a static library, so they are registered by
// hand before the first one is read.
static void RegisterUpdateArt() {
  Q_INIT_RESOURCE(selfupdate);
}

namespace {

constexpr char kBackground[] = ":/selfupdate/update_background.svg";  // 735 x 592
constexpr char kPanel[] = ":/selfupdate/update_panel.svg";            // 560 x 300
constexpr int kUpdaterMs = 500;

SmoothProgressBar* Bar(QWidget* parent, const char* name, const QRect& place) {
  auto* bar = new SmoothProgressBar(QColor(kGoldColour), QColor(kStageColour), parent);
  bar->setObjectName(QLatin1String(name));
  bar->setGeometry(place);
  return bar;
}

}  // namespace

TUpdateSystem::TUpdateSystem(QWidget* parent) : TStageScreen(parent) {
  static const bool registered = (RegisterUpdateArt(), true);
  (void)registered;
  setObjectName(QStringLiteral("UpdateSystem"));

  image1_ = new QLabel(this);
  image1_->setObjectName(QStringLiteral("Image1"));
  image1_->setGeometry(0, 0, kStageWidth, kStageHeight);
  image1_->setPixmap(ArtPixmap(QLatin1String(kBackground), image1_->size()));
  image2_ = new QLabel(this);
  image2_->setObjectName(QStringLiteral("Image2"));
  image2_->setGeometry(87, 146, 560, 300);
  image2_->setPixmap(ArtPixmap(QLatin1String(kPanel), image2_->size()));

  label2_ = LightLabel(this, "Label2", QStringLiteral("Assistente Inteligente Solvanta"),
                       {117, 166, 420, 30}, 21, kGoldColour);
  latualizacoes_ = LightLabel(this, "latualizacoes", QStringLiteral("Procurando atualizações..."),
                              {117, 228, 500, 30}, 20, kWhiteColour);
  progressoGeral_ =
      LightLabel(this, "progressoGeral", QStringLiteral("Baixando Atualizações do sistema..."),
                 {117, 282, 500, 22}, 15, kWhiteColour);
  AbProgress = Bar(this, "AbProgress", {117, 308, 500, 18});
  ProgressoItem = LightLabel(this, "ProgressoItem", QStringLiteral("Progresso: 0%"),
                             {117, 348, 500, 22}, 15, kWhiteColour);
  AbProgressItem = Bar(this, "AbProgressItem", {117, 374, 500, 18});
  for (QWidget* hidden : std::initializer_list<QWidget*>{progressoGeral_, AbProgress, ProgressoItem,
                                                         AbProgressItem}) {
    hidden->hide();
  }

  updater = new QTimer(this);
  updater->setObjectName(QStringLiteral("updater"));
  updater->setInterval(kUpdaterMs);
  connect(updater, &QTimer::timeout, this, &TUpdateSystem::updaterTimer);
}

TUpdateSystem::~TUpdateSystem() = default;

void TUpdateSystem::ZeraParm() {
  aUrl.clear();
  aLocalSalvar.clear();
}

void TUpdateSystem::FormShow() {
  updater->start();
}

void TUpdateSystem::updaterTimer() {
  updater->stop();
  if (std::exchange(Inicializado, true))
    return;

  TUAPI& uapi = *::UAPI;
  if (!uapi.CheckSystemUpdate()) {
    if (uapi.Terminating())
      return;
    ::fp->Fs.ShowScreen(this, ::FWCmsg);
    return;
  }

  for (QWidget* shown : std::initializer_list<QWidget*>{ProgressoItem, progressoGeral_, AbProgress,
                                                        AbProgressItem}) {
    shown->show();
  }
  latualizacoes_->setText(QStringLiteral("Atualizações encontradas, aguarde..."));
  EtapaInt = 1;
  progressoGeral_->setText(QStringLiteral("Baixando arquivos:"));
  ProgressoItem->setText(QStringLiteral("Progresso: 0%"));
  repaint();

  BaixarFila();

  uapi.MsgPadrao(QStringLiteral("O sistema vai reiniciar para instalar as atualizações"), false);
  if (uapi.Terminating())
    return;
  uapi.ExecuteNoWait(uapi.FExecPath + QStringLiteral("systemupdate.exe"), QString(), uapi.FExecPath,
                     true);
  uapi.Terminate();
}

void TUpdateSystem::BaixarFila() {
  TUAPI& uapi = *::UAPI;
  Downloader = std::make_unique<TDownloader>(ServerSettings::CaBundle());
  Downloader->OnProgress = [this](TDownloader* sender) { DownloaderProgress(sender); };
  AbProgress->SetMaximum(static_cast<int>(aUrl.size()) - 1);
  AbProgress->SetPosition(0);
  AbProgress->show();

  for (qsizetype i = 0; i < aUrl.size() && i < aLocalSalvar.size(); ++i) {
    if (uapi.Terminating())
      break;
    repaint();
    AbProgressItem->SetPosition(0);
    const QString name = uapi.ExtractFileNameFromURL(aUrl[i]);
    const QString request = selfupdate::RequestUrl(aUrl[i]);
    QDir().mkpath(aLocalSalvar[i]);
    Downloader->Download(request.toStdString(), (aLocalSalvar[i] + name).toStdString());
    ++EtapaInt;
    AbProgress->SetPosition(AbProgress->Position() + 1);
  }

  Downloader.reset();
}

void TUpdateSystem::DownloaderProgress(TDownloader* Sender) {
  const std::int64_t progress = Sender->Progress();
  ProgressoItem->setText(progress == 0 || progress == 100
                             ? QStringLiteral("Progresso: 100%")
                             : QStringLiteral("Progresso: %1% ").arg(progress));
  AbProgressItem->SetPosition(static_cast<int>(progress));
  repaint();
}
