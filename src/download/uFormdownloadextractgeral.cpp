#include "download/uFormdownloadextractgeral.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/ServerSettings.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "download/UDownloader.h"
#include "drivers/SmoothProgressBar.h"

namespace {

constexpr int kCloseDelayMs = 500;

SmoothProgressBar* Bar(QWidget* parent, const char* name, const QRect& place) {
  auto* bar = new SmoothProgressBar(QColor(kGoldColour), QColor(kStageColour), parent);
  bar->setObjectName(QLatin1String(name));
  bar->setGeometry(place);
  return bar;
}

}  // namespace

QString ExtFilesFetchUrl(const QString& url) {
  return QString(url).replace(QLatin1Char(' '), QStringLiteral("%20")).replace('\\', '/').toLower();
}

TExtFiles::TExtFiles(QWidget* parent) : TStageDialog(parent) {
  setObjectName(QStringLiteral("ExtFiles"));
  image2_ = new QLabel(this);
  image2_->setObjectName(QStringLiteral("Image2"));
  image2_->setGeometry(0, 0, kStageWidth, kStageHeight);
  image2_->setPixmap(ArtPixmap(QLatin1String(art::kWaitingBackground), image2_->size()));

  label1_ = LightLabel(this, "Label1", QStringLiteral("Processando arquivos"),
                       {0, 250, kStageWidth, 40}, 27, kGoldColour);
  label1_->setAlignment(Qt::AlignCenter);
  progressoItem_ = LightLabel(this, "ProgressoItem", QStringLiteral("Progresso: 0%"),
                              {120, 370, 495, 24}, 16, kWhiteColour);
  abProgress_ = Bar(this, "AbProgress", {120, 398, 495, 22});
  progressoGeral_ = LightLabel(this, "progressoGeral", QStringLiteral("Progresso Geral:"),
                               {120, 450, 495, 24}, 16, kWhiteColour);
  abProgressItem_ = Bar(this, "AbProgressItem", {120, 478, 495, 22});
  abProgressItem_->SetMaximum(100);

  AbUnzip.CreateDirs = true;
  AbUnzip.OnArchiveProgress = [this](int p) { AbUnzipArchiveProgress(p); };

  fecharForm_ = new QTimer(this);
  fecharForm_->setObjectName(QStringLiteral("FecharForm"));
  fecharForm_->setInterval(kCloseDelayMs);
  fecharForm_->setSingleShot(true);
  connect(fecharForm_, &QTimer::timeout, this, [this] { accept(); });
}

TExtFiles::~TExtFiles() = default;

void TExtFiles::ZeraParm() {
  aUrl.clear();
  aLocalSalvar.clear();
  aProgressoGeralTitulo.clear();
  aDescompDirSimNao.clear();
  AExtrairParaSubDir.clear();
}

void TExtFiles::AddUrl(const QString& Url) {
  aUrl.append(Url);
}
void TExtFiles::AddLocalSalvar(const QString& LocalSalvar) {
  aLocalSalvar.append(LocalSalvar);
}
void TExtFiles::AddDescompDirSimNao(bool DescompDirSimNao) {
  aDescompDirSimNao.append(DescompDirSimNao);
}
void TExtFiles::AddProgressoGeralTitulo(const QString& ProgressoGeralTitulo) {
  aProgressoGeralTitulo.append(ProgressoGeralTitulo);
}
void TExtFiles::AddExtrairParaSubDir(bool ExtrairParaSubDir) {
  AExtrairParaSubDir.append(ExtrairParaSubDir);
}

void TExtFiles::FormShow() {
  if (::fp != nullptr) {
    move(::fp->StageTopLeft().x(), ::fp->frameGeometry().top() + 40);
  }
  QTimer::singleShot(0, this, &TExtFiles::Inicializacao);
}

void TExtFiles::Inicializacao() {
  TUAPI& uapi = *::UAPI;
  // The lists are filled in step; a shorter one bounds the queue.
  const qsizetype count = std::min({aUrl.size(), aLocalSalvar.size(), aProgressoGeralTitulo.size(),
                                    aDescompDirSimNao.size(), AExtrairParaSubDir.size()});
  abProgress_->SetMaximum(static_cast<int>(2 * count));
  abProgress_->SetPosition(0);
  abProgressItem_->SetPosition(0);
  progressoGeral_->setText(QStringLiteral("Progresso Geral:"));
  progressoItem_->setText(QStringLiteral("Progresso: 0%"));

  if (!uapi.IsConsoleDownloaded) {
    Downloader = std::make_unique<TDownloader>(ServerSettings::CaBundle());
    Downloader->OnProgress = [this](TDownloader* sender) { DownloaderProgress(sender); };
    for (qsizetype i = 0; i < count; ++i) {
      progressoGeral_->setText(aProgressoGeralTitulo[i]);
      abProgressItem_->SetPosition(0);
      const QString name = uapi.ExtractFileNameFromURL(aUrl[i]);
      QDir().mkpath(aLocalSalvar[i]);
      const bool fetched = Downloader->Download(ExtFilesFetchUrl(aUrl[i]).toStdString(),
                                                (aLocalSalvar[i] + name).toStdString());
      if (uapi.Terminating())
        return;
      if (!fetched)
        break;
      abProgress_->SetPosition(abProgress_->Position() + 1);
    }
    Downloader.reset();
  }

  for (qsizetype i = 0; i < count; ++i) {
    progressoGeral_->setText(QStringLiteral("Progresso Geral: Descomprimindo Arquivos..."));
    abProgressItem_->SetPosition(0);
    abProgress_->SetPosition(abProgress_->Position() + 1);
    const QString name = uapi.ExtractFileNameFromURL(aUrl[i]);
    const QString base = QString(name).remove(QStringLiteral(".zip"), Qt::CaseSensitive);
    if (QLatin1Char('.') + QFileInfo(name).suffix().toUpper() != QLatin1String(".ZIP"))
      continue;
    const QString destination = AExtrairParaSubDir[i] ? aLocalSalvar[i] + base : aLocalSalvar[i];
    AbUnzip.BaseDirectory = destination.toStdString();
    AbUnzip.RestorePath = aDescompDirSimNao[i];
    AbUnzip.FileName = (aLocalSalvar[i] + name).toStdString();
    AbUnzip.ExtractFiles("*.*");
    AbUnzip.CloseArchive();
    if (uapi.Terminating())
      return;
  }
  fecharForm_->start();
}

void TExtFiles::DownloaderProgress(TDownloader* Sender) {
  const std::int64_t p = Sender->Progress();
  progressoItem_->setText(p == 0 || p == 100 ? QStringLiteral("Progresso: 100%")
                                             : QStringLiteral("Progresso: %1% ").arg(p));
  abProgressItem_->SetPosition(static_cast<int>(p));
  ::UAPI->ProcessMessages();
  repaint();
}

void TExtFiles::AbUnzipArchiveProgress(int Progress) {
  progressoItem_->setText(QStringLiteral("Progresso: %1%").arg(Progress));
  abProgressItem_->SetPosition(Progress);
}
