#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <thread>

#include "TestRequests.h"
#include "platform/linux/LinuxShell.h"
#include "platform/linux/ProcFs.h"

namespace platform {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

class ShellTest : public ::testing::Test {
 protected:
  std::string Dir() const { return dir_.path().toStdString(); }

  // Writes an executable shell script.
  std::string Script(const std::string& name, const std::string& body) const {
    const std::string path = Dir() + "/" + name;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    ::chmod(path.c_str(), 0755);
    return path;
  }

  // Runs to the end and returns exit code and the whole captured output.
  static std::pair<std::uint32_t, std::string> Finish(ChildProcess& child) {
    std::string output;
    while (!child.WaitFor(milliseconds(20))) {
      output += child.ReadOutput();
    }
    output += child.ReadOutput();
    return {child.ExitCode(), output};
  }

  static bool Alive(std::int64_t pid) {
    for (const ProcessEntry& entry : ReadProcFs()) {
      if (entry.pid == pid) {
        return true;
      }
    }
    return false;
  }

  static bool EventuallyDead(std::int64_t pid) {
    for (int i = 0; i < 200 && Alive(pid); ++i) {
      std::this_thread::sleep_for(milliseconds(10));
    }
    return !Alive(pid);
  }

  QTemporaryDir dir_;
  LinuxShell shell_;
};

TEST_F(ShellTest, ExitCodeIs259WhileRunningThenTheStatusOr128PlusSignal) {
  auto exit3 = shell_.Start(Request("/bin/sh", "-c \"exit 3\""));
  ASSERT_TRUE(exit3);
  ASSERT_TRUE(exit3->WaitFor(seconds(10)));
  EXPECT_EQ(exit3->ExitCode(), 3u);

  auto sleeper = shell_.Start(Request("/bin/sleep", "30"));
  ASSERT_TRUE(sleeper);
  EXPECT_EQ(sleeper->ExitCode(), kStillActive);
  EXPECT_FALSE(sleeper->WaitFor(milliseconds(50)));
  ::kill(static_cast<pid_t>(sleeper->Pid()), SIGKILL);
  ASSERT_TRUE(sleeper->WaitFor(seconds(10)));
  EXPECT_EQ(sleeper->ExitCode(), 128u + SIGKILL);
}

TEST_F(ShellTest, ProgramsThatCannotStartGiveNull) {
  std::ofstream(Dir() + "/plain.txt") << "not a program";
  std::filesystem::create_directory(Dir() + "/folder.exe");
  for (const StartRequest& request : {
           Request(""),
           Request("/nonexistent/CmdDloader.exe"),
           Request("plain.txt", "", Dir()),
           Request("folder.exe", "", Dir()),
           Request("missing.bat", "", Dir()),
           Request("/bin/true", "", Dir() + "/no-such-folder"),
       }) {
    EXPECT_EQ(shell_.Start(request), nullptr) << request.file;
  }
}

TEST_F(ShellTest, RelativeExeNameRunsTheScriptWithoutExeInTheWorkingFolder) {
  Script("tool", "pwd; exit 7");
  auto child = shell_.Start(Request("tool.exe", "", Dir(), true));
  ASSERT_TRUE(child);
  const auto [code, output] = Finish(*child);
  EXPECT_EQ(code, 7u);
  EXPECT_EQ(output, std::filesystem::canonical(Dir()).string() + "\n");
}

TEST_F(ShellTest, ParametersWithQuotesAndBlanksArriveWhole) {
  Script("args", R"(for a in "$@"; do printf '[%s]' "$a"; done)");
  auto child = shell_.Start(
      Request(Dir() + "/args", R"(-a "C:\dir with blank\x.inf" say\"hi "" end)", "", true));
  ASSERT_TRUE(child);
  EXPECT_EQ(Finish(*child).second, R"([-a][C:\dir with blank\x.inf][say"hi][][end])");
}

TEST_F(ShellTest, CapturedOutputHoldsStdoutAndStderr) {
  auto child =
      shell_.Start(Request("/bin/sh", R"(-c "echo out; echo err 1>&2; exit 0")", "", true));
  ASSERT_TRUE(child);
  const auto [code, output] = Finish(*child);
  EXPECT_EQ(code, 0u);
  EXPECT_NE(output.find("out\n"), std::string::npos);
  EXPECT_NE(output.find("err\n"), std::string::npos);
  EXPECT_EQ(child->ReadOutput(), "");
}

TEST_F(ShellTest, NoZombieIsLeftOfPolledOrDroppedChildren) {
  auto polled = shell_.Start(Request("/bin/true"));
  ASSERT_TRUE(polled);
  ASSERT_TRUE(polled->WaitFor(seconds(10)));
  EXPECT_FALSE(std::filesystem::exists("/proc/" + std::to_string(polled->Pid())));

  std::int64_t droppedPid = 0;
  {
    auto dropped = shell_.Start(Request("/bin/sh", "-c \"sleep 0.1\""));
    ASSERT_TRUE(dropped);
    droppedPid = dropped->Pid();
  }
  std::this_thread::sleep_for(milliseconds(400));
  shell_.Processes();  // any call of the shell reaps dropped children
  EXPECT_FALSE(std::filesystem::exists("/proc/" + std::to_string(droppedPid)));
}

