#pragma once

#include "app/Screen.h"

class PictureButton;
class QLineEdit;

// The customer identification, asked once per user: CPF, name, telephone
// and e-mail, kept in the registry.
class TFCliEntry : public TStageScreen {
  Q_OBJECT

 public:
  explicit TFCliEntry(QWidget* parent = nullptr);

  void avancarClick();

 protected:
  void FormShow() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* cpf_;
  QLineEdit* nome_;
  QLineEdit* telefone_;
  QLineEdit* email_;
  PictureButton* avancar_;
};
