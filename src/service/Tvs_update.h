#pragma once

#include "app/Screen.h"

class QTimer;

// The catalogue update run each time the TV kind is chosen: the TV models
// of the update service replace the catalogue's rows above id 999, then the
// TV model-code screen follows.
class TTvs_update : public TStageScreen {
  Q_OBJECT

 public:
  explicit TTvs_update(QWidget* parent = nullptr);

  void updaterTimer();
  QTimer* updater() const { return updater_; }

 protected:
  void FormShow() override;

 private:
  QTimer* updater_;
  bool IsRunning = false;
};
