#pragma once

#include <QPoint>
#include <QWidget>

#include "app/Screen.h"

class QLabel;
class PictureButton;

// The main window: the machine information on the left and the stage, on
// which one step screen is shown at a time, on the right. Frameless; the
// background drags it.
class Tfp : public QWidget {
  Q_OBJECT

 public:
  explicit Tfp(QWidget* parent = nullptr);
  ~Tfp() override;

  // The stage keeper.
  TScreen Fs;

  QLabel* Windows() const { return windows_; }
  QLabel* cpu() const { return cpu_; }
  QLabel* memoria() const { return memoria_; }
  QLabel* disk() const { return disk_; }
  QLabel* diskfree() const { return diskfree_; }
  QLabel* Lhomologacao() const { return lhomologacao_; }
  QLabel* versao() const { return versao_; }
  QLabel* lprotocolo() const { return lprotocolo_; }
  QWidget* panelStage() const { return panelStage_; }

  // The stage's top left corner in screen coordinates, where the dialogs and
  // the closing screen are laid.
  QPoint StageTopLeft() const;

 signals:
  // Bclose was pressed.
  void closeRequested();
  // Ctrl+Alt+H was pressed in any window of the program.
  void homologacaoRequested();
  // The window was shown (not when it is restored from the taskbar).
  void shown();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // A close from the window system (Alt+F4, the taskbar) runs the close
  // procedure instead of dropping the window alone.
  void closeEvent(QCloseEvent* event) override;

 private:
  bool DragEvent(QEvent* event);

  QWidget* client_;
  QLabel* imgFullScreen_;
  QLabel* windows_;
  QLabel* cpu_;
  QLabel* memoria_;
  QLabel* disk_;
  QLabel* diskfree_;
  QLabel* lhomologacao_;
  QLabel* versao_;
  QLabel* lprotocolo_;
  PictureButton* bmin_;
  PictureButton* bclose_;
  QWidget* panelStage_;

  // Moving by mouse deltas where the window system offers no move of its own.
  bool dragging_ = false;
  QPoint dragStartMouse_;
  QPoint dragStartWindow_;
};
