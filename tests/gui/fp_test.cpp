#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "app/Fmessage.h"
#include "app/Globals.h"
#include "app/Look.h"
#include "app/fp.h"

namespace {

// Position of a control in the main window's client area (the background
// picture covers it exactly).
QRect ClientGeometry(const Tfp& window, const QWidget* control) {
  const auto* background = window.findChild<QWidget*>(QStringLiteral("ImgFullScreen"));
  const QPoint origin = background->mapTo(&window, QPoint(0, 0));
  return {control->mapTo(&window, QPoint(0, 0)) - origin, control->size()};
}

// Counts the key presses of H that reach an object.
class KeyProbe : public QObject {
 public:
  int presses = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_H) {
      ++presses;
    }
    return false;
  }
};

void SendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
               QPoint globalPos) {
  QMouseEvent event(type, target->mapFromGlobal(globalPos), globalPos, button, held,
                    Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

}  // namespace

TEST(Tfp, ControlsSitWhereTheLayoutPutsThemWithTheirFontsAndColours) {
  Tfp window;
  EXPECT_EQ(window.objectName(), QStringLiteral("fp"));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Assistente Solvanta"));
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(window.size(), QSize(1024, 640));  // client area and a 1-pixel frame
  EXPECT_EQ(window.font().pixelSize(), 15);
  EXPECT_TRUE(window.font().bold());

  struct Row {
    const char* name;
    QRect geometry;  // an empty size: only the position is laid down
    const char* family;
    int pixelSize;
    QFont::Weight weight;
    QRgb colour;
  };
  const Row rows[] = {
      {"ImgFullScreen", {0, 0, 1022, 638}, nullptr, 0, QFont::Normal, 0},
      {"Windows", {59, 266, 166, 71}, "Lato", 16, QFont::Bold, kGoldColour},
      {"cpu", {59, 365, 166, 84}, "Lato", 16, QFont::Medium, kWhiteColour},
      {"memoria", {59, 466, 0, 0}, "Lato", 13, QFont::Medium, kWhiteColour},
      {"disk", {59, 487, 0, 0}, "Lato", 13, QFont::Medium, kWhiteColour},
      {"diskfree", {59, 508, 0, 0}, "Lato", 13, QFont::Medium, kWhiteColour},
      {"Lhomologacao", {59, 536, 159, 18}, nullptr, 0, QFont::Normal, 0},
      {"versao", {0, 622, 0, 0}, "Roboto", 12, QFont::Normal, kWhiteColour},
      {"lprotocolo", {51, 618, 0, 0}, "Lato", 13, QFont::Light, kWhiteColour},
      {"Bmin", {952, 2, 32, 32}, nullptr, 0, QFont::Normal, 0},
      {"Bclose", {982, 2, 32, 32}, nullptr, 0, QFont::Normal, 0},
      {"panelStage", {281, 40, 735, 592}, nullptr, 0, QFont::Normal, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto* control = window.findChild<QWidget*>(QLatin1String(row.name));
    ASSERT_NE(control, nullptr);
    const QRect at = ClientGeometry(window, control);
    EXPECT_EQ(at.topLeft(), row.geometry.topLeft());
    if (!row.geometry.isEmpty()) {
      EXPECT_EQ(at.size(), row.geometry.size());
    }
    if (row.family != nullptr) {
      const QFontInfo font(control->font());
      EXPECT_EQ(font.family(), QLatin1String(row.family));
      EXPECT_EQ(font.pixelSize(), row.pixelSize);
      EXPECT_EQ(font.weight(), row.weight);
      EXPECT_EQ(control->palette().color(QPalette::WindowText), QColor(row.colour));
    }
  }
  EXPECT_EQ(window.panelStage()->palette().color(QPalette::Window), QColor(12, 24, 39));
  EXPECT_FALSE(window.Lhomologacao()->isVisibleTo(&window));
  EXPECT_EQ(window.Lhomologacao()->text(), QStringLiteral("MODO HOMOLOGAÇÃO"));
  EXPECT_TRUE(window.Windows()->wordWrap());
  EXPECT_TRUE(window.cpu()->wordWrap());
}

TEST(SolvantaFont, NamedFamiliesResolveToTheShippedFonts) {
  const struct {
    const char* name;
    bool bold;
    const char* family;
    QFont::Weight weight;
  } cases[] = {
      {"Gilmer Light", false, "Lato", QFont::Light},
      {"Gilmer Medium", false, "Lato", QFont::Medium},
      {"Gilmer Medium", true, "Lato", QFont::Bold},
      {"Roboto", true, "Roboto", QFont::Bold},
      {"Roboto", false, "Roboto", QFont::Normal},
  };
  for (const auto& c : cases) {
    const QFontInfo info(SolvantaFont(QLatin1String(c.name), 21, c.bold));
    EXPECT_EQ(info.family(), QLatin1String(c.family)) << c.name;
    EXPECT_EQ(info.weight(), c.weight) << c.name << " bold=" << c.bold;
    EXPECT_EQ(info.pixelSize(), 21) << c.name;
  }
}

TEST(Tfp, CtrlAltHInAnyWindowIsTakenAndOnlyThatChord) {
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers held;
    int emitted;
  } cases[] = {
      {Qt::Key_H, Qt::ControlModifier | Qt::AltModifier, 1},
      {Qt::Key_H, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier, 1},
      {Qt::Key_H, Qt::ControlModifier, 0},
      {Qt::Key_H, Qt::AltModifier, 0},
      {Qt::Key_H, Qt::NoModifier, 0},
      {Qt::Key_J, Qt::ControlModifier | Qt::AltModifier, 0},
  };
  Tfp window;
  QLineEdit other;  // a window of its own, not the main window
  other.show();
  KeyProbe probe;
  other.installEventFilter(&probe);
  QSignalSpy spy(&window, &Tfp::homologacaoRequested);
  for (const auto& c : cases) {
    spy.clear();
    probe.presses = 0;
    QTest::keyPress(&other, c.key, c.held);
    EXPECT_EQ(spy.count(), c.emitted) << c.key << " " << c.held;
    // The chord is consumed; any other key reaches the window.
    EXPECT_EQ(probe.presses, c.key == Qt::Key_H ? 1 - c.emitted : 0);
  }
}

TEST(Tfp, CtrlAltHReachesTheMainWindowWhileAModalMessageIsOpen) {
  Tfp window;
  ::fp = &window;
  window.show();
  TFmessage dialog(&window);
  QSignalSpy spy(&window, &Tfp::homologacaoRequested);
  int seenWhileOpen = -1;
  QTimer::singleShot(0, &dialog, [&] {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &dialog;
    QTest::keyClick(target, Qt::Key_H, Qt::ControlModifier | Qt::AltModifier);
    seenWhileOpen = static_cast<int>(spy.count());
    dialog.done(mrOk);
  });
  EXPECT_TRUE(
      dialog.MsgPadrao(QStringLiteral("Reiniciando sistema para efetuar modificação"), false));
  EXPECT_EQ(seenWhileOpen, 1);
  ::fp = nullptr;
}

TEST(Tfp, OnlyTheLeftButtonOnTheBackgroundMovesTheWindow) {
  Tfp window;
  window.show();
  window.move(100, 100);
  QWidget* background = window.findChild<QWidget*>(QStringLiteral("ImgFullScreen"));
  const QPoint grip = background->mapToGlobal(QPoint(150, 20));
  const QPoint delta(40, 25);

  for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
    SendMouse(background, QEvent::MouseButtonPress, button, button, grip);
    SendMouse(background, QEvent::MouseMove, Qt::NoButton, button, grip + delta);
    SendMouse(background, QEvent::MouseButtonRelease, button, Qt::NoButton, grip + delta);
    EXPECT_EQ(window.pos(), QPoint(100, 100)) << button;
  }

  SendMouse(background, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, grip);
  SendMouse(background, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, grip + delta);
  SendMouse(background, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, grip + delta);
  EXPECT_EQ(window.pos(), QPoint(100, 100) + delta);

  // After the release the mouse moves without the window.
  SendMouse(background, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, grip + 2 * delta);
  EXPECT_EQ(window.pos(), QPoint(100, 100) + delta);
}

