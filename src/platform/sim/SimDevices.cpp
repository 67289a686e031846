#include "platform/sim/SimDevices.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QJsonArray>
#include <QPointer>
#include <QRegularExpression>
#include <set>

#include "platform/linux/DriverTools.h"

namespace platform {

namespace {

// A member of `object` by name without regard to letter case; `name` itself
// when there is none yet.
QString StoredName(const QJsonObject& object, const QString& name) {
  for (auto it = object.begin(); it != object.end(); ++it) {
    if (it.key().compare(name, Qt::CaseInsensitive) == 0)
      return it.key();
  }
  return name;
}

// Reads a nested member path, each part found without regard to case.
QJsonValue At(const QJsonObject& root, std::initializer_list<const char*> path) {
  QJsonValue value = root;
  for (const char* part : path) {
    const QJsonObject object = value.toObject();
    value = object.value(StoredName(object, QString::fromLatin1(part)));
  }
  return value;
}

// Applies `change` to the nested member path, creating what is missing.
void Edit(QJsonObject& object, std::initializer_list<const char*> path,
          const std::function<void(QJsonValue&)>& change) {
  const auto walk = [&](auto& self, QJsonObject& at, const char* const* part,
                        const char* const* end) -> void {
    const QString name = StoredName(at, QString::fromLatin1(*part));
    QJsonValue value = at.value(name);
    if (part + 1 == end) {
      change(value);
    } else {
      QJsonObject inner = value.toObject();
      self(self, inner, part + 1, end);
      value = inner;
    }
    at.insert(name, value);
  };
  walk(walk, object, path.begin(), path.end());
}

constexpr std::initializer_list<const char*> kPnpPath = {"wmi", "Win32_PnPEntity"};
constexpr std::initializer_list<const char*> kSerialPath = {"registry", "HKLM", kSimSerialCommKey};

const QRegularExpression& PortSuffix() {
  static const QRegularExpression suffix(QStringLiteral("^(.*) \\((COM\\d+)\\)$"));
  return suffix;
}

SimDevice DeviceOf(const QJsonObject& row) {
  SimDevice device;
  device.deviceId = row.value(u"DeviceID").toString().toStdString();
  const QString name = row.value(u"Name").toString();
  if (const auto match = PortSuffix().match(name); match.hasMatch()) {
    device.name = match.captured(1).toStdString();
    device.port = match.captured(2).toStdString();
  } else {
    device.name = name.toStdString();
  }
  return device;
}

void CountChange(QJsonObject& state) {
  state.insert("deviceChanges", state.value(u"deviceChanges").toInteger() + 1);
}

void Record(const SimulatedPc& pc, const QJsonObject& entry) {
  pc.Change([&](QJsonObject& state) {
    QJsonArray installs = state.value(u"driverInstalls").toArray();
    installs.append(entry);
    state.insert("driverInstalls", installs);
  });
}

}  // namespace

std::vector<SimDevice> PluggedDevices(const SimulatedPc& pc) {
  std::vector<SimDevice> devices;
  for (const QJsonValue& row : At(pc.State(), kPnpPath).toArray()) {
    devices.push_back(DeviceOf(row.toObject()));
  }
  return devices;
}

std::optional<std::string> PlugDevice(const SimulatedPc& pc, const std::string& deviceId,
                                      const std::string& name, bool withSerialPort) {
  const QString id = QString::fromStdString(deviceId);
  QString port;
  const bool written = pc.Update([&](QJsonObject& state) {
    for (const QJsonValue& row : At(state, kPnpPath).toArray()) {
      if (row.toObject().value(u"DeviceID").toString().compare(id, Qt::CaseInsensitive) == 0) {
        return false;
      }
    }
    QString shownName = QString::fromStdString(name);
    if (withSerialPort) {
      std::set<int> taken;
      for (const QJsonValue& value : At(state, kSerialPath).toArray()) {
        const QString data = value.toObject().value(u"data").toString();
        if (data.startsWith(u"COM", Qt::CaseInsensitive))
          taken.insert(data.mid(3).toInt());
      }
      int number = 3;
      while (taken.contains(number))
        ++number;
      port = QStringLiteral("COM%1").arg(number);
      shownName += QStringLiteral(" (%1)").arg(port);
      Edit(state, kSerialPath, [&](QJsonValue& values) {
        QJsonArray list = values.toArray();
        list.append(QJsonObject{
            {"name", QStringLiteral("\\Device\\USBSER%1").arg(number, 3, 10, QLatin1Char('0'))},
            {"type", "sz"},
            {"data", port}});
        values = list;
      });
    }
    Edit(state, kPnpPath, [&](QJsonValue& rows) {
      QJsonArray list = rows.toArray();
      list.append(QJsonObject{
          {"DeviceID", id}, {"PNPDeviceID", id}, {"Name", shownName}, {"Caption", shownName}});
      rows = list;
    });
    CountChange(state);
    return true;
  });
  return written ? std::optional(port.toStdString()) : std::nullopt;
}

bool UnplugDevice(const SimulatedPc& pc, const std::string& deviceId) {
  const QString id = QString::fromStdString(deviceId);
  return pc.Update([&](QJsonObject& state) {
    QJsonArray rows = At(state, kPnpPath).toArray();
    QStringList ports;
    for (qsizetype i = rows.size() - 1; i >= 0; --i) {
      const QJsonObject row = rows[i].toObject();
      if (row.value(u"DeviceID").toString().compare(id, Qt::CaseInsensitive) == 0) {
        if (const std::string port = DeviceOf(row).port; !port.empty()) {
          ports << QString::fromStdString(port);
        }
        rows.removeAt(i);
      }
    }
    if (rows.size() == At(state, kPnpPath).toArray().size())
      return false;
    Edit(state, kPnpPath, [&](QJsonValue& value) { value = rows; });
    if (!ports.isEmpty()) {
      Edit(state, kSerialPath, [&](QJsonValue& values) {
        QJsonArray list = values.toArray();
        for (qsizetype i = list.size() - 1; i >= 0; --i) {
          if (ports.contains(list[i].toObject().value(u"data").toString(), Qt::CaseInsensitive)) {
            list.removeAt(i);
          }
        }
        values = list;
      });
    }
    CountChange(state);
    return true;
  });
}

struct SimDeviceEvents::Watch {
  std::shared_ptr<SimulatedPc> pc;
  QPointer<QFileSystemWatcher> watcher;
  qint64 seen = 0;
  std::vector<Handler> handlers;

