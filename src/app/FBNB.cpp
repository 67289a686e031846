#include "app/FBNB.h"

#include <QLabel>

#include "app/Look.h"

TFBNB::TFBNB(QWidget* parent) : TStageScreen(parent) {
  setObjectName(QStringLiteral("FBNB"));
  image1_ = new QLabel(this);
  image1_->setObjectName(QStringLiteral("Image1"));
  image1_->setGeometry(0, 0, kStageWidth, kStageHeight);
  image1_->setPixmap(ArtPixmap(art::kWaitingBackground, image1_->size()));

  label1_ = new QLabel(QStringLiteral("Processando, aguarde..."), this);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setFont(SolvantaFont(QStringLiteral("Gilmer Light"), 33, false));
  SetTextColour(label1_, QColor(kGoldColour));
  label1_->move(181, 276);
  label1_->adjustSize();
}
