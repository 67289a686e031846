#include "app/PictureButton.h"

#include <QPainter>

#include "app/Look.h"

PictureButton::PictureButton(const QString& artPath, QWidget* parent)
    : QAbstractButton(parent), artPath_(artPath) {
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::PointingHandCursor);
  resize(ArtSize(artPath_));
  picture_ = ArtPixmap(artPath_, size());
}

QSize PictureButton::sizeHint() const {
  return ArtSize(artPath_);
}

void PictureButton::resizeEvent(QResizeEvent* event) {
  QAbstractButton::resizeEvent(event);
  picture_ = ArtPixmap(artPath_, size());
}

void PictureButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // A pressed button looks pushed in.
  if (isDown()) {
    painter.setOpacity(0.75);
  }
  painter.drawPixmap(0, 0, picture_);
}
