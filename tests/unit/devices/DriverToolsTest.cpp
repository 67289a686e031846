#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "SimPc.h"
#include "drivers/WindowsVersion.h"

namespace {

std::uint32_t RunTool(platform::Shell& shell, const std::string& file,
                      const std::string& parameters, const std::string& workingDir) {
  platform::StartRequest request;
  request.file = file;
  request.parameters = parameters;
  request.workingDir = workingDir;
  const auto child = shell.Start(request);
  if (!child || !child->WaitFor(std::chrono::seconds(10)))
    return 999;
  return child->ExitCode();
}

void Touch(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

struct Case {
  std::string parameters;
  std::uint32_t exitCode;
  bool recorded;
};

TEST(DriverTools, PnputilAddsExistingDriverFilesAndRefusesTheRest) {
  SimPc sim;
  const std::string inf = (sim.Dir() + "/Pacote USB/usb serial.inf").toStdString();
  ASSERT_TRUE(QDir().mkpath(sim.Dir() + "/Pacote USB"));
  Touch(QString::fromStdString(inf));
  const Case cases[] = {
      {"-a \"" + inf + "\"", 0, true},
      {"/add-driver \"" + inf + "\" /install", 0, true},
      {"-A \"Pacote USB/usb serial.inf\"", 0, true},  // from the working folder
      {"-a \"" + inf + ".old\"", 2, false},
      {"-a " + inf, 87, false},  // unquoted, the blank splits the path
      {"-a", 87, false},
      {"", 87, false},
      {"-d oem1.inf", 87, false},
  };
  const platform::Platform linuxPc = LinuxPorts();
  for (const char* backend : {"linux", "sim"}) {
    platform::Shell& shell = backend == std::string("sim") ? *sim.Ports().shell : *linuxPc.shell;
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(backend) + ": " + c.parameters);
      sim.Pc().Change([](QJsonObject& state) { state.remove("driverInstalls"); });
      EXPECT_EQ(RunTool(shell, "C:\\Windows\\SysNative\\pnputil.exe", c.parameters,
                        sim.Dir().toStdString()),
                c.exitCode);
      const QJsonArray installs = sim.Pc().State().value(u"driverInstalls").toArray();
      if (backend == std::string("sim") && c.recorded) {
        ASSERT_EQ(installs.size(), 1);
        EXPECT_EQ(installs[0].toObject().value(u"inf").toString().toStdString(),
                  c.parameters.starts_with("-A")
                      ? sim.Dir().toStdString() + "/" + "Pacote USB/usb serial.inf"
                      : inf);
      } else {
        EXPECT_TRUE(installs.isEmpty());
      }
    }
  }
}

TEST(DriverTools, DriverInstallersSucceedAndTheSimulatedOneRecordsItsFolder) {
  SimPc sim;
  const platform::Platform linuxPc = LinuxPorts();
  for (const char* program : {"dpinst.exe", "dpinst64.exe"}) {
    SCOPED_TRACE(program);
    EXPECT_EQ(RunTool(*linuxPc.shell, program, "", sim.Dir().toStdString()), 0u);
    EXPECT_EQ(RunTool(*sim.Ports().shell, program, "", sim.Dir().toStdString()), 0u);
    const QJsonArray installs = sim.Pc().State().value(u"driverInstalls").toArray();
    ASSERT_FALSE(installs.isEmpty());
    EXPECT_EQ(installs.last().toObject().value(u"program").toString(), QLatin1String(program));
    EXPECT_EQ(installs.last().toObject().value(u"folder").toString(), sim.Dir());
  }
}

TEST(WindowsVersion, OnlyWindows7CaptionsNameWindows7) {
  const struct {
    const char* caption;
    bool windows7;
  } cases[] = {
      {"Microsoft Windows 7 Professional", true},
      {"Microsoft Windows 7 Ultimate ", true},
      {"Windows 7", true},
      {"Microsoft Windows 10 Pro", false},
      {"Microsoft Windows 8.1 Pro", false},
      {"Microsoft Windows Server 2008 R2 Standard", false},
      {"Debian GNU/Linux 12 (bookworm)", false},
      {"Microsoft Windows 70", false},
      {"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(drivers::IsWindows7(c.caption), c.windows7) << c.caption;
  }
}

}  // namespace
