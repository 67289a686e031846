#include "catalogue/TvsGetRadical.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/PictureButton.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/DataModule.h"
#include "catalogue/Selection.h"
#include "catalogue/SelectionArt.h"
#include "catalogue/acceptcontract.h"

namespace {

const QString kRadicalPrompt = QStringLiteral("Insira o radical do produto e pressione enter");

}  // namespace

TTvsGetRadical::TTvsGetRadical(QWidget* parent) : TStageScreen(parent) {
  setObjectName(QStringLiteral("TvsGetRadical"));
  ArtLabel(this, QStringLiteral("Image3"), selart::kStepBackground, 0, 0);
  auto* label1 = TextLabel(this, QStringLiteral("Label1"),
                           QStringLiteral("Selecione seu modelo da sua TV abaixo:"),
                           QStringLiteral("Gilmer Medium"), 22, true, kGoldColour);
  label1->setGeometry(24, 22, 600, 34);

  radical_ = new QLineEdit(kRadicalPrompt, this);
  radical_->setObjectName(QStringLiteral("radical"));
  radical_->setFont(SolvantaFont(QStringLiteral("Roboto"), 14, false));
  radical_->setGeometry(30, 110, 330, 34);
  radical_->setFocusPolicy(Qt::ClickFocus);
  radical_->installEventFilter(this);
  connect(radical_, &QLineEdit::returnPressed, this, &TTvsGetRadical::BtnAvancarClick);

  ArtLabel(this, QStringLiteral("tv"), selart::kTvPicture, 45, 190);

  iradical_ = new QFrame(this);
  iradical_->setObjectName(QStringLiteral("iradical"));
  iradical_->setGeometry(385, 110, 330, 250);
  ArtLabel(iradical_, QStringLiteral("Image2"), selart::kTvHelp, 0, 0);

  image1_ = new PictureButton(QString::fromLatin1(art::kBtnVoltar), this);
  image1_->setObjectName(QStringLiteral("Image1"));
  image1_->move(110, 520);
  connect(image1_, &PictureButton::clicked, this, &TTvsGetRadical::Image1Click);
  btnAvancar_ = new PictureButton(QString::fromLatin1(art::kBtnConfirmar), this);
  btnAvancar_->setObjectName(QStringLiteral("BtnAvancar"));
  btnAvancar_->move(411, 520);
  connect(btnAvancar_, &PictureButton::clicked, this, &TTvsGetRadical::BtnAvancarClick);
}

void TTvsGetRadical::FormShow() {
  radical_->setText(kRadicalPrompt);
}

bool TTvsGetRadical::eventFilter(QObject* watched, QEvent* event) {
  if (watched == radical_ && event->type() == QEvent::FocusIn)
    radical_->clear();
  return false;
}

void TTvsGetRadical::BtnAvancarClick() {
  switch (catalogue::LocateTvCode(dm->devices, radical_->text())) {
    case catalogue::TvCodeLookup::Ignored:
      return;
    case catalogue::TvCodeLookup::Found:
      fp->Fs.ShowScreen(this, acceptcontract);
      return;
    case catalogue::TvCodeLookup::NotFound:
      UAPI->MsgPadrao(QStringLiteral("Radical não encontrado."), false);
      return;
  }
}

void TTvsGetRadical::Image1Click() {
  UAPI->ReturnBegining(this);
}
