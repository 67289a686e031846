#pragma once

#include "app/Screen.h"

class PictureButton;

// The welcome screen: the greeting, the problems an update mends, and the
// way on to the identification or the device kind.
class TFWCmsg : public TStageScreen {
  Q_OBJECT

 public:
  explicit TFWCmsg(QWidget* parent = nullptr);

  void avancarClick();

 private:
  PictureButton* avancar_;
};
