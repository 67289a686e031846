#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

// The hidden window that receives the system's device-change notifications
// and passes them on to the notebook drive-selection screen while that screen
// waits for a drive. It is created with the other screens and never shown.
class TClassDeviceChanges : public QWidget {
  Q_OBJECT

 public:
  // Subscribes to the platform's device events, when it has them.
  explicit TClassDeviceChanges(QWidget* parent = nullptr);

  // Who receives device changes: 0 = the notebook drive-selection screen,
  // any other value = nobody.
  int ownerExecuteAction() const { return fownerExecuteAction; }
  void setOwnerExecuteAction(int value) { fownerExecuteAction = value; }

  // The drive-selection screen's timer that starts a detection pass.
  void SetTickStartFirstPass(QTimer* timer) { tickStartFirstPass_ = timer; }

  // One device-change notification (arrival, removal or any other kind).
  void WMDeviceChange();

 private:
  int fownerExecuteAction = 99;
  QPointer<QTimer> tickStartFirstPass_;
};