TEST_F(ShellTest, BatchRunsEachLineInItsFolderAndEndsWithTheLastCode) {
  Script("ok", "echo ran > marker; exit 0");
  Script("exit3", "exit 3");
  std::ofstream(Dir() + "/run.bat")
      << "@echo off\r\nrem a comment\r\n\r\n:: a label\r\necho hello\r\n"
      << "ok.exe\r\nmissing-program.exe /x\r\n\"" << Dir() << "/exit3\" a b\r\n";
  auto batch = shell_.Start(Request("run.bat", "", Dir(), true));
  ASSERT_TRUE(batch);
  EXPECT_GT(batch->Pid(), std::int64_t{1} << 22);
  const auto [code, output] = Finish(*batch);
  EXPECT_EQ(code, 3u);
  EXPECT_TRUE(std::filesystem::exists(Dir() + "/marker"));
  EXPECT_NE(output.find("missing-program.exe"), std::string::npos);

  std::ofstream(Dir() + "/last-missing.cmd") << "ok\nnothing-here.exe\n";
  auto failing = shell_.Start(Request(Dir() + "/last-missing.cmd"));
  ASSERT_TRUE(failing);
  EXPECT_EQ(Finish(*failing).first, 9009u);
}

TEST_F(ShellTest, KillingABatchKillsItsCurrentChild) {
  Script("waiter", "exec sleep 300");
  std::ofstream(Dir() + "/job.bat") << "waiter\r\n";
  auto batch = shell_.Start(Request("job.bat", "", Dir()));
  ASSERT_TRUE(batch);
  std::int64_t childPid = 0;
  for (int i = 0; i < 500 && childPid == 0; ++i) {
    for (const ProcessEntry& entry : shell_.Processes()) {
      if (entry.parentPid == batch->Pid()) {
        childPid = entry.pid;
      }
    }
    std::this_thread::sleep_for(milliseconds(10));
  }
  ASSERT_NE(childPid, 0) << "the batch's child is listed under the batch";
  EXPECT_EQ(batch->ExitCode(), kStillActive);
  EXPECT_EQ(shell_.KillByImageName("JOB.BAT", false), 1);
  EXPECT_EQ(batch->ExitCode(), 128u + SIGKILL);
  EXPECT_TRUE(EventuallyDead(childPid));
}

TEST_F(ShellTest, TaskkillKillsARealTreeByImageNameAndReports128WhenNothingMatches) {
  // A uniquely named shell, so no other process of the machine matches.
  const std::string name = "sltree" + std::to_string(::getpid());
  std::filesystem::create_symlink("/bin/sh", Dir() + "/" + name);
  auto parent =
      shell_.Start(Request(Dir() + "/" + name + ".exe", R"(-c "sleep 300 & sleep 300 & wait")"));
  ASSERT_TRUE(parent);
  std::vector<std::int64_t> children;
  for (int i = 0; i < 500 && children.size() < 2; ++i) {
    children.clear();
    for (const ProcessEntry& entry : shell_.Processes()) {
      if (entry.parentPid == parent->Pid()) {
        children.push_back(entry.pid);
      }
    }
    std::this_thread::sleep_for(milliseconds(10));
  }
  ASSERT_EQ(children.size(), 2u);

  auto taskkill =
      shell_.Start(Request("C:\\Windows\\System32\\TASKKILL.EXE", "/f /IM " + name + ".exe /t"));
  ASSERT_TRUE(taskkill);
  EXPECT_EQ(Finish(*taskkill).first, 0u);
  ASSERT_TRUE(parent->WaitFor(seconds(10)));
  EXPECT_EQ(parent->ExitCode(), 128u + SIGKILL);
  for (const std::int64_t child : children) {
    EXPECT_TRUE(EventuallyDead(child)) << child;
  }

  auto none = shell_.Start(Request("taskkill.exe", "/T /F /IM " + name));
  ASSERT_TRUE(none);
  EXPECT_EQ(Finish(*none).first, 128u);
  auto bad = shell_.Start(Request("taskkill", "/T /F"));
  ASSERT_TRUE(bad);
  EXPECT_EQ(Finish(*bad).first, 1u);
}

TEST_F(ShellTest, BuiltinsLookLikeProcessesAndNeverKillTheirCaller) {
  std::atomic<bool> release = false;
  shell_.RegisterBuiltin("DiskPart.exe", [&](BuiltinContext& context) -> std::uint32_t {
    context.Output(context.WorkingDir() + "|" + context.Arguments().at(0));
    while (!release && !context.Killed()) {
      std::this_thread::sleep_for(milliseconds(1));
    }
    // Asking to kill its own name leaves the caller alive.
    return static_cast<std::uint32_t>(context.Through().KillByImageName("diskpart", false));
  });
  auto builtin = shell_.Start(Request("/usr/SysNative/diskpart.exe", "/s script.txt", Dir(), true));
  ASSERT_TRUE(builtin);
  EXPECT_EQ(builtin->ExitCode(), kStillActive);
  bool listed = false;
  for (const ProcessEntry& entry : shell_.Processes()) {
    listed = listed || (entry.pid == builtin->Pid() && entry.imageName == "diskpart.exe" &&
                        entry.parentPid == ::getpid());
  }
  EXPECT_TRUE(listed);
  release = true;
  const auto [code, output] = Finish(*builtin);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(output, Dir() + "|/s");
}

}  // namespace
}  // namespace platform
