#pragma once

#include <QColor>
#include <QDialog>
#include <QWidget>

// The answers a modal screen closes with; any other close gives none of them.
inline constexpr int mrOk = 1;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;

// A step screen: the stage's size, no border, at the stage's top left corner.
// Screens live for the whole run and are only hidden when they leave the
// stage, so each one resets its own controls in FormShow, which runs every
// time the screen is shown.
class TStageScreen : public QWidget {
  Q_OBJECT

 public:
  explicit TStageScreen(QWidget* parent = nullptr);

 protected:
  virtual void FormShow() {}
  void showEvent(QShowEvent* event) override;
};

// A modal screen laid exactly over the stage when it is shown (over the main
// window found through the program-wide `fp`; where it is when there is none).
// Frameless, the stage's size; FormShow runs every time it is shown.
class TStageDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TStageDialog(QWidget* parent = nullptr);

 protected:
  virtual void FormShow() {}
  void showEvent(QShowEvent* event) override;
};

// The stage keeper: which screen is on the stage and which one it replaced.
class TScreen {
 public:
  TStageScreen* atual = nullptr;
  TStageScreen* anterior = nullptr;

  // Puts the first screen on the stage panel.
  void ShowScreen(QWidget* stage, TStageScreen* first);
  // Hides the screen on the stage and shows the next one in its place; a
  // null screen leaves everything as it is.
  void ShowScreen(TStageScreen* current, TStageScreen* next);
  // As above, then gives the next screen the background `colour`.
  void ShowScreen(TStageScreen* current, TStageScreen* next, const QColor& colour);

 private:
  static void Paint(QWidget* screen, const QColor& colour);
  static void Place(TStageScreen* screen, QWidget* stage);
};
