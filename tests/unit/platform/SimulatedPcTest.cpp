#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

#include "TestRequests.h"
#include "platform/Platform.h"
#include "platform/sim/SimulatedPc.h"

namespace platform {
namespace {

class SimulatedPcTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir_.filePath("pc.json").toStdString(); }
  void Write(const char* json) const {
    SimulatedPc(Path()).Change(
        [&](QJsonObject& state) { state = QJsonDocument::fromJson(json).object(); });
  }
  Platform Sim() const { return CreatePlatform(Options("sim", Path())); }

  QTemporaryDir dir_;
};

void Increment(const SimulatedPc& pc, int times) {
  for (int i = 0; i < times; ++i) {
    pc.Change([](QJsonObject& state) {
      state.insert("counter", state.value(u"counter").toInteger() + 1);
    });
  }
}

TEST_F(SimulatedPcTest, ConcurrentChangesFromThreadsAndAProcessLoseNoUpdate) {
  const SimulatedPc pc(Path());
  std::atomic<bool> done = false;
  std::atomic<int> badReads = 0;
  std::thread reader([&] {
    while (!done) {
      QFile file(QString::fromStdString(Path()));
      if (file.open(QIODevice::ReadOnly) && !QJsonDocument::fromJson(file.readAll()).isObject()) {
        ++badReads;
      }
    }
  });
  const pid_t child = ::fork();
  if (child == 0) {
    Increment(SimulatedPc(Path()), 100);
    ::_exit(0);
  }
  std::thread a([&] { Increment(pc, 100); });
  std::thread b([&] { Increment(pc, 100); });
  a.join();
  b.join();
  int status = 0;
  ::waitpid(child, &status, 0);
  done = true;
  reader.join();
  EXPECT_EQ(pc.State().value(u"counter").toInteger(), 300);
  EXPECT_EQ(badReads, 0);
}

TEST_F(SimulatedPcTest, WmiAnswersFromTheStateAndFailsOnRequest) {
  Write(R"({"wmi": {"Win32_OperatingSystem": [{"Caption": "Microsoft Windows 10 Pro",
                    "SerialNumber": "00330-80000-00000-AA123", "OSType": 18}],
                    "Win32_PnPEntity": [{"DeviceID": "USB\\VID_1782&PID_4D00\\5&1"},
                                        {"DeviceID": "ROOT\\X"}]}})");
  Platform sim = Sim();
  const auto os = sim.wmi->Query("SELECT Caption,OSType FROM CIM_OperatingSystem");
  ASSERT_EQ(os.size(), 1u);
  EXPECT_EQ(os[0]["Caption"], "Microsoft Windows 10 Pro");
  EXPECT_EQ(os[0]["OSType"], "18");
  EXPECT_FALSE(os[0].Has("SerialNumber"));
  EXPECT_EQ(sim.wmi->Query("SELECT deviceid FROM win32_pnpentity").size(), 2u);
  EXPECT_TRUE(sim.wmi->Query("SELECT Name FROM Win32_DiskDrive").empty());

  SimulatedPc(Path()).Change(
      [](QJsonObject& state) { state.insert("wmiFailures", QJsonArray{"Win32_OperatingSystem"}); });
  EXPECT_THROW(sim.wmi->Query("SELECT SerialNumber FROM Win32_OperatingSystem"), WmiError);
  EXPECT_THROW(sim.wmi->Query("SELECT Caption FROM CIM_OperatingSystem"), WmiError);
}

TEST_F(SimulatedPcTest, ShellLogsStartsListsAndKillsSimulatedProcessTrees) {
  Write(R"({"processes": [{"pid": 500, "ppid": 1, "imageName": "FactoryTool.exe"},
                          {"pid": 501, "ppid": 500, "imageName": "helper.exe"},
                          {"pid": 600, "ppid": 1, "imageName": "explorer.exe"}]})");
  Platform sim = Sim();
  auto child = sim.shell->Start(Hidden(Request("/bin/sh", "-c \"exit 0\"")));
  ASSERT_TRUE(child);
  ASSERT_TRUE(child->WaitFor(std::chrono::seconds(10)));
  EXPECT_EQ(sim.shell->Start(Request("nothing.exe", "", "/nowhere")), nullptr);

  const QJsonArray log = SimulatedPc(Path()).State().value(u"shellLog").toArray();
  ASSERT_EQ(log.size(), 2);
  EXPECT_EQ(log[0].toObject().value(u"parameters").toString(), "-c \"exit 0\"");
  EXPECT_TRUE(log[0].toObject().value(u"hide").toBool());
  EXPECT_TRUE(log[0].toObject().value(u"started").toBool());
  EXPECT_EQ(log[1].toObject().value(u"workingDir").toString(), "/nowhere");
  EXPECT_FALSE(log[1].toObject().value(u"started").toBool());

  bool listed = false;
  for (const WmiRow& row : sim.wmi->Query("SELECT Caption FROM Win32_Process")) {
    listed = listed || row["Caption"] == "FactoryTool.exe";
  }
  EXPECT_TRUE(listed);

  auto taskkill = sim.shell->Start(Request("taskkill.exe", "/T /F /IM factorytool"));
  ASSERT_TRUE(taskkill);
  ASSERT_TRUE(taskkill->WaitFor(std::chrono::seconds(10)));
  EXPECT_EQ(taskkill->ExitCode(), 0u);
  const QJsonArray left = SimulatedPc(Path()).State().value(u"processes").toArray();
  ASSERT_EQ(left.size(), 1);
  EXPECT_EQ(left[0].toObject().value(u"imageName").toString(), "explorer.exe");
  EXPECT_EQ(sim.shell->KillByImageName("FactoryTool.exe", true), 0);
}

