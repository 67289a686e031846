#include "platform/linux/UnityTaskbar.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>
#include <algorithm>

namespace platform {

namespace {

void SendUpdate(const QVariantMap& properties) {
  if (!QCoreApplication::instance()) {
    return;  // a bus connection needs the application object
  }
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    return;
  }
  QDBusMessage signal = QDBusMessage::createSignal(
      QStringLiteral("/com/solvanta/AssistenteSolvanta"),
      QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"));
  signal << QStringLiteral("application://AssistenteSolvanta.desktop") << properties;
  bus.send(signal);
}

}  // namespace

void UnityTaskbar::SetProgress(TaskbarState state, std::int64_t value, std::int64_t maximum) {
  double progress = 0;
  if (maximum > 0) {
    progress = std::clamp(static_cast<double>(value) / static_cast<double>(maximum), 0.0, 1.0);
  }
  SendUpdate({{QStringLiteral("progress"), progress},
              {QStringLiteral("progress-visible"), state != TaskbarState::None}});
}

void UnityTaskbar::Flash(int count, std::chrono::milliseconds /*rate*/) {
  SendUpdate({{QStringLiteral("urgent"), count > 0}});
}

}  // namespace platform
