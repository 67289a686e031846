#include "sim/DemoState.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include "catalogue/DatabaseFiles.h"
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
                       {QStringLiteral("SerialNumber"), QStringLiteral("00330-80000-00000-AA385")},
                       {QStringLiteral("TotalVisibleMemorySize"), QStringLiteral("8388096")},
                       {QStringLiteral("FreePhysicalMemory"), QStringLiteral("3146240")}};
  const QJsonObject cpu{
      {QStringLiteral("AddressWidth"), QStringLiteral("64")},
      {QStringLiteral("Name"), QStringLiteral("Intel(R) Core(TM) i5-10210U CPU @ 1.60GHz")}};
  const QJsonObject driveC{{QStringLiteral("Caption"), QStringLiteral("C:")},
                           {QStringLiteral("DeviceID"), QStringLiteral("C:")},
                           {QStringLiteral("Name"), QStringLiteral("C:")},
                           {QStringLiteral("DriveType"), QStringLiteral("3")},
                           {QStringLiteral("FileSystem"), QStringLiteral("NTFS")},
                           {QStringLiteral("Size"), QStringLiteral("255369531392")},
                           {QStringLiteral("FreeSpace"), QStringLiteral("107911053312")}};
  const QJsonObject comPort{
      {QStringLiteral("DeviceID"), QStringLiteral("ACPI\\PNP0501\\1")},
      {QStringLiteral("Name"), QStringLiteral("Porta de comunicação (COM1)")}};
  const QJsonObject wmi{{QStringLiteral("Win32_OperatingSystem"), QJsonArray{os}},
                        {QStringLiteral("Win32_Processor"), QJsonArray{cpu}},
                        {QStringLiteral("Win32_LogicalDisk"), QJsonArray{driveC}},
                        {QStringLiteral("Win32_PnPEntity"), QJsonArray{comPort}}};
  // No device plugged in; the PC's own serial port is COM1.
  const QJsonObject serialMap{
      {QStringLiteral("HARDWARE\\DEVICEMAP\\SERIALCOMM"),
       QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("\\Device\\Serial0")},
                              {QStringLiteral("type"), QStringLiteral("sz")},
                              {QStringLiteral("data"), QStringLiteral("COM1")}}}}};
  return {{QStringLiteral("environment"), environment},
          {QStringLiteral("specialFolders"), folders},
          {QStringLiteral("wmi"), wmi},
          {QStringLiteral("registry"), QJsonObject{{QStringLiteral("HKLM"), serialMap}}}};
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

  // The catalogue anew on every start (its links name this run's server), the
  // log only once so its rows outlive a restart.
  const auto databases = catalogue::WriteDemoDatabases(path(world.DataDir()) + QLatin1Char('/'),
                                                       QString::fromStdString(world.ServerUrl()));
  if (!databases) {
    return std::unexpected(databases.error());
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
