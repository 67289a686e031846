#include "app/DemoPanel.h"

#include <QLabel>
#include <QVBoxLayout>

DemoPanel::DemoPanel(const QString& worldDir, const QString& serverUrl, QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("DemoPanel"));
  setWindowTitle(QStringLiteral("Dispositivos simulados"));
  auto* layout = new QVBoxLayout(this);
  auto* world = new QLabel(QStringLiteral("Mundo de demonstração: %1").arg(worldDir), this);
  world->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* server = new QLabel(QStringLiteral("Servidor do fabricante: %1").arg(serverUrl), this);
  server->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* devices = new QLabel(QStringLiteral("Nenhum dispositivo conectado."), this);
  devices->setObjectName(QStringLiteral("devices"));
  layout->addWidget(world);
  layout->addWidget(server);
  layout->addWidget(devices);
  layout->addStretch();
  resize(460, 200);
}
