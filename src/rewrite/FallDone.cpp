#include "rewrite/FallDone.h"

#include <QLabel>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/PictureButton.h"
#include "app/UAPI.h"
#include "app/fp.h"

// The screen's picture lives in a static library, so it is registered by hand
// before it is read.
static void RegisterRewriteArt() {
  Q_INIT_RESOURCE(rewrite);
}

namespace {

constexpr char kSuccessBackground[] = ":/rewrite/success_background.svg";

}  // namespace

TFallDone::TFallDone(QWidget* parent) : TStageDialog(parent) {
  setObjectName(QStringLiteral("FallDone"));
  RegisterRewriteArt();

  image2_ = new QLabel(this);
  image2_->setObjectName(QStringLiteral("Image2"));
  image2_->setGeometry(0, 0, kStageWidth, kStageHeight);
  image2_->setPixmap(ArtPixmap(QLatin1String(kSuccessBackground), image2_->size()));

  label2_ = new QLabel(QStringLiteral("Dispositivo atualizado com sucesso!"), this);
  label2_->setObjectName(QStringLiteral("Label2"));
  label2_->setFont(SolvantaFont(QStringLiteral("Gilmer Medium"), 28, false));
  SetTextColour(label2_, QColor(kGoldColour));
  label2_->setAlignment(Qt::AlignCenter);
  label2_->setGeometry(0, 250, kStageWidth, 40);

  label3_ = new QLabel(QStringLiteral("Retire o cabo USB e pressione o botão power, caso seu "
                                      "dispositivo não ligue automaticamente."),
                       this);
  label3_->setObjectName(QStringLiteral("Label3"));
  label3_->setFont(SolvantaFont(QStringLiteral("Gilmer Light"), 18, false));
  SetTextColour(label3_, QColor(kWhiteColour));
  label3_->setAlignment(Qt::AlignCenter);
  label3_->setWordWrap(true);
  label3_->setGeometry(110, 330, kStageWidth - 220, 80);

  btcontinuar_ = new PictureButton(QLatin1String(art::kBtnFechar), this);
  btcontinuar_->setObjectName(QStringLiteral("Btcontinuar"));
  btcontinuar_->move((kStageWidth - btcontinuar_->sizeHint().width()) / 2, 480);
  connect(btcontinuar_, &PictureButton::clicked, this, &TFallDone::BtcontinuarClick);
}

void TFallDone::FormShow() {
  if (::fp != nullptr) {
    move(::fp->x() + ::fp->panelStage()->x(), ::fp->y() + 11);
  }
}

void TFallDone::BtcontinuarClick() {
  ::UAPI->FecharSistema();
}
