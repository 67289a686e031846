#pragma once

#include "app/Screen.h"

class PictureButton;
class QFrame;
class QLineEdit;

// The TV model-code screen: the TV is found by the code typed, exactly as
// the catalogue stores it.
class TTvsGetRadical : public TStageScreen {
  Q_OBJECT

 public:
  explicit TTvsGetRadical(QWidget* parent = nullptr);

  // The TV code lookup for the text of `radical`.
  void BtnAvancarClick();
  void Image1Click();

 protected:
  void FormShow() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* radical_;
  QFrame* iradical_;
  PictureButton* btnAvancar_;
  PictureButton* image1_;
};
