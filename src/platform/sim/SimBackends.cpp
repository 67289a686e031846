#include <QFileInfo>
#include <QJsonArray>

#include "platform/sim/SimBackends.h"

namespace platform {

namespace {

QString HiveName(Hive hive) {
  return hive == Hive::LocalMachine ? "HKLM" : "HKCU";
}

}  // namespace

SimRegistry::SimRegistry(std::shared_ptr<SimulatedPc> pc) : pc_(std::move(pc)) {}

QJsonObject SimRegistry::LoadHive(Hive hive) {
  return pc_->State().value(u"registry").toObject().value(HiveName(hive)).toObject();
}

bool SimRegistry::UpdateHive(Hive hive, const std::function<bool(QJsonObject&)>& change) {
  if (hive == Hive::LocalMachine) {
    return false;
  }
  return pc_->Update([&](QJsonObject& state) {
    QJsonObject registry = state.value(u"registry").toObject();
    QJsonObject keys = registry.value(HiveName(hive)).toObject();
    if (!change(keys)) {
      return false;
    }
    registry.insert(HiveName(hive), keys);
    state.insert("registry", registry);
    return true;
  });
}

SimEnvironment::SimEnvironment(std::shared_ptr<SimulatedPc> pc) : pc_(std::move(pc)) {}

std::optional<std::string> SimEnvironment::Variable(const std::string& name) {
  const QJsonObject variables = pc_->State().value(u"environment").toObject();
  const QString wanted = QString::fromStdString(name);
  for (auto it = variables.begin(); it != variables.end(); ++it) {
    if (it.key().compare(wanted, Qt::CaseInsensitive) == 0 && it.value().isString()) {
      return it.value().toString().toStdString();
    }
  }
  return std::nullopt;
}

std::optional<std::string> SimEnvironment::SpecialFolder(int csidl) {
  const QJsonValue folder =
      pc_->State().value(u"specialFolders").toObject().value(QString::number(csidl));
  if (!folder.isString()) {
    return std::nullopt;
  }
  std::string path = folder.toString().toStdString();
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) {
    path.pop_back();
  }
  return path;
}

SimFonts::SimFonts(std::shared_ptr<SimulatedPc> pc) : pc_(std::move(pc)) {}

bool SimFonts::AddFontResource(const std::string& path) {
  const QString file = QString::fromStdString(path);
  if (!QFileInfo(file).isFile()) {
    return false;
  }
  qt_.AddFontResource(path);
  return pc_->Change([&](QJsonObject& state) {
    QJsonArray fonts = state.value(u"fonts").toArray();
    if (!fonts.contains(file)) {
      fonts.append(file);
    }
    state.insert("fonts", fonts);
  });
}

bool SimFonts::RemoveFontResource(const std::string& path) {
  qt_.RemoveFontResource(path);
  return pc_->Update([&](QJsonObject& state) {
    QJsonArray fonts = state.value(u"fonts").toArray();
    const qsizetype before = fonts.size();
    for (qsizetype i = fonts.size() - 1; i >= 0; --i) {
      if (fonts[i].toString() == QString::fromStdString(path)) {
        fonts.removeAt(i);
      }
    }
    state.insert("fonts", fonts);
    return fonts.size() != before;
  });
}

void SimFonts::NotifyFontChange() {
  qt_.NotifyFontChange();
  pc_->Change([](QJsonObject& state) {
    state.insert("fontChanges", state.value(u"fontChanges").toInteger() + 1);
  });
}

SimTaskbar::SimTaskbar(std::shared_ptr<SimulatedPc> pc) : pc_(std::move(pc)) {}

void SimTaskbar::SetProgress(TaskbarState state, std::int64_t value, std::int64_t maximum) {
  pc_->Change([&](QJsonObject& root) {
    QJsonObject taskbar = root.value(u"taskbar").toObject();
    taskbar.insert("state", static_cast<int>(state));
    taskbar.insert("value", static_cast<qint64>(value));
    taskbar.insert("maximum", static_cast<qint64>(maximum));
    root.insert("taskbar", taskbar);
  });
}

void SimTaskbar::Flash(int /*count*/, std::chrono::milliseconds /*rate*/) {
  pc_->Change([](QJsonObject& root) {
    QJsonObject taskbar = root.value(u"taskbar").toObject();
    taskbar.insert("flashes", taskbar.value(u"flashes").toInteger() + 1);
    root.insert("taskbar", taskbar);
  });
}

}  // namespace platform
