#pragma once

#include <QWidget>
#include <memory>

class QLabel;
class QListWidget;

namespace platform {
class SimulatedPc;
}

// The demo's "Dispositivos simulados" window: where the demo world lives and
// the devices plugged into the simulated PC, with buttons that plug and pull
// them.
class DemoPanel : public QWidget {
 public:
  DemoPanel(const QString& worldDir, const QString& serverUrl, QWidget* parent = nullptr);
  ~DemoPanel() override;

 private:
  void Plug(const QString& deviceId, const QString& name, bool withSerialPort);
  void UnplugSelected();
  void Refresh();

  std::unique_ptr<platform::SimulatedPc> pc_;
  QListWidget* devices_;
  QLabel* ports_;
};