TEST(Tfp, CloseGlyphAsksToCloseAndMinimiseGlyphMinimises) {
  Tfp window;
  window.show();
  QSignalSpy closing(&window, &Tfp::closeRequested);
  QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Bclose")), Qt::LeftButton);
  EXPECT_EQ(closing.count(), 1);
  EXPECT_TRUE(window.isVisible());

  QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Bmin")), Qt::LeftButton);
  EXPECT_TRUE(window.windowState().testFlag(Qt::WindowMinimized));
  EXPECT_EQ(closing.count(), 1);
}

TEST(Tfp, WindowSystemCloseRunsTheCloseProcedureInsteadOfDroppingTheWindow) {
  Tfp window;
  window.show();
  QSignalSpy closing(&window, &Tfp::closeRequested);
  EXPECT_FALSE(window.close());
  EXPECT_EQ(closing.count(), 1);
  EXPECT_TRUE(window.isVisible());
}

TEST(Tfp, EditBoxesOnTheStageShowDarkTextOnTheirWhiteBackground) {
  Tfp window;
  QLineEdit edit(window.panelStage());
  const QPalette palette = edit.palette();
  EXPECT_NE(palette.color(QPalette::Text), palette.color(QPalette::Base));
  EXPECT_EQ(window.cpu()->palette().color(QPalette::WindowText), QColor(Qt::white));
}
