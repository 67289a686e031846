#include "catalogue/SelectionArt.h"

#include <QCoreApplication>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QThreadPool>

#include "app/Look.h"

static void RegisterSelectionArt() {
  Q_INIT_RESOURCE(selection);
}

void EnsureSelectionArt() {
  static const bool registered = (RegisterSelectionArt(), true);
  (void)registered;
}

QLabel* ArtLabel(QWidget* parent, const QString& name, const char* artPath, int x, int y,
                 QSize size) {
  EnsureSelectionArt();
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  const QPixmap pixmap = ArtPixmap(QString::fromLatin1(artPath), size);
  label->setPixmap(pixmap);
  label->setGeometry(x, y, pixmap.width(), pixmap.height());
  return label;
}

QLabel* TextLabel(QWidget* parent, const QString& name, const QString& text, const QString& family,
                  int pixelSize, bool bold, QRgb colour) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setFont(SolvantaFont(family, pixelSize, bold));
  SetTextColour(label, QColor(colour));
  return label;
}

QImage FitCentred(const QImage& image, QSize box) {
  QImage canvas(box, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  if (image.isNull() || box.isEmpty())
    return canvas;
  const QImage scaled = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QPainter painter(&canvas);
  painter.drawImage((box.width() - scaled.width()) / 2, (box.height() - scaled.height()) / 2,
                    scaled);
  return canvas;
}

void LoadPictureInBackground(const QString& file, QSize box, QObject* context,
                             std::function<void(const QImage&)> done) {
  QPointer<QObject> guard(context);
  QThreadPool::globalInstance()->start([file, box, guard, done = std::move(done)] {
    QImageReader reader(file);
    reader.setAutoTransform(true);
    const QImage read = reader.read();
    const QImage fitted = read.isNull() ? QImage() : FitCentred(read, box);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [guard, done, fitted] {
          if (guard)
            done(fitted);
        },
        Qt::QueuedConnection);
  });
}
