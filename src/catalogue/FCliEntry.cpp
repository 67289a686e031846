#include "catalogue/FCliEntry.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/PictureButton.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/FsTsystem.h"
#include "catalogue/SelectionArt.h"
#include "report/Rel.h"

namespace {

constexpr int kFieldLeft = 150;
constexpr int kFieldWidth = 435;
// With this many characters in `cpf`, the next key press moves on to `nome`.
constexpr int kCpfMoveLength = 10;

QLineEdit* Field(QWidget* parent, const QString& name, int top) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setFont(SolvantaFont(QStringLiteral("Roboto"), 16, false));
  edit->setGeometry(kFieldLeft, top, kFieldWidth, 34);
  return edit;
}

}  // namespace

TFCliEntry::TFCliEntry(QWidget* parent) : TStageScreen(parent) {
  setObjectName(QStringLiteral("FCliEntry"));
  ArtLabel(this, QStringLiteral("Image1"), selart::kStepBackground, 0, 0);
  auto* label1 =
      TextLabel(this, QStringLiteral("Label1"), QStringLiteral("Identificação do sistema"),
                QStringLiteral("Gilmer Medium"), 26, true, kGoldColour);
  label1->setGeometry(24, 18, 687, 40);
  label1->setAlignment(Qt::AlignCenter);

  const auto caption = [this](const char* name, const QString& text, int top) {
    auto* label = TextLabel(this, QString::fromLatin1(name), text, QStringLiteral("Gilmer Light"),
                            16, false, kWhiteColour);
    label->setGeometry(kFieldLeft, top, kFieldWidth, 24);
  };
  caption("Label2", QStringLiteral("CPF (somente números)"), 104);
  cpf_ = Field(this, QStringLiteral("cpf"), 130);
  cpf_->setMaxLength(12);
  cpf_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), cpf_));
  cpf_->installEventFilter(this);
  caption("Label3", QStringLiteral("Nome"), 184);
  nome_ = Field(this, QStringLiteral("nome"), 210);
  caption("Label4", QStringLiteral("Telefone"), 264);
  telefone_ = Field(this, QStringLiteral("telefone"), 290);
  caption("Label5", QStringLiteral("E-mail"), 344);
  email_ = Field(this, QStringLiteral("email"), 370);

  avancar_ = new PictureButton(QString::fromLatin1(art::kBtnContinuar), this);
  avancar_->setObjectName(QStringLiteral("avancar"));
  avancar_->move((kStageWidth - avancar_->sizeHint().width()) / 2, 480);
  connect(avancar_, &PictureButton::clicked, this, &TFCliEntry::avancarClick);
}

void TFCliEntry::FormShow() {
  cpf_->setFocus();
  Rel->SetStatus(QStringLiteral("9"));
  Rel->SetUltimaAcao(QStringLiteral("25"));
}

bool TFCliEntry::eventFilter(QObject* watched, QEvent* event) {
  if (watched != cpf_ || event->type() != QEvent::KeyPress)
    return false;
  auto* key = static_cast<QKeyEvent*>(event);
  // Only keys that type a character count, as for a key press of the field.
  if (key->text().isEmpty())
    return false;
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  if (!enter && cpf_->text().size() != kCpfMoveLength)
    return false;
  // The key still reaches `cpf`, so the eleventh digit completes the CPF.
  static_cast<QObject*>(cpf_)->event(event);
  nome_->setFocus();
  return true;
}

void TFCliEntry::avancarClick() {
  if (!email_->text().isEmpty() && !UAPI->IsValidEmail(email_->text())) {
    UAPI->MsgPadrao(QStringLiteral("Email em formato incorreto, favor verificar"), false);
    return;
  }
  UAPI->WriteRegistryClientInfo(cpf_->text(), nome_->text(), telefone_->text(), email_->text());
  fp->Fs.ShowScreen(this, FsTsystem);
}
