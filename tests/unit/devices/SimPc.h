#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/sim/SimulatedPc.h"

// A simulated PC in a fresh folder and the ports over it.
class SimPc {
 public:
  SimPc() : pc_(dir_.filePath("pc.json").toStdString()) {
    platform::PlatformOptions options;
    options.name = "sim";
    options.simStatePath = pc_.Path();
    ports_ = platform::CreatePlatform(options);
  }

  const platform::SimulatedPc& Pc() const { return pc_; }
  platform::Platform& Ports() { return ports_; }
  QString Dir() const { return dir_.path(); }

  void SetPnpIds(const std::vector<std::string>& ids) const {
    QJsonArray rows;
    for (const std::string& id : ids)
      rows.append(QJsonObject{{"DeviceID", QString::fromStdString(id)}});
    pc_.Change([&](QJsonObject& state) {
      QJsonObject wmi = state.value(u"wmi").toObject();
      wmi.insert("Win32_PnPEntity", rows);
      state.insert("wmi", wmi);
    });
  }

  void SetSerialPorts(const std::vector<std::string>& ports) const {
    QJsonArray values;
    int index = 0;
    for (const std::string& port : ports) {
      values.append(QJsonObject{{"name", QStringLiteral("\\Device\\Serial%1").arg(index++)},
                                {"type", "sz"},
                                {"data", QString::fromStdString(port)}});
    }
    pc_.Change([&](QJsonObject& state) {
      QJsonObject registry = state.value(u"registry").toObject();
      registry.insert("HKLM", QJsonObject{{"HARDWARE\\DEVICEMAP\\SERIALCOMM", values}});
      state.insert("registry", registry);
    });
  }

 private:
  QTemporaryDir dir_;
  platform::SimulatedPc pc_;
  platform::Platform ports_;
};

// The ports of this Linux machine.
inline platform::Platform LinuxPorts() {
  platform::PlatformOptions options;
  options.name = "linux";
  return platform::CreatePlatform(options);
}

// Runs the event loop until `done` or five seconds have passed.
inline bool WaitUntil(const std::function<bool()>& done) {
  const QDeadlineTimer deadline(5000);
  while (!done()) {
    if (deadline.hasExpired())
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}
