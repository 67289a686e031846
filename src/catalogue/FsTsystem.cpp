#include "catalogue/FsTsystem.h"

#include <QLabel>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/PictureButton.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/DataModule.h"
#include "catalogue/FSModel.h"
#include "catalogue/SelectionArt.h"
#include "service/Tvs_update.h"

namespace {

constexpr int kKindTop = 170;
constexpr int kKindGap = 50;

}  // namespace

TFsTsystem::TFsTsystem(QWidget* parent) : TStageScreen(parent) {
  setObjectName(QStringLiteral("FsTsystem"));
  ArtLabel(this, QStringLiteral("Image5"), selart::kStepBackground, 0, 0);
  auto* label1 =
      TextLabel(this, QStringLiteral("Label1"),
                QStringLiteral("Escolha o tipo de dispositivo para atualização ou recuperação"),
                QStringLiteral("Gilmer Medium"), 22, true, kGoldColour);
  label1->setGeometry(24, 22, 687, 34);
  label1->setAlignment(Qt::AlignCenter);

  EnsureSelectionArt();
  const auto button = [this](const char* name, const char* artPath) {
    auto* b = new PictureButton(QString::fromLatin1(artPath), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setCursor(Qt::PointingHandCursor);
    return b;
  };
  image1_ = button("Image1", selart::kKindPhone);
  image2_ = button("Image2", selart::kKindTablet);
  image3_ = button("Image3", selart::kKindTv);
  image4_ = button("Image4", selart::kKindNotebook);
  image2_->hide();
  image4_->hide();
  connect(image1_, &PictureButton::clicked, this, &TFsTsystem::Image1Click);
  connect(image2_, &PictureButton::clicked, this, &TFsTsystem::Image2Click);
  connect(image3_, &PictureButton::clicked, this, &TFsTsystem::Image3Click);
  connect(image4_, &PictureButton::clicked, this, &TFsTsystem::Image4Click);
  LayOutKinds();
}

void TFsTsystem::LayOutKinds() {
  QList<PictureButton*> shown;
  for (PictureButton* b : {image1_, image2_, image3_, image4_}) {
    if (!b->isHidden())
      shown << b;
  }
  int width = 0;
  for (PictureButton* b : shown)
    width += b->sizeHint().width();
  width += kKindGap * (shown.size() - 1);
  int x = (kStageWidth - width) / 2;
  for (PictureButton* b : shown) {
    b->move(x, kKindTop);
    x += b->sizeHint().width() + kKindGap;
  }
}

void TFsTsystem::ChooseKind(int systemType, TStageScreen* next) {
  dm->SelectKind(systemType);
  UAPI->systemTypeSelected = systemType;
  fp->Fs.ShowScreen(this, next);
}

void TFsTsystem::Image1Click() {
  ChooseKind(0, FSModel);
}
void TFsTsystem::Image2Click() {
  ChooseKind(1, FSModel);
}
void TFsTsystem::Image3Click() {
  ChooseKind(2, Tvs_update);
}
void TFsTsystem::Image4Click() {
  ChooseKind(3, FSModel);
}
