#include "app/Look.h"

#include <QBitmap>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QSvgRenderer>
#include <QWidget>
#include <cstdlib>

// The resources live in a static library, so they are registered by hand
// before the first picture is read.
static void RegisterArt() {
  Q_INIT_RESOURCE(art);
}

namespace {

void EnsureArt() {
  static const bool registered = (RegisterArt(), true);
  (void)registered;
}

}  // namespace

QFont SolvantaFont(const QString& family, int pixelSize, bool bold) {
  QFont font;
  QFont::Weight weight = bold ? QFont::Bold : QFont::Normal;
  if (family == QLatin1String("Gilmer Light")) {
    font.setFamilies({QStringLiteral("Lato")});
    weight = bold ? QFont::Bold : QFont::Light;
  } else if (family == QLatin1String("Gilmer Medium")) {
    font.setFamilies({QStringLiteral("Lato")});
    weight = bold ? QFont::Bold : QFont::Medium;
  } else {
    font.setFamilies({family});
  }
  font.setWeight(weight);
  font.setPixelSize(pixelSize > 0 ? pixelSize : 1);
  return font;
}

QSize ArtSize(const QString& path) {
  EnsureArt();
  QSvgRenderer renderer(path);
  return renderer.isValid() ? renderer.defaultSize() : QSize();
}

QPixmap ArtPixmap(const QString& path, QSize size) {
  EnsureArt();
  QSvgRenderer renderer(path);
  if (!renderer.isValid()) {
    return {};
  }
  if (size.isEmpty()) {
    size = renderer.defaultSize();
  }
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  renderer.render(&painter);
  return pixmap;
}

void SetKeyColourMask(QWidget* window, const QPixmap& backdrop) {
  if (backdrop.isNull()) {
    return;
  }
  // Rendering smooths the artwork's edges, so a pixel within the channel
  // tolerance of the key colour counts as key.
  constexpr int kTolerance = 40;
  const auto near = [](int a, int b) { return std::abs(a - b) <= kTolerance; };
  QImage image = backdrop.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = line[x];
      if (near(qRed(pixel), qRed(kKeyColour)) && near(qGreen(pixel), qGreen(kKeyColour)) &&
          near(qBlue(pixel), qBlue(kKeyColour))) {
        line[x] = qRgba(0, 0, 0, 0);
      } else {
        line[x] = qRgba(0, 0, 0, 255);
      }
    }
  }
  window->setMask(QBitmap::fromImage(image.createAlphaMask()));
}

void SetBackgroundColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Text, colour);
  widget->setPalette(palette);
}

QLabel* LightLabel(QWidget* parent, const char* name, const QString& text, const QRect& place,
                   int pixels, QRgb colour, Qt::Alignment align) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(SolvantaFont(QStringLiteral("Gilmer Light"), pixels, false));
  SetTextColour(label, QColor(colour));
  label->setGeometry(place);
  label->setAlignment(align);
  return label;
}
