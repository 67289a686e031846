#include <QJsonArray>
#include <set>

#include "platform/sim/SimBackends.h"

namespace platform {

SimShell::SimShell(std::shared_ptr<SimulatedPc> pc)
    : pc_(std::move(pc)), real_(LinuxShell::Scope::Descendants, this) {}

SimShell::~SimShell() {
  real_.StopBuiltins();
}

void SimShell::RegisterBuiltin(const std::string& name, Builtin builtin) {
  real_.RegisterBuiltin(name, std::move(builtin));
}

std::shared_ptr<ChildProcess> SimShell::Start(const StartRequest& request) {
  std::shared_ptr<ChildProcess> child = real_.Start(request);
  pc_->Change([&](QJsonObject& state) {
    QJsonArray log = state.value(u"shellLog").toArray();
    log.append(QJsonObject{{"file", QString::fromStdString(request.file)},
                           {"parameters", QString::fromStdString(request.parameters)},
                           {"workingDir", QString::fromStdString(request.workingDir)},
                           {"hide", request.hide},
                           {"started", child != nullptr}});
    state.insert("shellLog", log);
  });
  return child;
}

std::vector<ProcessEntry> SimShell::Processes() {
  std::vector<ProcessEntry> entries;
  for (const QJsonValue& value : pc_->State().value(u"processes").toArray()) {
    const QJsonObject process = value.toObject();
    entries.push_back({process.value(u"pid").toInteger(), process.value(u"ppid").toInteger(),
                       process.value(u"imageName").toString().toStdString()});
  }
  for (ProcessEntry& entry : real_.Processes()) {
    entries.push_back(std::move(entry));
  }
  return entries;
}

int SimShell::KillByImageName(const std::string& imageName, bool tree) {
  int killed = 0;
  pc_->Update([&](QJsonObject& state) {
    QJsonArray processes = state.value(u"processes").toArray();
    std::set<qint64> targets;
    for (const QJsonValue& value : processes) {
      const QJsonObject process = value.toObject();
      if (SameImageName(process.value(u"imageName").toString().toStdString(), imageName)) {
        targets.insert(process.value(u"pid").toInteger());
      }
    }
    for (bool grew = tree; grew;) {
      grew = false;
      for (const QJsonValue& value : processes) {
        const QJsonObject process = value.toObject();
        if (targets.contains(process.value(u"ppid").toInteger()) &&
            targets.insert(process.value(u"pid").toInteger()).second) {
          grew = true;
        }
      }
    }
    for (qsizetype i = processes.size() - 1; i >= 0; --i) {
      if (targets.contains(processes[i].toObject().value(u"pid").toInteger())) {
        processes.removeAt(i);
        ++killed;
      }
    }
    state.insert("processes", processes);
    return killed > 0;
  });
  return killed + real_.KillByImageName(imageName, tree);
}

}  // namespace platform
