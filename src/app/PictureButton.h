#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A picture used as a button: it shows one artwork picture at its own size,
// takes no keyboard focus and emits clicked() when pressed and released.
class PictureButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit PictureButton(const QString& artPath, QWidget* parent = nullptr);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QString artPath_;
  QPixmap picture_;
};
