#include "sim/DemoState.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include "catalogue/DataModule.h"
#include "catalogue/DatabaseFiles.h"
#include "platform/sim/SimulatedPc.h"
#include "sim/DemoArchives.h"
#include "sim/DemoPictures.h"
#include "sim/DemoWorld.h"

namespace sim {

namespace {

QString path(const std::filesystem::path& p) {
  return QString::fromStdString(p.string());
}

QString shellQuoted(QString text) {
  return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QLatin1String("'\\''")) +
         QLatin1Char('\'');
}

constexpr QFile::Permissions kExecutable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                           QFile::ExeOther;

// The file the demo's server offers, under the lower-case name the program
// requests.
constexpr const char* kDemoUpdateFile = "assistentesolvanta.slvr";

// The stand-in for the update installer "systemupdate.exe": it records in
// "systemupdate.log" of the installation folder where it ran, the files it
// found under the temporary folder (the hidden work folder among them) and
// the update list; then it waits for the program to end and starts it again.
bool WriteFakeInstaller(const DemoWorld& world) {
  const QString program = path(world.ProgramDir());
  const QString log = shellQuoted(program + QStringLiteral("/systemupdate.log"));
  QFile script(program + QStringLiteral("/systemupdate"));
  if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return false;
  script.write(QStringLiteral("#!/bin/sh\n"
                              "{\n"
                              "  echo \"pasta: $(pwd)\"\n"
                              "  echo \"arquivos:\"\n"
                              "  find %1 -type f | sort\n"
                              "  echo \"lista:\"\n"
                              "  cat %2\n"
                              "} > %3.tmp && mv %3.tmp %3\n"
                              "i=0\n"
                              "while kill -0 \"$PPID\" 2>/dev/null && [ $i -lt 100 ]; do\n"
                              "  sleep 0.1; i=$((i + 1))\n"
                              "done\n"
                              "[ -x ./AssistenteSolvanta ] && exec ./AssistenteSolvanta\n")
                   .arg(shellQuoted(path(world.TempDir())),
                        shellQuoted(path(world.DataDir() / "Softwareupdate.slv")), log)
                   .toUtf8());
  script.close();
  return script.setPermissions(kExecutable);
}

QJsonObject initialState(const DemoWorld& world) {
  const QJsonObject environment{
      {QStringLiteral("temp"), path(world.TempDir())},
      {QStringLiteral("tmp"), path(world.TempDir())},
      {QStringLiteral("ProgramFiles"), path(world.ProgramFiles())},
      {QStringLiteral("USERNAME"), QStringLiteral("cliente")},
      {QStringLiteral("COMPUTERNAME"), QStringLiteral("PC-DEMO")},
      {QStringLiteral("LANG"), QStringLiteral("pt_BR.UTF-8")},
  };
  const QJsonObject folders{{QStringLiteral("28"), path(world.LocalAppData())},
                            {QStringLiteral("36"), path(world.WindowsDir())}};
  const QJsonObject os{{QStringLiteral("Caption"), QStringLiteral("Microsoft Windows 10 Pro")},
                       {QStringLiteral("OSType"), QStringLiteral("18")},
                       {QStringLiteral("Version"), QStringLiteral("10.0.19045")},
                       {QStringLiteral("SerialNumber"), QStringLiteral("00330-80000-00000-AA385")},
                       {QStringLiteral("CSName"), QStringLiteral("PC-DEMO")},
                       {QStringLiteral("RegisteredUser"), QStringLiteral("Cliente Solvanta")},
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
  // A virtual adapter without IP first, so the log must pick the second.
  const QJsonArray adapters{
      QJsonObject{{QStringLiteral("Index"), QStringLiteral("1")},
                  {QStringLiteral("Description"), QStringLiteral("Adaptador virtual")},
                  {QStringLiteral("MACAddress"), QStringLiteral("0A:00:27:00:00:0C")},
                  {QStringLiteral("IPEnabled"), false}},
      QJsonObject{{QStringLiteral("Index"), QStringLiteral("7")},
                  {QStringLiteral("Description"), QStringLiteral("Intel(R) Ethernet Connection")},
                  {QStringLiteral("MACAddress"), QStringLiteral("00:1A:2B:3C:4D:5E")},
                  {QStringLiteral("IPEnabled"), true}}};
  const QJsonObject wmi{{QStringLiteral("Win32_OperatingSystem"), QJsonArray{os}},
                        {QStringLiteral("Win32_NetworkAdapterConfiguration"), adapters},
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

QString ReceivedLogReport(const MakerServer& server) {
  QString report;
  for (const SoapCall& call : server.SoapCalls()) {
    if (call.operation != "RecebeSystemLog")
      continue;
    const auto value = [&call](const char* name) {
      return QString::fromStdString(call.Parameter(name).value_or(""));
    };
    report += QStringLiteral(
                  "Servidor do fabricante: registro de uso recebido (protocolo %1, PC %2, "
                  "situação %3, última ação %4)%5\n")
                  .arg(value("protocol"), value("pcname"), value("idsystemstatus"),
                       value("idlastuserinteraction"),
                       call.faultString.empty() ? QString()
                                                : QStringLiteral(": recusado, ") +
                                                      QString::fromStdString(call.faultString));
  }
  return report;
}

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
  // The maker's tool and firmware archives; the tool archives hold the fake
  // vendor tool installed beside the program.
  const QString fakeTool =
      QFileInfo(program).absolutePath() + QLatin1Char('/') + QLatin1String(kFakeToolName);
  if (auto archives = WriteDemoArchives(world, QFile::exists(fakeTool)
                                                   ? std::filesystem::path(fakeTool.toStdString())
                                                   : std::filesystem::path());
      !archives) {
    return std::unexpected(archives.error());
  }
  if (auto stamped = StampDemoChecksums(
          world, path(world.DataDir()) + QLatin1Char('/') + QLatin1String(Tdm::kCatalogueFile));
      !stamped) {
    return std::unexpected(stamped.error());
  }
  // The device pictures and TV models go to the world's server, its shared part.
  if (const auto p = AddDemoPictures(const_cast<DemoWorld&>(world)); !p)
    return std::unexpected(QString::fromStdString(p.error()));

  QFile launcher(path(world.ProgramDir() / "AssistenteSolvanta"));
  if (!launcher.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    return std::unexpected(QStringLiteral("não foi possível gravar %1").arg(launcher.fileName()));
  }
  launcher.write(QStringLiteral("#!/bin/sh\nexec %1 --demo-root=%2 \"$@\"\n")
                     .arg(shellQuoted(program), shellQuoted(path(world.Root())))
                     .toUtf8());
  launcher.close();
  launcher.setPermissions(kExecutable);

  if (!WriteFakeInstaller(world)) {
    return std::unexpected(QStringLiteral("não foi possível gravar o instalador de atualizações"));
  }
  return statePath;
}

std::expected<void, QString> OfferDemoUpdate(DemoWorld& world) {
  const auto served =
      world.AddServedFile(std::string("/solvanta/updates/") + kDemoUpdateFile,
                          "Arquivo de atualização do Assistente Solvanta (demonstração)\n");
  if (!served)
    return std::unexpected(QString::fromStdString(served.error()));
  world.Server().SetReturnUpdate(
      "AssistenteSolvanta.slvr,1001,ProgramFiles,AssistenteSolvanta\r\n");
  return {};
}

}  // namespace sim
