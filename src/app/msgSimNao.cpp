#include "app/msgSimNao.h"

#include <QLabel>

#include "app/Fmessage.h"
#include "app/Look.h"

TmsgSimNao::TmsgSimNao(QWidget* parent) : TStageDialog(parent) {
  setObjectName(QStringLiteral("msgSimNao"));
  setFocusPolicy(Qt::StrongFocus);
  BuildMessageBox(this, "Image6");

  mensagem_ = new QLabel(this);
  mensagem_->setObjectName(QStringLiteral("mensagem"));
  mensagem_->setGeometry(114, 232, 521, 137);
  mensagem_->setFont(SolvantaFont(QStringLiteral("Gilmer Light"), 16, false));
  SetTextColour(mensagem_, QColor(kWhiteColour));
  mensagem_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  mensagem_->setWordWrap(true);

  AddAnswerButton(this, art::kBtnNaoSmall, "BtnNao", 127, mrNo);
  AddAnswerButton(this, art::kBtnSimSmall, "BtnSim", 525, mrYes);
}

void TmsgSimNao::FormShow() {
  activateWindow();
  setFocus();
}

bool TmsgSimNao::MsgPadraoSimNao(const QString& aTexto) {
  mensagem_->setText(aTexto);
  return exec() == mrYes;
}
