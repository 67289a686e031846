#include "app/Fmessage.h"

#include <QEvent>
#include <QLabel>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

#include "app/Look.h"
#include "app/PictureButton.h"
#include "app/RichTextBold.h"

PictureButton* AddAnswerButton(QDialog* dialog, const char* art, const char* name, int left,
                               int result) {
  auto* button = new PictureButton(QLatin1String(art), dialog);
  button->setObjectName(QLatin1String(name));
  button->move(left, 391);
  QObject::connect(button, &PictureButton::clicked, dialog,
                   [dialog, result] { dialog->done(result); });
  return button;
}

void BuildMessageBox(QDialog* dialog, const char* backdropName) {
  SetBackgroundColour(dialog, Qt::white);

  auto* backdrop = new QLabel(dialog);
  backdrop->setObjectName(QLatin1String(backdropName));
  backdrop->setGeometry(0, 0, kStageWidth, kStageHeight);
  const QPixmap picture = ArtPixmap(art::kMessageBackdrop, backdrop->size());
  backdrop->setPixmap(picture);
  SetKeyColourMask(dialog, picture);

  auto* box = new QLabel(dialog);
  box->setObjectName(QStringLiteral("Image3"));
  box->setGeometry(65, 159, 605, 274);
  box->setPixmap(ArtPixmap(art::kMessageBox, box->size()));

  auto* title = new QLabel(QStringLiteral("Assistente Inteligente Solvanta"), dialog);
  title->setObjectName(QStringLiteral("Label2"));
  QFont font = SolvantaFont(QStringLiteral("Gilmer Light"), 21, false);
  font.setStyleStrategy(QFont::PreferAntialias);
  title->setFont(font);
  SetTextColour(title, QColor(kGoldColour));
  title->move(208, 179);
  title->adjustSize();
}

TFmessage::TFmessage(QWidget* parent) : TStageDialog(parent) {
  setObjectName(QStringLiteral("Fmessage"));
  setFocusPolicy(Qt::StrongFocus);
  BuildMessageBox(this, "Image2");

  const QFont light16 = SolvantaFont(QStringLiteral("Gilmer Light"), 16, false);
  mensagem_ = new QLabel(this);
  mensagem_->setObjectName(QStringLiteral("mensagem"));
  mensagem_->setGeometry(99, 226, 521, 137);
  mensagem_->setFont(light16);
  SetTextColour(mensagem_, QColor(kWhiteColour));
  mensagem_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  mensagem_->setWordWrap(true);

  panel1_ = new QWidget(this);
  panel1_->setObjectName(QStringLiteral("Panel1"));
  panel1_->setGeometry(99, 222, 520, 150);
  SetBackgroundColour(panel1_, Qt::white);
  panel1_->hide();

  richText_ = new QTextEdit(panel1_);
  richText_->setObjectName(QStringLiteral("RichText"));
  richText_->setGeometry(0, 0, panel1_->width(), panel1_->height());
  richText_->setReadOnly(true);
  richText_->setTextInteractionFlags(Qt::NoTextInteraction);
  richText_->setFrameShape(QFrame::NoFrame);
  richText_->setFont(light16);
  QPalette palette = richText_->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  richText_->setPalette(palette);
  richText_->installEventFilter(this);

  btnNao_ = AddAnswerButton(this, art::kBtnNao, "BtnNao", 127, mrNo);
  btnOk_ = AddAnswerButton(this, art::kBtnOk, "BtnOk", 290, mrOk);
  btnSim_ = AddAnswerButton(this, art::kBtnSim, "BtnSim", 453, mrYes);
}

bool TFmessage::eventFilter(QObject* watched, QEvent* event) {
  // The text is only read: the focus goes back to the dialog.
  if (watched == richText_ && event->type() == QEvent::FocusIn) {
    setFocus();
  }
  return TStageDialog::eventFilter(watched, event);
}

void TFmessage::FormShow() {
  activateWindow();
  setFocus();
}

void TFmessage::SetButtons(bool SimNao) {
  btnSim_->setVisible(SimNao);
  btnNao_->setVisible(SimNao);
  btnOk_->setVisible(!SimNao);
}

bool TFmessage::Answer(bool SimNao) {
  const int result = exec();
  return !SimNao || result == mrYes;
}

bool TFmessage::MsgPadrao(const QString& aTexto, bool SimNao) {
  SetButtons(SimNao);
  mensagem_->setText(aTexto);
  mensagem_->show();
  panel1_->hide();
  return Answer(SimNao);
}

bool TFmessage::MsgPadrao(const QString& aTexto, bool SimNao, const QString& aBoldText) {
  SetButtons(SimNao);
  mensagem_->hide();
  panel1_->show();

  // Text and formats start afresh, so every showing looks the same.
  richText_->clear();
  richText_->setCurrentCharFormat(QTextCharFormat());
  richText_->setPlainText(aTexto);
  QTextCursor all(richText_->document());
  all.select(QTextCursor::Document);
  QTextCharFormat plain;
  plain.setFontWeight(QFont::Light);
  plain.setForeground(Qt::black);
  all.setCharFormat(plain);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  all.mergeBlockFormat(centred);

  for (const QString& piece : aBoldText.split(QLatin1Char('*'))) {
    MakeItBold(richText_, piece);
  }
  return Answer(SimNao);
}

void TFmessage::MakeItBold(QTextEdit* re, const QString& aString) {
  BoldFirstOccurrence(re, aString, 0);
  if (re != nullptr) {
    QTextCursor cursor = re->textCursor();
    cursor.clearSelection();
    re->setTextCursor(cursor);
  }
}
