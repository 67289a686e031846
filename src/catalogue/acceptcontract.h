#pragma once

#include "app/Screen.h"

class PictureButton;
class QCheckBox;
class QLabel;

// The confirmation of the chosen device and of the terms: copies the
// device's catalogue row into the shared state, opens the protocol and the
// log of the recovery and starts it.
class Tacceptcontract : public TStageScreen {
  Q_OBJECT

 public:
  explicit Tacceptcontract(QWidget* parent = nullptr);

  void avancarClick();
  void Image2Click();
  // True once the device picture of the last showing has been read (or
  // found missing).
  bool PictureLoaded() const { return pictureLoaded_; }

 protected:
  void FormShow() override;

 private:
  QLabel* imgDispositivo_;
  QLabel* modelo_;
  QCheckBox* checkBox1_;
  PictureButton* avancar_;
  PictureButton* image2_;
  int showing_ = 0;
  bool pictureLoaded_ = false;
};
