#include "download/UformCacheImg.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/ServerSettings.h"
#include "app/UAPI.h"
#include "download/UDownloader.h"
#include "drivers/SmoothProgressBar.h"

// The screen's pictures live in a static library, so they are registered by
// hand before the first one is read.
static void RegisterSelfUpdateArt() {
  Q_INIT_RESOURCE(selfupdate);
}

namespace {

constexpr char kBackground[] = ":/selfupdate/cache_background.svg";  // 735 x 592
constexpr int kCloseDelayMs = 500;

}  // namespace

TImg::TImg(QWidget* parent) : TStageDialog(parent) {
  static const bool registered = (RegisterSelfUpdateArt(), true);
  (void)registered;
  setObjectName(QStringLiteral("Img"));

  image2_ = new QLabel(this);
  image2_->setObjectName(QStringLiteral("Image2"));
  image2_->setGeometry(0, 0, kStageWidth, kStageHeight);
  image2_->setPixmap(ArtPixmap(QLatin1String(kBackground), image2_->size()));

  label1_ = new QLabel(QStringLiteral("Inicializando cache de imagens..."), this);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setFont(SolvantaFont(QStringLiteral("Gilmer Light"), 27, false));
  SetTextColour(label1_, QColor(kGoldColour));
  label1_->setAlignment(Qt::AlignCenter);
  label1_->setGeometry(0, 280, kStageWidth, 40);

  progressoGeral_ = new QLabel(QStringLiteral("progressoGeral"), this);
  progressoGeral_->setObjectName(QStringLiteral("progressoGeral"));
  progressoGeral_->setFont(SolvantaFont(QStringLiteral("Gilmer Light"), 16, false));
  SetTextColour(progressoGeral_, QColor(kWhiteColour));
  progressoGeral_->setGeometry(120, 350, 495, 24);

  progressBar_ = new SmoothProgressBar(QColor(kGoldColour), QColor(kStageColour), this);
  progressBar_->setObjectName(QStringLiteral("progressBar"));
  progressBar_->setGeometry(120, 380, 495, 22);
  progressBar_->SetMaximum(100);

  FecharForm = new QTimer(this);
  FecharForm->setObjectName(QStringLiteral("FecharForm"));
  FecharForm->setInterval(kCloseDelayMs);
  FecharForm->setSingleShot(true);
  connect(FecharForm, &QTimer::timeout, this, [this] { accept(); });
}

TImg::~TImg() = default;

void TImg::FormShow() {
  // The work starts once the screen is up and its modal loop runs.
  QTimer::singleShot(0, this, &TImg::FormActivate);
}

QString TImg::CountText(int current) const {
  return QStringLiteral("Iniciando: %1/%2").arg(current).arg(aprodutosurl.size());
}

void TImg::FormActivate() {
  TUAPI& uapi = *::UAPI;
  aContador = 0;
  progressoGeral_->setText(CountText(1));
  uapi.ProcessMessages();

  Downloader = std::make_unique<TDownloader>(ServerSettings::CaBundle());
  Downloader->OnProgress = [this](TDownloader* sender) { DownloaderProgress(sender); };

  const QString cache = uapi.FImgDir;
  for (const QString& url : aprodutosurl) {
    if (uapi.Terminating())
      return;
    progressBar_->SetPosition(0);
    const QString name = uapi.ExtractFileNameFromURL(url);
    const QString fetch =
        QString(url).replace(QLatin1Char(' '), QStringLiteral("%20")).replace('\\', '/');
    QDir().mkpath(cache);
    if (!QFileInfo::exists(cache + name) && uapi.CheckUrl(fetch)) {
      Downloader->Download(fetch.toStdString(), (cache + name).toStdString());
    }
    ++aContador;
  }

  Downloader.reset();
  FecharForm->start();
}

void TImg::DownloaderProgress(TDownloader* Sender) {
  const std::int64_t progress = Sender->Progress();
  if (progress == 0 || progress == 100)
    return;
  progressoGeral_->setText(CountText(aContador + 1));
  progressBar_->SetPosition(static_cast<int>(progress));
  ::UAPI->ProcessMessages();
  repaint();
}
