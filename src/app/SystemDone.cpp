#include "app/SystemDone.h"

#include <QCoreApplication>
#include <QLabel>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/fp.h"

TSystemDone::TSystemDone(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("SystemDone"));
  setFixedSize(kStageWidth, kStageHeight);
  SetBackgroundColour(this, QColor(kScreenColour));

  image2_ = new QLabel(this);
  image2_->setObjectName(QStringLiteral("Image2"));
  image2_->setGeometry(0, 0, kStageWidth, kStageHeight);
  image2_->setPixmap(ArtPixmap(art::kClosingBackground, image2_->size()));

  const QPixmap picture = ArtPixmap(art::kClosingPicture);
  image3_ = new QLabel(this);
  image3_->setObjectName(QStringLiteral("Image3"));
  image3_->setPixmap(picture);
  image3_->setGeometry((kStageWidth - picture.width()) / 2, 180, picture.width(), picture.height());

  label1_ = new QLabel(QStringLiteral("Aguarde, encerrando aplicação..."), this);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setFont(SolvantaFont(QStringLiteral("Gilmer Light"), 24, false));
  SetTextColour(label1_, QColor(kGoldColour));
  label1_->setAlignment(Qt::AlignCenter);
  label1_->setGeometry(0, image3_->geometry().bottom() + 30, kStageWidth, 40);
}

void TSystemDone::ShowOverStage() {
  if (::fp != nullptr) {
    move(::fp->StageTopLeft());
  }
  show();
  raise();
  QCoreApplication::processEvents();
}
