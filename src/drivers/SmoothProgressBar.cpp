#include "drivers/SmoothProgressBar.h"

#include <QPainter>
#include <algorithm>

SmoothProgressBar::SmoothProgressBar(const QColor& bar, const QColor& track, QWidget* parent)
    : QWidget(parent), bar_(bar), track_(track) {}

void SmoothProgressBar::SetMaximum(int maximum) {
  maximum_ = maximum;
  update();
}

void SmoothProgressBar::SetPosition(int position) {
  position_ = position;
  update();
}

void SmoothProgressBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  const qreal radius = height() / 2.0;
  painter.setBrush(track_);
  painter.drawRoundedRect(rect(), radius, radius);
  // An empty range (no driver or a single one) shows an empty bar.
  if (maximum_ <= 0) {
    return;
  }
  const double fraction = std::clamp(static_cast<double>(position_) / maximum_, 0.0, 1.0);
  const int width = static_cast<int>(fraction * this->width());
  if (width > 0) {
    painter.setBrush(bar_);
    painter.drawRoundedRect(QRect(0, 0, std::max(width, height()), height()), radius, radius);
  }
}
