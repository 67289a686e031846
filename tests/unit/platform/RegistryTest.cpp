#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/linux/LinuxRegistry.h"

namespace platform {
namespace {

const std::string kKey = "SOFTWARE\\AssistenteSolvanta";

class LinuxRegistryTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir_.filePath("cfg/registry.json").toStdString(); }
  QTemporaryDir dir_;
};

TEST_F(LinuxRegistryTest, ValuesSurviveANewInstanceWithTheirTypes) {
  {
    LinuxRegistry registry(Path());
    ASSERT_TRUE(registry.CreateKey(Hive::CurrentUser, kKey + "\\ClientData"));
    ASSERT_TRUE(registry.WriteValue(Hive::CurrentUser, kKey, "ishomologacao", 1u));
    ASSERT_TRUE(registry.WriteValue(Hive::CurrentUser, kKey + "\\ClientData", "Nome",
                                    std::string("João da Silva")));
  }
  LinuxRegistry again(Path());
  EXPECT_TRUE(again.KeyExists(Hive::CurrentUser, kKey));  // parent created with the child
  EXPECT_EQ(again.ReadValue(Hive::CurrentUser, kKey, "ishomologacao"), RegistryValue(1u));
  EXPECT_EQ(again.ReadValue(Hive::CurrentUser, kKey + "\\ClientData", "Nome"),
            RegistryValue(std::string("João da Silva")));
}

TEST_F(LinuxRegistryTest, KeysAndNamesMatchWithoutRegardToCaseAndOrderIsKept) {
  LinuxRegistry registry(Path());
  ASSERT_TRUE(registry.CreateKey(Hive::CurrentUser, kKey + "\\UpdateVersions"));
  for (const char* name : {"zeta.exe", "Alpha.dll", "mid.slv"}) {
    ASSERT_TRUE(registry.WriteValue(
        Hive::CurrentUser, "software\\assistentesolvanta\\updateversions", name, std::string("1")));
  }
  ASSERT_TRUE(registry.WriteValue(Hive::CurrentUser,
                                  "\\SOFTWARE\\ASSISTENTESOLVANTA\\UpdateVersions\\", "ALPHA.DLL",
                                  std::string("2")));
  EXPECT_EQ(registry.ValueNames(Hive::CurrentUser, kKey + "\\UpdateVersions"),
            (std::vector<std::string>{"zeta.exe", "Alpha.dll", "mid.slv"}));
  EXPECT_EQ(registry.ReadValue(Hive::CurrentUser, kKey + "\\updateversions", "alpha.DLL"),
            RegistryValue(std::string("2")));
  EXPECT_TRUE(registry.DeleteValue(Hive::CurrentUser, kKey + "\\UpdateVersions", "MID.SLV"));
  EXPECT_FALSE(registry.DeleteValue(Hive::CurrentUser, kKey + "\\UpdateVersions", "mid.slv"));
  EXPECT_EQ(registry.ValueNames(Hive::CurrentUser, kKey + "\\UpdateVersions").size(), 2u);
}

TEST_F(LinuxRegistryTest, RefusesWritesToMissingKeysAndToTheMachineHive) {
  LinuxRegistry registry(Path());
  EXPECT_FALSE(registry.WriteValue(Hive::CurrentUser, "SOFTWARE\\Nowhere", "x", 1u));
  EXPECT_FALSE(registry.KeyExists(Hive::CurrentUser, "SOFTWARE\\Nowhere"));
  EXPECT_FALSE(registry.CreateKey(Hive::LocalMachine, "SOFTWARE\\AssistenteSolvanta"));
  EXPECT_FALSE(registry.WriteValue(Hive::LocalMachine, "", "x", 1u));
  EXPECT_FALSE(registry.WriteValue(Hive::LocalMachine, "HARDWARE\\DEVICEMAP\\SERIALCOMM", "x", 1u));
  EXPECT_EQ(registry.ReadValue(Hive::CurrentUser, kKey, "absent"), std::nullopt);
  EXPECT_TRUE(registry.ValueNames(Hive::CurrentUser, "SOFTWARE\\Nowhere").empty());
}

TEST_F(LinuxRegistryTest, WritesLeaveOnlyTheCompleteFileBehind) {
  LinuxRegistry registry(Path());
  ASSERT_TRUE(registry.CreateKey(Hive::CurrentUser, kKey));
  for (std::uint32_t i = 0; i < 20; ++i) {
    ASSERT_TRUE(registry.WriteValue(Hive::CurrentUser, kKey, "n" + std::to_string(i), i));
  }
  QFile file(QString::fromStdString(Path()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(QJsonDocument::fromJson(file.readAll()).isObject());
  const QStringList left = QDir(dir_.filePath("cfg")).entryList(QDir::Files);
  EXPECT_EQ(left, (QStringList{"registry.json", "registry.json.lock"}));
}

TEST_F(LinuxRegistryTest, CorruptFileIsMovedAsideAndTheRegistryWorksAgain) {
  QDir().mkpath(dir_.filePath("cfg"));
  QFile file(QString::fromStdString(Path()));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("{\"HKCU\": {\"SOFTWARE\": [");  // cut short
  file.close();
  LinuxRegistry registry(Path());
  EXPECT_FALSE(registry.KeyExists(Hive::CurrentUser, "SOFTWARE"));
  ASSERT_TRUE(registry.CreateKey(Hive::CurrentUser, kKey));
  ASSERT_TRUE(registry.WriteValue(Hive::CurrentUser, kKey, "V3", 1u));
  EXPECT_EQ(registry.ReadValue(Hive::CurrentUser, kKey, "v3"), RegistryValue(1u));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(Path()) + ".corrupt"));
}

TEST(LinuxRegistryPath, EnvironmentOverrideWinsOverTheXdgConfigFolder) {
  ::setenv("XDG_CONFIG_HOME", "/cfg/home", 1);
  ::unsetenv("SOLVANTA_REGISTRY_FILE");
  EXPECT_EQ(LinuxRegistry::DefaultPath(), "/cfg/home/AssistenteSolvanta/registry.json");
  ::setenv("SOLVANTA_REGISTRY_FILE", "/elsewhere/r.json", 1);
  EXPECT_EQ(LinuxRegistry::DefaultPath(), "/elsewhere/r.json");
}

}  // namespace
}  // namespace platform