TEST_F(SimulatedPcTest, RegistryEnvironmentTaskbarAndFontsLiveInTheState) {
  Write(R"({"environment": {"TEMP": "/sim/temp"}, "specialFolders": {"28": "/sim/local/"},
            "registry": {"HKLM": {"HARDWARE\\DEVICEMAP\\SERIALCOMM":
                         [{"name": "\\Device\\Serial0", "type": "sz", "data": "COM1"}]}}})");
  Platform sim = Sim();
  EXPECT_EQ(sim.environment->Variable("temp"), "/sim/temp");
  EXPECT_EQ(sim.environment->Variable("ProgramFiles"), std::nullopt);
  EXPECT_EQ(sim.environment->SpecialFolder(kCsidlLocalAppData), "/sim/local");
  EXPECT_EQ(sim.environment->SpecialFolder(kCsidlWindows), std::nullopt);

  EXPECT_EQ(sim.registry->ReadValue(Hive::LocalMachine, "hardware\\devicemap\\serialcomm",
                                    "\\device\\serial0"),
            RegistryValue(std::string("COM1")));
  EXPECT_FALSE(sim.registry->WriteValue(Hive::LocalMachine, "HARDWARE\\DEVICEMAP\\SERIALCOMM", "x",
                                        std::string("COM9")));
  ASSERT_TRUE(sim.registry->CreateKey(Hive::CurrentUser, "SOFTWARE\\AssistenteSolvanta"));
  ASSERT_TRUE(sim.registry->WriteValue(Hive::CurrentUser, "SOFTWARE\\AssistenteSolvanta",
                                       "ishomologacao", 1u));
  EXPECT_EQ(
      CreatePlatform(Options("sim", Path()))
          .registry->ReadValue(Hive::CurrentUser, "software\\assistentesolvanta", "ISHOMOLOGACAO"),
      RegistryValue(1u));

  sim.taskbar->SetProgress(TaskbarState::Normal, 40, 100);
  sim.taskbar->Flash(5, std::chrono::milliseconds(500));
  const std::string font = dir_.filePath("Gilmer.ttf").toStdString();
  QFile(QString::fromStdString(font)).open(QIODevice::WriteOnly);
  EXPECT_TRUE(sim.fonts->AddFontResource(font));
  EXPECT_FALSE(sim.fonts->AddFontResource(dir_.filePath("missing.ttf").toStdString()));

  const QJsonObject state = SimulatedPc(Path()).State();
  const QJsonObject taskbar = state.value(u"taskbar").toObject();
  EXPECT_EQ(taskbar.value(u"state").toInt(), 2);
  EXPECT_EQ(taskbar.value(u"value").toInt(), 40);
  EXPECT_EQ(taskbar.value(u"maximum").toInt(), 100);
  EXPECT_EQ(taskbar.value(u"flashes").toInt(), 1);
  EXPECT_EQ(state.value(u"fonts").toArray(), QJsonArray{QString::fromStdString(font)});
  EXPECT_TRUE(sim.fonts->RemoveFontResource(font));
  EXPECT_FALSE(sim.fonts->RemoveFontResource(font));
}

TEST_F(SimulatedPcTest, UnreadableStateIsNeverOverwritten) {
  {
    QFile file(QString::fromStdString(Path()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ half");
  }
  const SimulatedPc pc(Path());
  EXPECT_TRUE(pc.State().isEmpty());
  EXPECT_FALSE(pc.Change([](QJsonObject& state) { state.insert("x", 1); }));
  QFile file(QString::fromStdString(Path()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "{ half");
}

}  // namespace
}  // namespace platform
