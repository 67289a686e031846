#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/linux/LinuxEnvironment.h"

namespace platform {
namespace {

// Each test runs in its own process, so changing the environment is safe.
void UnsetTemporaryFolders() {
  for (const char* name : {"temp", "TEMP", "tmp", "TMP", "Temp", "TMPDIR"}) {
    ::unsetenv(name);
  }
}

TEST(LinuxEnvironment, FindsAVariableWrittenInAnotherCase) {
  ::setenv("Solvanta_Mixed_Case", "value", 1);
  LinuxEnvironment environment;
  EXPECT_EQ(environment.Variable("SOLVANTA_MIXED_CASE"), "value");
  EXPECT_EQ(environment.Variable("solvanta_mixed_case_not"), std::nullopt);
}

TEST(LinuxEnvironment, TempFallsBackToTmpdirThenSlashTmpWithoutTrailingSlash) {
  UnsetTemporaryFolders();
  LinuxEnvironment environment;
  EXPECT_EQ(environment.Variable("temp"), "/tmp");
  ::setenv("TMPDIR", "/var/tmp/x/", 1);
  EXPECT_EQ(environment.Variable("temp"), "/var/tmp/x");
  EXPECT_EQ(environment.Variable("TMP"), "/var/tmp/x");
  ::setenv("TEMP", "/own/temp//", 1);
  EXPECT_EQ(environment.Variable("temp"), "/own/temp");
}

TEST(LinuxEnvironment, ProgramFilesFallsBackToTheBuildSetting) {
  ::unsetenv("ProgramFiles");
  ::unsetenv("PROGRAMFILES");
  LinuxEnvironment environment;
  EXPECT_EQ(environment.Variable("ProgramFiles"), std::string(SOLVANTA_PROGRAM_FILES));
}

TEST(LinuxEnvironment, SpecialFoldersFollowXdgAndHome) {
  LinuxEnvironment environment;
  ::setenv("XDG_DATA_HOME", "/data/home/", 1);
  EXPECT_EQ(environment.SpecialFolder(kCsidlLocalAppData), "/data/home");
  ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
  ::setenv("HOME", "/home/ana", 1);
  EXPECT_EQ(environment.SpecialFolder(kCsidlLocalAppData), "/home/ana/.local/share");
  EXPECT_EQ(environment.SpecialFolder(kCsidlWindows), "/usr");
  EXPECT_EQ(environment.SpecialFolder(5), std::nullopt);
}

}  // namespace
}  // namespace platform
