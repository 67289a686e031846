#include <gtest/gtest.h>

#include <regex>

#include "platform/linux/SystemFiles.h"

namespace platform::linux_files {
namespace {

using namespace std::string_literals;

TEST(OsPrettyName, TakesPrettyNameQuotedOrNot) {
  const std::string debian =
      "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n"
      "VERSION_ID=\"12\"\nID=debian\n";
  EXPECT_EQ(OsPrettyName(debian), "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(OsPrettyName("NAME=Arch\nPRETTY_NAME=Arch\n"), "Arch");
  EXPECT_EQ(OsPrettyName("PRETTY_NAME='Single quoted'"), "Single quoted");
  EXPECT_EQ(OsPrettyName(R"(PRETTY_NAME="Say \"hi\"")"), R"(Say "hi")");
  EXPECT_EQ(OsPrettyName("NAME=\"No pretty name\"\n# PRETTY_NAME=\"commented\"\n"), "");
}

TEST(CpuModelName, TakesTheFirstModelNameLine) {
  const std::string cpuinfo =
      "processor\t: 0\nvendor_id\t: GenuineIntel\nmodel\t\t: 85\n"
      "model name\t: Intel(R) Xeon(R) CPU @ 2.20GHz\nstepping\t: 7\n\n"
      "processor\t: 1\nmodel name\t: Other\n";
  EXPECT_EQ(CpuModelName(cpuinfo), "Intel(R) Xeon(R) CPU @ 2.20GHz");
  EXPECT_EQ(CpuModelName("processor : 0\nmodel : 85\n"), "");
}

TEST(SerialFromMachineId, IsFourGroupsOfFiveStablePerIdAndEmptyWithoutId) {
  const std::string a = SerialFromMachineId("0123456789abcdef0123456789abcdef\n");
  EXPECT_TRUE(std::regex_match(a, std::regex("[0-9A-Z]{5}-[0-9A-Z]{5}-[0-9A-Z]{5}-[0-9A-Z]{5}")))
      << a;
  EXPECT_EQ(a, SerialFromMachineId("0123456789abcdef0123456789abcdef"));
  EXPECT_NE(a, SerialFromMachineId("fedcba9876543210fedcba9876543210"));
  EXPECT_EQ(a.find("01234"), std::string::npos) << "the machine id itself must not show";
  EXPECT_EQ(SerialFromMachineId(""), "");
  EXPECT_EQ(SerialFromMachineId(" \n"), "");
}

TEST(ParseStat, FindsParentPidEvenWhenCommHoldsParenthesesAndBlanks) {
  const auto fields = ParseStat("4242 (my (odd) name) S 17 4242 4242 0 -1 4194560");
  ASSERT_TRUE(fields);
  EXPECT_EQ(fields->state, 'S');
  EXPECT_EQ(fields->parentPid, 17);
  EXPECT_EQ(ParseStat("12 (zombie) Z 1 0")->state, 'Z');
  EXPECT_FALSE(ParseStat("garbage"));
  EXPECT_FALSE(ParseStat("1 (x) S"));
  EXPECT_FALSE(ParseStat("1 (x) S notanumber"));
}

TEST(ImageName, TakesArgv0OrTheScriptNameOrComm) {
  const struct {
    std::string cmdline;
    std::string comm;
    std::string expected;
  } cases[] = {
      {"/opt/tools/CmdDloader.exe\0-pac\0x.pac\0"s, "CmdDloader.exe\n", "CmdDloader.exe"},
      // comm is cut to 15 characters by the kernel.
      {"/opt/AndroidConsoleTool.exe\0"s, "AndroidConsoleT\n", "AndroidConsoleTool.exe"},
      // a script: argv[0] is the interpreter, argv[1] the script.
      {"/bin/sh\0/tmp/work/tool\0arg\0"s, "tool\n", "tool"},
      // a shell running a command: argv[1] is an option, the shell stays.
      {"/bin/sh\0-c\0sleep 1\0"s, "sh\n", "sh"},
      {"C:\\tools\\FactoryTool.exe\0"s, "FactoryTool.exe", "FactoryTool.exe"},
      {""s, "kworker/0:1\n", "kworker/0:1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ImageName(c.cmdline, c.comm), c.expected) << c.comm;
  }
}

}  // namespace
}  // namespace platform::linux_files
