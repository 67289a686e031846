#include "platform/linux/QtFonts.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>

namespace platform {

namespace {

bool HaveGuiApplication() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

}  // namespace

bool QtFonts::AddFontResource(const std::string& path) {
  if (!HaveGuiApplication()) {
    return false;
  }
  std::lock_guard lock(mutex_);
  if (ids_.contains(path)) {
    return true;
  }
  const int id = QFontDatabase::addApplicationFont(QString::fromStdString(path));
  if (id < 0) {
    return false;
  }
  ids_[path] = id;
  return true;
}

bool QtFonts::RemoveFontResource(const std::string& path) {
  if (!HaveGuiApplication()) {
    return false;
  }
  std::lock_guard lock(mutex_);
  const auto it = ids_.find(path);
  if (it == ids_.end()) {
    return false;
  }
  const bool removed = QFontDatabase::removeApplicationFont(it->second);
  ids_.erase(it);
  return removed;
}

void QtFonts::NotifyFontChange() {
  if (QCoreApplication* application = QCoreApplication::instance()) {
    QCoreApplication::postEvent(application, new QEvent(QEvent::ApplicationFontChange));
  }
}

}  // namespace platform
