#pragma once

#include "app/Screen.h"

class QLabel;
class PictureButton;

// The success screen, shown modally by the recovery flow once a rewriter
// closed with the device rewritten. Its only way out closes the program.
class TFallDone : public TStageDialog {
  Q_OBJECT

 public:
  explicit TFallDone(QWidget* parent = nullptr);

  PictureButton* Btcontinuar() const { return btcontinuar_; }
  void BtcontinuarClick();

 protected:
  void FormShow() override;
  // Escape and the window's close do not leave the screen.
  void reject() override {}

 private:
  QLabel* image2_;
  QLabel* label2_;
  QLabel* label3_;
  PictureButton* btcontinuar_;
};
