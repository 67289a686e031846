#pragma once

#include "app/Screen.h"

class QLabel;

// The waiting screen that holds the stage while the recovery flow works.
class TFBNB : public TStageScreen {
  Q_OBJECT

 public:
  explicit TFBNB(QWidget* parent = nullptr);

 private:
  QLabel* image1_;
  QLabel* label1_;
};
