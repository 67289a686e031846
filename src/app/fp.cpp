#include "app/fp.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QWindow>

#include "app/Look.h"
#include "app/PictureButton.h"

namespace {

constexpr int kClientWidth = 1022;
constexpr int kClientHeight = 638;
constexpr int kFrame = 1;

// A label on a colour gradient, red at the left fading to black at the right.
class GradientLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override {
    {
      QPainter painter(this);
      QLinearGradient gradient(0, 0, width(), 0);
      gradient.setColorAt(0, QColor(200, 0, 0));
      gradient.setColorAt(1, Qt::black);
      painter.fillRect(rect(), gradient);
    }
    QLabel::paintEvent(event);
  }
};

QLabel* MakeLabel(QWidget* parent, const char* name, const QFont& font, QRgb colour,
                  const QRect& geometry, bool wrap) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(font);
  SetTextColour(label, QColor(colour));
  label->setWordWrap(wrap);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(geometry);
  return label;
}

// A label whose size the table leaves to its text: one line, as wide as the
// room to its right in the information column.
QRect LineAt(int left, int top, const QFont& font, int width) {
  return {left, top, width, QFontMetrics(font).height()};
}

}  // namespace

Tfp::Tfp(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("fp"));
  setWindowTitle(QStringLiteral("Assistente Solvanta"));
  setFixedSize(kClientWidth + 2 * kFrame, kClientHeight + 2 * kFrame);
  setFont(SolvantaFont(QStringLiteral("Roboto"), 15, true));
  // White captions; the text of edit boxes keeps the dark default, since
  // their background stays white.
  QPalette captions = palette();
  captions.setColor(QPalette::WindowText, QColor(kWhiteColour));
  setPalette(captions);
  SetBackgroundColour(this, QColor(kStageColour));

  client_ = new QWidget(this);
  client_->setGeometry(kFrame, kFrame, kClientWidth, kClientHeight);

  imgFullScreen_ = new QLabel(client_);
  imgFullScreen_->setObjectName(QStringLiteral("ImgFullScreen"));
  imgFullScreen_->setGeometry(0, 0, kClientWidth, kClientHeight);
  imgFullScreen_->setPixmap(ArtPixmap(art::kMainBackground, imgFullScreen_->size()));

  const QFont medium16 = SolvantaFont(QStringLiteral("Gilmer Medium"), 16, false);
  const QFont medium13 = SolvantaFont(QStringLiteral("Gilmer Medium"), 13, false);
  const QFont light13 = SolvantaFont(QStringLiteral("Gilmer Light"), 13, false);
  const QFont roboto12 = SolvantaFont(QStringLiteral("Roboto"), 12, false);
  constexpr int kColumnWidth = 281 - 59;

  windows_ = MakeLabel(client_, "Windows", SolvantaFont(QStringLiteral("Gilmer Medium"), 16, true),
                       kGoldColour, {59, 266, 166, 71}, true);
  cpu_ = MakeLabel(client_, "cpu", medium16, kWhiteColour, {59, 365, 166, 84}, true);
  memoria_ = MakeLabel(client_, "memoria", medium13, kWhiteColour,
                       LineAt(59, 466, medium13, kColumnWidth), false);
  disk_ = MakeLabel(client_, "disk", medium13, kWhiteColour,
                    LineAt(59, 487, medium13, kColumnWidth), false);
  diskfree_ = MakeLabel(client_, "diskfree", medium13, kWhiteColour,
                        LineAt(59, 508, medium13, kColumnWidth), false);

  lhomologacao_ = new GradientLabel(QStringLiteral("MODO HOMOLOGAÇÃO"), client_);
  lhomologacao_->setObjectName(QStringLiteral("Lhomologacao"));
  lhomologacao_->setGeometry(59, 536, 159, 18);
  lhomologacao_->setAlignment(Qt::AlignCenter);
  lhomologacao_->setFont(SolvantaFont(QStringLiteral("Roboto"), 12, true));
  lhomologacao_->hide();

  versao_ =
      MakeLabel(client_, "versao", roboto12, kWhiteColour, LineAt(0, 622, roboto12, 51), false);
  lprotocolo_ = MakeLabel(client_, "lprotocolo", light13, kWhiteColour,
                          LineAt(51, 618, light13, kColumnWidth - 51 + 59), false);

  bmin_ = new PictureButton(art::kMinimise, client_);
  bmin_->setObjectName(QStringLiteral("Bmin"));
  bmin_->setGeometry(952, 2, 32, 32);
  bclose_ = new PictureButton(art::kClose, client_);
  bclose_->setObjectName(QStringLiteral("Bclose"));
  bclose_->setGeometry(982, 2, 32, 32);
  connect(bmin_, &PictureButton::clicked, this, &QWidget::showMinimized);
  connect(bclose_, &PictureButton::clicked, this, &Tfp::closeRequested);

  panelStage_ = new QWidget(client_);
  panelStage_->setObjectName(QStringLiteral("panelStage"));
  panelStage_->setGeometry(281, 40, kStageWidth, kStageHeight);
  SetBackgroundColour(panelStage_, QColor(kStageColour));

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());
  }

  // The shortcut works whichever window of the program has the focus, so the
  // filter sits on the application; it also sees the background's presses.
  qApp->installEventFilter(this);
}

Tfp::~Tfp() {
  qApp->removeEventFilter(this);
}

QPoint Tfp::StageTopLeft() const {
  return panelStage_->mapToGlobal(QPoint(0, 0));
}

bool Tfp::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers held = key->modifiers();
    if (key->key() == Qt::Key_H && held.testFlag(Qt::ControlModifier) &&
        held.testFlag(Qt::AltModifier)) {
      if (!key->isAutoRepeat()) {
        emit homologacaoRequested();
      }
      return true;
    }
  } else if (watched == imgFullScreen_) {
    return DragEvent(event);
  }
  return QObject::eventFilter(watched, event);
}

bool Tfp::DragEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) {
        return false;
      }
      QWindow* window = windowHandle();
      dragging_ = window == nullptr || !window->startSystemMove();
      dragStartMouse_ = mouse->globalPosition().toPoint();
      dragStartWindow_ = pos();
      return true;
    }
    case QEvent::MouseMove: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (!dragging_ || !mouse->buttons().testFlag(Qt::LeftButton)) {
        dragging_ = false;
        return false;
      }
      move(dragStartWindow_ + mouse->globalPosition().toPoint() - dragStartMouse_);
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        dragging_ = false;
      }
      return false;
    default:
      return false;
  }
}

void Tfp::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QColor(kGoldColour));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void Tfp::closeEvent(QCloseEvent* event) {
  event->ignore();
  emit closeRequested();
}

void Tfp::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) {
    emit shown();
  }
}
