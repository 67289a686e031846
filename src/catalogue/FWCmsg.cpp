#include "catalogue/FWCmsg.h"

#include <QLabel>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/PictureButton.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/FCliEntry.h"
#include "catalogue/FsTsystem.h"
#include "catalogue/SelectionArt.h"
#include "download/UformCacheImg.h"

TFWCmsg::TFWCmsg(QWidget* parent) : TStageScreen(parent) {
  setObjectName(QStringLiteral("FWCmsg"));
  ArtLabel(this, QStringLiteral("Image1"), selart::kWelcomeBackground, 0, 0);

  const QString light = QStringLiteral("Gilmer Light");
  auto* label1 = TextLabel(this, QStringLiteral("Label1"),
                           QStringLiteral("Bem vindo ao Assistente Inteligente Solvanta"),
                           QStringLiteral("Gilmer Medium"), 26, true, kGoldColour);
  label1->setGeometry(40, 70, 520, 40);
  auto* label2 = TextLabel(this, QStringLiteral("Label2"),
                           QStringLiteral("Olá, com o Assistente Inteligente Solvanta é possível "
                                          "atualizar seu dispositivo e retornar aos padrões de "
                                          "fábrica."),
                           light, 18, false, kWhiteColour);
  label2->setWordWrap(true);
  label2->setGeometry(40, 140, 440, 80);
  auto* label3 = TextLabel(this, QStringLiteral("Label3"),
                           QStringLiteral("Essa atualização é capaz de corrigir problemas como:"),
                           light, 18, false, kWhiteColour);
  label3->setGeometry(40, 250, 480, 30);

  const QStringList problems = {
      QStringLiteral("   - Travamento no logo"), QStringLiteral("   - Esquecimento de senha"),
      QStringLiteral("   - Memória cheia"), QStringLiteral("   - Dispositivo lento"),
      QStringLiteral("   - Etc.")};
  for (int i = 0; i < problems.size(); ++i) {
    auto* line = TextLabel(this, QStringLiteral("Label%1").arg(i + 4), problems[i],
                           QStringLiteral("Gilmer Medium"), 18, false, kWhiteColour);
    line->setGeometry(52, 316 + i * 33, 330, 28);
  }

  avancar_ = new PictureButton(QString::fromLatin1(art::kBtnContinuar), this);
  avancar_->setObjectName(QStringLiteral("avancar"));
  avancar_->move(481, 522);
  connect(avancar_, &PictureButton::clicked, this, &TFWCmsg::avancarClick);
}

void TFWCmsg::avancarClick() {
  if (UAPI->PrecacheImgs())
    Img->exec();
  if (UAPI->Terminating())
    return;
  if (UAPI->GetIsCpfDone()) {
    fp->Fs.ShowScreen(this, FsTsystem);
  } else {
    fp->Fs.ShowScreen(this, FCliEntry);
  }
}
