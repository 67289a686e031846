#include <QJsonArray>

#include "platform/Wql.h"
#include "platform/sim/SimBackends.h"

namespace platform {

namespace {

// The state's member named `name` without regard to letter case.
QJsonValue FindIgnoringCase(const QJsonObject& object, const QString& name) {
  for (auto it = object.begin(); it != object.end(); ++it) {
    if (it.key().compare(name, Qt::CaseInsensitive) == 0) {
      return it.value();
    }
  }
  return {};
}

std::string Text(const QJsonValue& value) {
  if (value.isString()) {
    return value.toString().toStdString();
  }
  if (value.isBool()) {
    return value.toBool() ? "True" : "False";
  }
  return value.toVariant().toString().toStdString();
}

}  // namespace

SimWmi::SimWmi(std::shared_ptr<SimulatedPc> pc, std::shared_ptr<Shell> shell)
    : pc_(std::move(pc)), shell_(std::move(shell)) {}

std::vector<WmiRow> SimWmi::Query(const std::string& wql) {
  const WqlQuery query = ParseWql(wql);
  std::string className = query.className;
  if (EqualsIgnoreCase(className, "CIM_OperatingSystem")) {
    className = "Win32_OperatingSystem";
  }
  const QJsonObject state = pc_->State();
  for (const QJsonValue& failing : state.value(u"wmiFailures").toArray()) {
    const std::string name = failing.toString().toStdString();
    if (EqualsIgnoreCase(name, query.className) || EqualsIgnoreCase(name, className)) {
      throw WmiError("WMI: the query of " + query.className + " failed");
    }
  }
  std::vector<WmiRow> rows;
  const QJsonValue classRows =
      FindIgnoringCase(state.value(u"wmi").toObject(), QString::fromStdString(className));
  for (const QJsonValue& value : classRows.toArray()) {
    const QJsonObject properties = value.toObject();
    WmiRow row;
    for (auto it = properties.begin(); it != properties.end(); ++it) {
      row.Set(it.key().toStdString(), Text(it.value()));
    }
    rows.push_back(std::move(row));
  }
  if (EqualsIgnoreCase(className, "Win32_Process")) {
    for (const ProcessEntry& entry : shell_->Processes()) {
      WmiRow row;
      row.Set("Caption", entry.imageName);
      row.Set("Name", entry.imageName);
      row.Set("ProcessId", std::to_string(entry.pid));
      row.Set("ParentProcessId", std::to_string(entry.parentPid));
      rows.push_back(std::move(row));
    }
  }
  return ApplyWql(query, rows);
}

}  // namespace platform
