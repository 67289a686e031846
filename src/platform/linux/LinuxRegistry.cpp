#include "platform/linux/LinuxRegistry.h"

#include <QFile>
#include <QJsonArray>
#include <cstdlib>

#include "platform/linux/UdevDevices.h"

namespace platform {

namespace {

// HKEY_LOCAL_MACHINE: the serial-port map ("HARDWARE\DEVICEMAP\SERIALCOMM",
// one value per serial device), absent when there is no serial device.
QJsonObject LocalMachineHive() {
  QJsonArray ports;
  for (const auto& [name, port] : LinuxSerialComm()) {
    ports.append(QJsonObject{{"name", QString::fromStdString(name)},
                             {"type", "sz"},
                             {"data", QString::fromStdString(port)}});
  }
  QJsonObject hive;
  if (!ports.isEmpty()) {
    hive.insert("HARDWARE\\DEVICEMAP\\SERIALCOMM", ports);
  }
  return hive;
}

}  // namespace

LinuxRegistry::LinuxRegistry(std::string path) : file_(std::move(path)) {}

std::string LinuxRegistry::DefaultPath() {
  if (const char* path = std::getenv("SOLVANTA_REGISTRY_FILE"); path && *path) {
    return path;
  }
  std::string config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    config = std::string(home) + "/.config";
  } else {
    config = "/tmp";
  }
  return config + "/AssistenteSolvanta/registry.json";
}

QJsonObject LinuxRegistry::LoadHive(Hive hive) {
  if (hive == Hive::LocalMachine) {
    return LocalMachineHive();
  }
  return file_.Load().value_or(QJsonObject{}).value(u"HKCU").toObject();
}

bool LinuxRegistry::UpdateHive(Hive hive, const std::function<bool(QJsonObject&)>& change) {
  if (hive == Hive::LocalMachine) {
    return false;
  }
  if (!file_.Load()) {
    const QString path = QString::fromStdString(file_.Path());
    QFile::remove(path + ".corrupt");
    QFile::rename(path, path + ".corrupt");
  }
  return file_.Update([&](QJsonObject& root) {
    QJsonObject keys = root.value(u"HKCU").toObject();
    if (!change(keys)) {
      return false;
    }
    root.insert("HKCU", keys);
    return true;
  });
}

}  // namespace platform
