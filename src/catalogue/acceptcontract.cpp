#include "catalogue/acceptcontract.h"

#include <QCheckBox>
#include <QLabel>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/PictureButton.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/DataModule.h"
#include "catalogue/FSModel.h"
#include "catalogue/Selection.h"
#include "catalogue/SelectionArt.h"
#include "catalogue/TvsGetRadical.h"
#include "report/Ptr.h"
#include "report/Rel.h"

namespace {

constexpr int kPictureSide = 362;
constexpr int kRight = 440;
constexpr int kRightWidth = 270;

}  // namespace

Tacceptcontract::Tacceptcontract(QWidget* parent) : TStageScreen(parent) {
  setObjectName(QStringLiteral("acceptcontract"));
  ArtLabel(this, QStringLiteral("Image3"), selart::kStepBackground, 0, 0);
  const QString light = QStringLiteral("Gilmer Light");
  const QString medium = QStringLiteral("Gilmer Medium");
  auto* label1 =
      TextLabel(this, QStringLiteral("Label1"), QStringLiteral("Confirme seu dispositivo:"), medium,
                22, true, kGoldColour);
  label1->setGeometry(24, 22, 400, 34);

  ArtLabel(this, QStringLiteral("Image1"), selart::kDeviceFrame, 30, 80);
  imgDispositivo_ = new QLabel(this);
  imgDispositivo_->setObjectName(QStringLiteral("ImgDispositivo"));
  imgDispositivo_->setGeometry(40, 90, kPictureSide, kPictureSide);
  imgDispositivo_->setAlignment(Qt::AlignCenter);
  modelo_ = TextLabel(this, QStringLiteral("modelo"), {}, medium, 17, true, kWhiteColour);
  modelo_->setWordWrap(true);
  modelo_->setGeometry(30, 470, 382, 48);

  auto* label2 =
      TextLabel(this, QStringLiteral("Label2"), QStringLiteral("Confirme o procedimento"), medium,
                20, true, kGoldColour);
  label2->setGeometry(kRight, 80, kRightWidth, 30);
  const auto wrapped = [&](const char* name, const QString& text, int top, int height, bool bold) {
    auto* label = TextLabel(this, QString::fromLatin1(name), text, bold ? medium : light, 16, bold,
                            kWhiteColour);
    label->setWordWrap(true);
    label->setGeometry(kRight, top, kRightWidth, height);
  };
  wrapped("Label4", QStringLiteral("Atenção, todos os dados do seu dispositivo serão apagados."),
          128, 48, true);
  wrapped("Label3", QStringLiteral("Não será possível recuperá-los."), 184, 26, false);
  wrapped("Label5", QStringLiteral("Se possível, realize o backup de suas informações."), 218, 48,
          false);

  checkBox1_ = new QCheckBox(this);
  checkBox1_->setObjectName(QStringLiteral("CheckBox1"));
  checkBox1_->setGeometry(kRight, 320, 22, 22);
  auto* label6 = TextLabel(this, QStringLiteral("Label6"),
                           QStringLiteral("Aceito os termos e quero prosseguir."), medium, 16, true,
                           kGoldColour);
  label6->setWordWrap(true);
  label6->setGeometry(kRight + 28, 312, kRightWidth - 28, 44);

  avancar_ = new PictureButton(QString::fromLatin1(art::kBtnContinuar), this);
  avancar_->setObjectName(QStringLiteral("avancar"));
  avancar_->move(kRight + 28, 420);
  connect(avancar_, &PictureButton::clicked, this, &Tacceptcontract::avancarClick);
  image2_ = new PictureButton(QString::fromLatin1(art::kBtnVoltar), this);
  image2_->setObjectName(QStringLiteral("Image2"));
  image2_->move(kRight + 28, 474);
  connect(image2_, &PictureButton::clicked, this, &Tacceptcontract::Image2Click);
}

void Tacceptcontract::FormShow() {
  const int showing = ++showing_;
  pictureLoaded_ = false;
  // Every device is confirmed anew.
  checkBox1_->setChecked(false);
  imgDispositivo_->clear();
  modelo_->setText(QStringLiteral("Modelo: ") + dm->devicesdescription.AsString());
  const QString picture =
      catalogue::CachedPicture(UAPI->FImgDir, dm->devicesurl_picture.AsString());
  LoadPictureInBackground(picture, {kPictureSide, kPictureSide}, this,
                          [this, showing](const QImage& image) {
                            if (showing != showing_)
                              return;
                            imgDispositivo_->setPixmap(QPixmap::fromImage(image));
                            pictureLoaded_ = true;
                          });
}

void Tacceptcontract::Image2Click() {
  fp->Fs.ShowScreen(this, UAPI->systemTypeSelected == 2 ? static_cast<TStageScreen*>(TvsGetRadical)
                                                        : static_cast<TStageScreen*>(FSModel));
}

void Tacceptcontract::avancarClick() {
  if (!checkBox1_->isChecked()) {
    UAPI->MsgPadrao(QStringLiteral("É necessário aceitar os termos antes de continuar."), false);
    return;
  }
  const catalogue::ChosenDevice d =
      catalogue::ReadChosenDevice(dm->devices, UAPI->FImgDir, UAPI->FisoDir);
  UAPI->ItemModelo = d.ItemModelo;
  UAPI->ItemCodigo = d.ItemCodigo;
  UAPI->ItemnomeImg = d.ItemnomeImg;
  UAPI->ItemIsoLink = d.ItemIsoLink;
  UAPI->ItemBurnMode = d.ItemBurnMode;
  if (d.ItemChipset)
    UAPI->ItemChipset = *d.ItemChipset;
  UAPI->ItemProductType = d.ItemProductType;
  UAPI->ItemMd5 = d.ItemMd5;
  UAPI->ItemProductId = d.ItemProductId;
  UAPI->ItemIsoPlace = d.ItemIsoPlace;
  UAPI->itemId = d.itemId;

  Ptr->SetTipoOperacao(QStringLiteral("01"));
  Ptr->SetCodigoErro(QStringLiteral("000"));

  Rel->SetChipset(UAPI->ItemChipset);
  Rel->SetStatus(QStringLiteral("1"));
  Rel->SetUltimaAcao(QStringLiteral("19"));
  Rel->SetRel(QStringLiteral("Dispositivo Escolhido - ") + UAPI->ItemModelo);

  UAPI->KickOffMainProcess();
}
