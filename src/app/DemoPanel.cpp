#include "app/DemoPanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Globals.h"
#include "app/UAPI.h"
#include "platform/Platform.h"
#include "platform/sim/SimDevices.h"

namespace {

// The devices the demo offers, with the identifiers Windows gives them.
struct DemoDevice {
  const char* label;
  const char* deviceId;
  const char* name;
  bool withSerialPort;
};

constexpr DemoDevice kDevices[] = {
    {"Spreadtrum (VID_1782) com porta serial", "USB\\VID_1782&PID_4D00\\5&2A3B4C5D&0&1",
     "SPRD U2S Diag", true},
    {"Spreadtrum (VID_1782) sem porta serial", "USB\\VID_1782&PID_4D00\\5&2A3B4C5D&0&1",
     "SPRD U2S Diag", false},
    {"MediaTek (VID_0E8D)", "USB\\VID_0E8D&PID_2000\\5&2A3B4C5D&0&2",
     "MediaTek PreLoader USB VCOM (Android)", false},
    {"Rockchip em modo burn (VID_2207)", "USB\\VID_2207&PID_330C\\5&2A3B4C5D&0&3", "Rockusb Device",
     false},
};

// The other vendors of the maker's table, written as Windows writes them.
constexpr const char* kOtherVendors[] = {"0BB4", "1F3A", "18D1", "03F0", "071B", "10D6", "05C6"};

}  // namespace

DemoPanel::DemoPanel(const QString& worldDir, const QString& serverUrl, QWidget* parent)
    : QWidget(parent, Qt::Window),
      // The demo world keeps the simulated PC's state in this file.
      pc_(std::make_unique<platform::SimulatedPc>(
          (worldDir + QStringLiteral("/simulated-pc.json")).toStdString())) {
  setObjectName(QStringLiteral("DemoPanel"));
  setWindowTitle(QStringLiteral("Dispositivos simulados"));
  auto* layout = new QVBoxLayout(this);
  auto* world = new QLabel(QStringLiteral("Mundo de demonstração: %1").arg(worldDir), this);
  world->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* server = new QLabel(QStringLiteral("Servidor do fabricante: %1").arg(serverUrl), this);
  server->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // What the program learnt of the simulated PC's public address from the
  // local geolocation service at start-up.
  auto* address =
      new QLabel(QStringLiteral("Endereço público: %1 (%2 - %3)")
                     .arg(UAPI ? UAPI->InfoIp : QString(), UAPI ? UAPI->InfoCidade : QString(),
                          UAPI ? UAPI->InfoEstado : QString()),
                 this);
  address->setObjectName(QStringLiteral("address"));
  layout->addWidget(world);
  layout->addWidget(server);
  layout->addWidget(address);

  auto* buttons = new QGridLayout;
  int row = 0;
  for (const DemoDevice& device : kDevices) {
    auto* plug =
        new QPushButton(QStringLiteral("Conectar %1").arg(QString::fromUtf8(device.label)), this);
    connect(plug, &QPushButton::clicked, this, [this, &device] {
      Plug(QString::fromLatin1(device.deviceId), QString::fromUtf8(device.name),
           device.withSerialPort);
    });
    buttons->addWidget(plug, row++, 0, 1, 2);
  }
  auto* others = new QComboBox(this);
  others->setObjectName(QStringLiteral("otherVendor"));
  for (const char* vendor : kOtherVendors) {
    others->addItem(QStringLiteral("Outro aparelho (VID_%1)").arg(QLatin1String(vendor)),
                    QLatin1String(vendor));
  }
  auto* plugOther = new QPushButton(QStringLiteral("Conectar"), this);
  connect(plugOther, &QPushButton::clicked, this, [this, others] {
    const QString vendor = others->currentData().toString();
    Plug(QStringLiteral("USB\\VID_%1&PID_0001\\5&2A3B4C5D&0&%2")
             .arg(vendor)
             .arg(others->currentIndex() + 4),
         QStringLiteral("Dispositivo USB (VID_%1)").arg(vendor), false);
  });
  buttons->addWidget(others, row, 0);
  buttons->addWidget(plugOther, row, 1);
  layout->addLayout(buttons);

  devices_ = new QListWidget(this);
  devices_->setObjectName(QStringLiteral("devices"));
  layout->addWidget(devices_);
  auto* unplug = new QPushButton(QStringLiteral("Desconectar o dispositivo selecionado"), this);
  connect(unplug, &QPushButton::clicked, this, &DemoPanel::UnplugSelected);
  layout->addWidget(unplug);
  ports_ = new QLabel(this);
  ports_->setObjectName(QStringLiteral("ports"));
  layout->addWidget(ports_);

  // The program's tools may change the devices too.
  if (const auto& events = platform::Current().deviceEvents) {
    events->Subscribe([self = QPointer<DemoPanel>(this)] {
      if (self)
        self->Refresh();
    });
  }
  Refresh();
  resize(460, 460);
}

DemoPanel::~DemoPanel() = default;

void DemoPanel::Plug(const QString& deviceId, const QString& name, bool withSerialPort) {
  platform::PlugDevice(*pc_, deviceId.toStdString(), name.toStdString(), withSerialPort);
  Refresh();
}

void DemoPanel::UnplugSelected() {
  if (const QListWidgetItem* item = devices_->currentItem()) {
    platform::UnplugDevice(*pc_, item->data(Qt::UserRole).toString().toStdString());
  }
  Refresh();
}

void DemoPanel::Refresh() {
  devices_->clear();
  for (const platform::SimDevice& device : platform::PluggedDevices(*pc_)) {
    const QString id = QString::fromStdString(device.deviceId);
    if (!id.startsWith(QLatin1String("USB\\"), Qt::CaseInsensitive))
      continue;  // the PC's own
    QString text = QString::fromStdString(device.name) + QStringLiteral(" — ") + id;
    if (!device.port.empty())
      text += QStringLiteral(" (%1)").arg(QString::fromStdString(device.port));
    auto* item = new QListWidgetItem(text, devices_);
    item->setData(Qt::UserRole, id);
  }
  if (devices_->count() == 0) {
    new QListWidgetItem(QStringLiteral("Nenhum dispositivo conectado."), devices_);
  }
  QStringList ports;
  auto& registry = *platform::Current().registry;
  const auto hive = platform::Hive::LocalMachine;
  for (const std::string& name : registry.ValueNames(hive, platform::kSimSerialCommKey)) {
    const auto port = registry.ReadValue(hive, platform::kSimSerialCommKey, name);
    if (const auto* text = port ? std::get_if<std::string>(&*port) : nullptr) {
      ports << QString::fromStdString(*text);
    }
  }
  ports_->setText(QStringLiteral("Portas seriais: %1")
                      .arg(ports.isEmpty() ? QStringLiteral("nenhuma") : ports.join(u", ")));
}
