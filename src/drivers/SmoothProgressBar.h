#pragma once

#include <QColor>
#include <QWidget>

// A flat progress bar with rounded ends: the bar in one colour over the
// track in another, no text.
class SmoothProgressBar : public QWidget {
  Q_OBJECT

 public:
  SmoothProgressBar(const QColor& bar, const QColor& track, QWidget* parent = nullptr);

  int Maximum() const { return maximum_; }
  int Position() const { return position_; }
  void SetMaximum(int maximum);
  void SetPosition(int position);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor bar_;
  QColor track_;
  int maximum_ = 100;
  int position_ = 0;
};
