#include "service/Tvs_update.h"

#include <QLabel>
#include <QTimer>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/DataModule.h"
#include "catalogue/SelectionArt.h"
#include "catalogue/TvsGetRadical.h"
#include "download/UformCacheImg.h"
#include "report/Ptr.h"
#include "report/Rel.h"
#include "service/TvsCatalogue.h"

namespace {

const QString kContinueQuestion =
    QStringLiteral("Atenção, não foi possível atualizar, gostaria de continuar assim mesmo ?");

}  // namespace

TTvs_update::TTvs_update(QWidget* parent) : TStageScreen(parent) {
  setObjectName(QStringLiteral("Tvs_update"));
  ArtLabel(this, QStringLiteral("Image1"), selart::kStepBackground, 0, 0);
  ArtLabel(this, QStringLiteral("Image2"), selart::kUpdatePanel, 107, 176);
  auto* label2 =
      TextLabel(this, QStringLiteral("Label2"), QStringLiteral("Assistente Inteligente Solvanta"),
                QStringLiteral("Gilmer Light"), 21, false, kGoldColour);
  label2->setGeometry(107, 296, 520, 30);
  label2->setAlignment(Qt::AlignCenter);
  auto* label1 = TextLabel(this, QStringLiteral("Label1"),
                           QStringLiteral("Atualizando base de Tvs, aguarde..."),
                           QStringLiteral("Gilmer Light"), 18, false, kWhiteColour);
  label1->setGeometry(107, 336, 520, 30);
  label1->setAlignment(Qt::AlignCenter);

  updater_ = new QTimer(this);
  updater_->setObjectName(QStringLiteral("updater"));
  updater_->setInterval(500);
  connect(updater_, &QTimer::timeout, this, &TTvs_update::updaterTimer);
}

void TTvs_update::FormShow() {
  repaint();
  IsRunning = false;
  updater_->start();
}

void TTvs_update::updaterTimer() {
  updater_->stop();
  if (IsRunning)
    return;
  IsRunning = true;

  Ptr->SetTipoOperacao(QStringLiteral("02"));
  Rel->SetStatus(QStringLiteral("11"));
  Rel->SetUltimaAcao(QStringLiteral("27"));

  // The TV rows are replaced only by a usable answer, so a failed update
  // keeps the models the catalogue had.
  const QString answer = UAPI->UpdateDataBaseTvs();
  const service::TvsReplaceResult result = service::ReplaceTvRows(*dm, answer, UAPI->IsHomologacao);
  if (!result.replaced) {
    if (!UAPI->MsgPadrao(kContinueQuestion, true)) {
      UAPI->FecharSistema();
      return;
    }
    if (UAPI->Terminating())
      return;
  }

  dm->devices.Requery();
  if (UAPI->PrecacheImgs())
    Img->exec();
  if (UAPI->Terminating())
    return;
  fp->Fs.ShowScreen(this, TvsGetRadical);
}
