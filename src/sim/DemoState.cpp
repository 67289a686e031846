#include "sim/DemoState.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include "platform/sim/SimulatedPc.h"
#include "sim/DemoWorld.h"

namespace sim {

namespace {

QString path(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

QString shellQuoted(QString text) {
  return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QLatin1String("'\\''")) +
         QLatin1Char('\'');
}

QJsonObject initialState(const DemoWorld& world) {
  const QJsonObject environment{
      {QStringLiteral("temp"), path(world.TempDir())},
      {QStringLiteral("tmp"), path(world.TempDir())},
      {QStringLiteral("ProgramFiles"), path(world.ProgramFiles())},
      {QStringLiteral("USERNAME"), QStringLiteral("cliente")},
      {QStringLiteral("COMPUTERNAME"), QStringLiteral("PC-DEMO")},
  };
  const QJsonObject folders{{QStringLiteral("28"), path(world.LocalAppData())},
                            {QStringLiteral("36"), path(world.WindowsDir())}};
  const QJsonObject os{{QStringLiteral("Caption"), QStringLiteral("Microsoft Windows 10 Pro")},
                       {QStringLiteral("OSType"), QStringLiteral("18")},
                       {QStringLiteral("Version"), QStringLiteral("10.0.19045")},
                       {QStringLiteral("SerialNumber"), QStringLiteral("00330-80000-00000-AA385")}};
  const QJsonObject cpu{
      {QStringLiteral("AddressWidth"), QStringLiteral("64")},
      {QStringLiteral("Name"), QStringLiteral("Intel(R) Core(TM) i5-10210U CPU @ 1.60GHz")}};
  const QJsonObject wmi{{QStringLiteral("Win32_OperatingSystem"), QJsonArray{os}},
                        {QStringLiteral("Win32_Processor"), QJsonArray{cpu}}};
  return {{QStringLiteral("environment"), environment},
          {QStringLiteral("specialFolders"), folders},
          {QStringLiteral("wmi"), wmi}};
}

}  // namespace

std::expected<QString, QString> WriteDemoState(const DemoWorld& world, const QString& program) {
  const QString statePath = path(world.Root() / "simulated-pc.json");
  if (!QFile::exists(statePath)) {
    const platform::SimulatedPc pc(statePath.toStdString());
    const QJsonObject state = initialState(world);
    if (!pc.Change([&state](QJsonObject& s) { s = state; })) {
      return std::unexpected(QStringLiteral("não foi possível gravar %1").arg(statePath));
    }
  }

  QFile launcher(path(world.ProgramDir() / "AssistenteSolvanta"));
  if (!launcher.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    return std::unexpected(QStringLiteral("não foi possível gravar %1").arg(launcher.fileName()));
  }
  launcher.write(QStringLiteral("#!/bin/sh\nexec %1 --demo-root=%2 \"$@\"\n")
                     .arg(shellQuoted(program), shellQuoted(path(world.Root())))
                     .toUtf8());
  launcher.close();
  launcher.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
  return statePath;
}

}  // namespace sim