  qint64 Count() const { return pc->State().value(u"deviceChanges").toInteger(); }

  void Open() {
    seen = Count();
    // The state file is replaced on every change, so its folder is watched.
    // Owned by the application, so it goes before the event dispatcher does.
    watcher = new QFileSystemWatcher(QCoreApplication::instance());
    watcher->addPath(QFileInfo(QString::fromStdString(pc->Path())).absolutePath());
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, watcher, [this] { Check(); });
  }

  void Check() {
    const qint64 now = Count();
    if (now == seen)
      return;
    seen = now;
    const std::vector<Handler> current = handlers;
    for (const Handler& handler : current)
      handler();
  }
};

SimDeviceEvents::SimDeviceEvents(std::shared_ptr<SimulatedPc> pc)
    : watch_(std::make_shared<Watch>()) {
  watch_->pc = std::move(pc);
}

SimDeviceEvents::~SimDeviceEvents() {
  delete watch_->watcher.data();
}

void SimDeviceEvents::Subscribe(Handler handler) {
  if (!watch_->watcher && QCoreApplication::instance())
    watch_->Open();
  watch_->handlers.push_back(std::move(handler));
}

void RegisterSimDriverTools(SimShell& shell, std::shared_ptr<SimulatedPc> pc) {
  shell.RegisterBuiltin("pnputil.exe", [pc](BuiltinContext& context) {
    return Pnputil(context, [&](const std::string& file) {
      Record(*pc, {{"program", "pnputil.exe"}, {"inf", QString::fromStdString(file)}});
    });
  });
  for (const char* program : {"dpinst.exe", "dpinst64.exe"}) {
    shell.RegisterBuiltin(program, [pc, program](BuiltinContext& context) -> std::uint32_t {
      Record(*pc, {{"program", program}, {"folder", QString::fromStdString(context.WorkingDir())}});
      return 0;
    });
  }
}

}  // namespace platform
