#pragma once

#include "app/Screen.h"

class PictureButton;

// The device-kind screen: one picture button per kind. Phones and TVs are
// offered; the tablet and notebook buttons work but stay hidden.
class TFsTsystem : public TStageScreen {
  Q_OBJECT

 public:
  explicit TFsTsystem(QWidget* parent = nullptr);

  void Image1Click();  // mobile phones
  void Image2Click();  // tablets
  void Image3Click();  // TVs
  void Image4Click();  // notebooks

 private:
  // Closes `devices`, puts the kind's selection into it, opens it, records
  // the kind and shows `next`.
  void ChooseKind(int systemType, TStageScreen* next);
  // The visible kind buttons side by side, centred.
  void LayOutKinds();

  PictureButton* image1_;
  PictureButton* image2_;
  PictureButton* image3_;
  PictureButton* image4_;
};
