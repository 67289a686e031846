#pragma once

#include "app/Screen.h"

class QLabel;
class QTimer;
class SmoothProgressBar;

// The driver installation screen, shown modally by the recovery flow: it
// installs every driver file of the application object's ArrayListOfDrivers
// and then runs the driver installer, telling the user what to click in the
// prompts that come up meanwhile. It closes itself when done.
class TDrvInstall : public TStageDialog {
  Q_OBJECT

 public:
  explicit TDrvInstall(QWidget* parent = nullptr);

  QLabel* progresso() const { return progresso_; }
  SmoothProgressBar* ProgressBar() const { return progressBar_; }

 protected:
  void FormShow() override;
  bool event(QEvent* event) override;

 private:
  // The installation; runs once per showing, when the screen is activated.
  void FormActivate();
  void fechaformTimer();

  QLabel* image8_;
  QLabel* label1_;
  QLabel* label5_;
  QLabel* image3_;
  QLabel* label3_;
  QLabel* image4_;
  QLabel* label4_;
  QLabel* image1_;
  QLabel* label6_;
  QLabel* image2_;
  QLabel* lstatus_;
  QLabel* progresso_;
  SmoothProgressBar* progressBar_;
  QTimer* fechaform_;
  bool installPending_ = false;
};
