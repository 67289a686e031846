#include "download/uFormDescompactaFirmwares.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/DataModule.h"
#include "drivers/SmoothProgressBar.h"
#include "system/RAR.h"

namespace {

constexpr int kCloseDelayMs = 2000;

SmoothProgressBar* Bar(QWidget* parent, const char* name, const QRect& place) {
  auto* bar = new SmoothProgressBar(QColor(kGoldColour), QColor(kStageColour), parent);
  bar->setObjectName(QLatin1String(name));
  bar->setGeometry(place);
  bar->SetMaximum(100);
  return bar;
}

int Percent(std::uint32_t done, std::uint32_t total) {
  return total == 0 ? 0 : static_cast<int>(static_cast<std::uint64_t>(done) * 100 / total);
}

}  // namespace

RarPercentages RarProgressPercentages(std::uint32_t archiveTotal, std::uint32_t archiveDone,
                                      std::uint32_t fileTotal, std::uint32_t fileDone) {
  return {Percent(archiveDone, archiveTotal), Percent(fileDone, fileTotal)};
}

TIsoExp::TIsoExp(QWidget* parent) : TStageDialog(parent) {
  setObjectName(QStringLiteral("IsoExp"));
  image2_ = new QLabel(this);
  image2_->setObjectName(QStringLiteral("Image2"));
  image2_->setGeometry(0, 0, kStageWidth, kStageHeight);
  image2_->setPixmap(ArtPixmap(QLatin1String(art::kWaitingBackground), image2_->size()));

  label1_ = LightLabel(this, "Label1", QStringLiteral("Processando arquivos"),
                       {0, 250, kStageWidth, 40}, 27, kGoldColour);
  label1_->setAlignment(Qt::AlignCenter);
  progressoGeral_ = LightLabel(this, "progressoGeral", QStringLiteral("Progresso: 60%"),
                               {120, 370, 495, 24}, 16, kWhiteColour);
  abProgress_ = Bar(this, "AbProgress", {120, 398, 495, 22});
  progressoitem_ =
      LightLabel(this, "Progressoitem", QStringLiteral("Processando Arquivos Auxiliares..."),
                 {120, 450, 495, 24}, 16, kWhiteColour);
  abProgressItem_ = Bar(this, "AbProgressItem", {120, 478, 495, 22});

  AbUnzip.CreateDirs = true;
  AbUnzip.RestorePath = true;
  AbUnzip.OnArchiveProgress = [this](int p) { AbUnzipArchiveProgress(p); };
  AbUnzip.OnArchiveItemProgress = [this](int p) { AbUnzipArchiveItemProgress(p); };

  tickclose_ = new QTimer(this);
  tickclose_->setObjectName(QStringLiteral("tickclose"));
  tickclose_->setInterval(kCloseDelayMs);
  tickclose_->setSingleShot(true);
  connect(tickclose_, &QTimer::timeout, this, &TIsoExp::tickcloseTimer);
}

TIsoExp::~TIsoExp() = default;

void TIsoExp::FormShow() {
  if (::fp != nullptr) {
    move(::fp->StageTopLeft().x(), ::fp->frameGeometry().top() + 40);
  }
  QTimer::singleShot(0, this, &TIsoExp::FormActivate);
}

void TIsoExp::FormActivate() {
  TUAPI& uapi = *::UAPI;
  FirmwareFilename = uapi.FisoDir + uapi.ExtractFileNameFromURL(uapi.ItemIsoLink);
  diretorioExtrair = uapi.FisoDir;
  abProgress_->SetPosition(0);
  extencao = QLatin1Char('.') + QFileInfo(FirmwareFilename).suffix().toLower();

  // Only an archive gets a folder of its own, emptied first. Any other
  // firmware file stays where it was downloaded: emptying the firmware
  // folder would delete it.
  if (extencao == QLatin1String(".zip") || extencao == QLatin1String(".rar")) {
    const qint64 id = ::dm != nullptr ? ::dm->devicesid.AsInteger() : uapi.itemId.toLongLong();
    diretorioExtrair = uapi.FisoDir + QString::number(id) + QDir::separator();
    uapi.RecursiveDelete(diretorioExtrair);
    QDir().mkpath(diretorioExtrair);
  }
  uapi.ItemIsoPlace = diretorioExtrair;

  if (extencao == QLatin1String(".rar")) {
    rar = std::make_unique<TRAR>();
    rar->OnProgress = [this](TRAR&, const std::wstring&, std::uint32_t archiveTotal,
                             std::uint32_t archiveDone, std::uint32_t fileTotal,
                             std::uint32_t fileDone) {
      RarProgress(archiveTotal, archiveDone, fileTotal, fileDone);
    };
    try {
      rar->OpenFile(FirmwareFilename.toStdString());
      rar->Extract(diretorioExtrair.toStdString(), true, {});
    } catch (const ERARAssertion&) {
      // A missing archive extracts nothing; the rewriter reports it later.
    }
    rar.reset();
  } else if (extencao == QLatin1String(".zip")) {
    AbUnzip.BaseDirectory = diretorioExtrair.toStdString();
    AbUnzip.FileName = FirmwareFilename.toStdString();
    AbUnzip.ExtractFiles("*.*");
    AbUnzip.CloseArchive();
  }
  tickclose_->start();
}

void TIsoExp::tickcloseTimer() {
  FirmwareFilename.clear();
  diretorioExtrair.clear();
  accept();
}

void TIsoExp::RarProgress(std::uint32_t archiveTotal, std::uint32_t archiveDone,
                          std::uint32_t fileTotal, std::uint32_t fileDone) {
  const RarPercentages p = RarProgressPercentages(archiveTotal, archiveDone, fileTotal, fileDone);
  abProgress_->SetPosition(p.archive);
  abProgressItem_->SetPosition(p.item);
  progressoGeral_->setText(QStringLiteral("Processando : %1%").arg(p.archive));
  progressoitem_->setText(QStringLiteral("Arquivos processados : %1%").arg(p.item));
  ::UAPI->ProcessMessages();
}

void TIsoExp::AbUnzipArchiveProgress(int Progress) {
  abProgress_->SetPosition(Progress);
  progressoGeral_->setText(QStringLiteral("Arquivos processados: %1%").arg(Progress));
  ::UAPI->ProcessMessages();
}

void TIsoExp::AbUnzipArchiveItemProgress(int Progress) {
  abProgressItem_->SetPosition(Progress);
  progressoitem_->setText(QStringLiteral("Processando: %1%").arg(Progress));
  ::UAPI->ProcessMessages();
}
