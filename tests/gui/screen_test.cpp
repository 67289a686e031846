#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

#include "app/FBNB.h"
#include "app/Globals.h"
#include "app/Look.h"
#include "app/Screen.h"
#include "app/SystemDone.h"
#include "app/fp.h"

namespace {

// A step screen with an edit box, counting how often it was shown.
class EditScreen : public TStageScreen {
 public:
  explicit EditScreen(QWidget* parent = nullptr) : TStageScreen(parent), edit(this) {}
  QLineEdit edit;
  int shows = 0;

 protected:
  void FormShow() override { ++shows; }
};

QColor Background(const QWidget& w) {
  return w.palette().color(QPalette::Window);
}

}  // namespace

TEST(ShowScreen, FirstScreenGoesOnTheStagePaintedAndBothReferencesPointAtIt) {
  QWidget stage;
  stage.resize(kStageWidth, kStageHeight);
  stage.show();
  EditScreen first;
  SetBackgroundColour(&first, Qt::red);
  TScreen fs;
  fs.ShowScreen(&stage, &first);
  EXPECT_EQ(fs.atual, &first);
  EXPECT_EQ(fs.anterior, &first);
  EXPECT_EQ(first.parentWidget(), &stage);
  EXPECT_TRUE(first.isVisible());
  EXPECT_EQ(first.geometry(), QRect(0, 0, 735, 592));
  EXPECT_EQ(Background(first), QColor(16, 31, 50));
  EXPECT_EQ(first.shows, 1);
}

TEST(ShowScreen, TheScreenThatLeavesIsHiddenAndKeepsItsControls) {
  QWidget stage;
  stage.show();
  EditScreen first;
  EditScreen second;
  TScreen fs;
  fs.ShowScreen(&stage, &first);
  first.edit.setText(QStringLiteral("12345678901"));

  fs.ShowScreen(&first, &second);
  EXPECT_FALSE(first.isVisible());
  EXPECT_TRUE(second.isVisible());
  EXPECT_EQ(second.parentWidget(), &stage);
  EXPECT_EQ(fs.anterior, &first);
  EXPECT_EQ(fs.atual, &second);
  EXPECT_EQ(first.edit.text(), QStringLiteral("12345678901"));

  // Back again: the same object, its text untouched, its FormShow run anew.
  fs.ShowScreen(&second, &first);
  EXPECT_TRUE(first.isVisible());
  EXPECT_FALSE(second.isVisible());
  EXPECT_EQ(fs.anterior, &second);
  EXPECT_EQ(fs.atual, &first);
  EXPECT_EQ(first.edit.text(), QStringLiteral("12345678901"));
  EXPECT_EQ(first.shows, 2);
  EXPECT_EQ(second.shows, 1);
}

TEST(ShowScreen, ColourFormGivesTheNextScreenThatColour) {
  QWidget stage;
  stage.show();
  EditScreen first;
  EditScreen second;
  TScreen fs;
  fs.ShowScreen(&stage, &first);
  fs.ShowScreen(&first, &second, QColor(kStageColour));
  EXPECT_EQ(Background(second), QColor(12, 24, 39));
  EXPECT_TRUE(second.autoFillBackground());
  EXPECT_EQ(fs.atual, &second);
  // The plain form paints the screen's own colour again.
  fs.ShowScreen(&second, &first);
  fs.ShowScreen(&first, &second);
  EXPECT_EQ(Background(second), QColor(16, 31, 50));
}

TEST(ShowScreen, NullScreensLeaveTheStageAsItIs) {
  QWidget stage;
  stage.show();
  EditScreen first;
  TScreen fs;
  fs.ShowScreen(&stage, &first);
  fs.ShowScreen(&first, nullptr);
  fs.ShowScreen(nullptr, &first, Qt::red);
  fs.ShowScreen(static_cast<QWidget*>(nullptr), &first);
  EXPECT_EQ(fs.atual, &first);
  EXPECT_TRUE(first.isVisible());
  EXPECT_EQ(Background(first), QColor(16, 31, 50));
}

TEST(Tfp, WaitingScreenTakesTheStage) {
  Tfp window;
  window.show();
  TFBNB waiting;
  window.Fs.ShowScreen(window.panelStage(), &waiting);
  EXPECT_EQ(waiting.parentWidget(), window.panelStage());
  EXPECT_EQ(waiting.mapTo(&window, QPoint(0, 0)),
            window.panelStage()->mapTo(&window, QPoint(0, 0)));
  const auto* label = waiting.findChild<QLabel*>(QStringLiteral("Label1"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QStringLiteral("Processando, aguarde..."));
  EXPECT_EQ(label->pos(), QPoint(181, 276));
  EXPECT_EQ(label->font().pixelSize(), 33);
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(205, 154, 51));
}

TEST(TSystemDone, ClosingScreenCoversTheStageOfTheMainWindow) {
  Tfp window;
  window.move(50, 60);
  window.show();
  TSystemDone done;
  ::fp = &window;
  done.ShowOverStage();
  ::fp = nullptr;
  EXPECT_TRUE(done.isVisible());
  EXPECT_EQ(done.pos(), window.panelStage()->mapToGlobal(QPoint(0, 0)));
  EXPECT_EQ(done.pos(), QPoint(50 + 1 + 281, 60 + 1 + 40));
  EXPECT_EQ(done.size(), QSize(735, 592));
  const auto* label = done.findChild<QLabel*>(QStringLiteral("Label1"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QStringLiteral("Aguarde, encerrando aplicação..."));

  // Without a main window it still shows.
  TSystemDone alone;
  alone.ShowOverStage();
  EXPECT_TRUE(alone.isVisible());
}
