#pragma once

#include <QWidget>

class QLabel;

// The closing screen, laid over the stage while the program closes.
class TSystemDone : public QWidget {
  Q_OBJECT

 public:
  explicit TSystemDone(QWidget* parent = nullptr);

  // Shows the screen over the stage without waiting and lets pending window
  // messages run once, so that it is painted before the slow closing steps.
  void ShowOverStage();

 private:
  QLabel* image2_;
  QLabel* image3_;
  QLabel* label1_;
};
