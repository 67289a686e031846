#pragma once

#include <QWidget>

class QLabel;

// The demo's "Dispositivos simulados" window: where the demo world lives and
// the devices and pendrives plugged into the simulated PC.
class DemoPanel : public QWidget {
 public:
  DemoPanel(const QString& worldDir, const QString& serverUrl, QWidget* parent = nullptr);
};
