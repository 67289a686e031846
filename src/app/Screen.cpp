#include "app/Screen.h"

#include <QShowEvent>

#include "app/Globals.h"
#include "app/Look.h"
#include "app/fp.h"

TStageScreen::TStageScreen(QWidget* parent) : QWidget(parent) {
  setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
  setFixedSize(kStageWidth, kStageHeight);
  SetBackgroundColour(this, QColor(kScreenColour));
}

void TStageScreen::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A window restored from the taskbar shows its screen again without the
  // screen being put on the stage anew.
  if (!event->spontaneous()) {
    FormShow();
  }
}

TStageDialog::TStageDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setFixedSize(kStageWidth, kStageHeight);
}

void TStageDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    if (::fp != nullptr) {
      move(::fp->StageTopLeft());
    }
    FormShow();
  }
}

void TScreen::Paint(QWidget* screen, const QColor& colour) {
  SetBackgroundColour(screen, colour);
  screen->repaint();
}

void TScreen::Place(TStageScreen* screen, QWidget* stage) {
  if (screen->parentWidget() != stage) {
    screen->setParent(stage);
  }
  screen->move(0, 0);
  screen->show();
}

void TScreen::ShowScreen(QWidget* stage, TStageScreen* first) {
  if (stage == nullptr || first == nullptr) {
    return;
  }
  atual = first;
  anterior = first;
  Paint(first, QColor(kScreenColour));
  Place(first, stage);
}

void TScreen::ShowScreen(TStageScreen* current, TStageScreen* next) {
  if (current == nullptr || next == nullptr) {
    return;
  }
  current->hide();
  anterior = current;
  atual = next;
  Paint(next, QColor(kScreenColour));
  Place(next, current->parentWidget());
}

void TScreen::ShowScreen(TStageScreen* current, TStageScreen* next, const QColor& colour) {
  if (current == nullptr || next == nullptr) {
    return;
  }
  ShowScreen(current, next);
  Paint(next, colour);
}
