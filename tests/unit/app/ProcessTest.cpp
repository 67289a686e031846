#include <gtest/gtest.h>

#include <vector>

#include "FakeWmi.h"
#include "app/Process.h"
#include "platform/ManualClock.h"

namespace {

TEST(Delay, ZeroOrLessReturnsWithoutSleepingOrPumping) {
  for (const int ms : {0, -5}) {
    platform::ManualClock clock(1000);
    int pumps = 0;
    app::Delay(clock, ms, [&] { ++pumps; });
    EXPECT_EQ(pumps, 0);
    EXPECT_EQ(clock.TickCount(), 1000u) << "slept";
  }
}

TEST(Delay, PumpsBeforeEachShortSleepUntilTheTimeIsUp) {
  for (const std::uint32_t start : {1000u, 0xFFFFFFF0u}) {
    platform::ManualClock clock(start);
    std::vector<std::uint32_t> pumpedAt;
    app::Delay(clock, 35, [&] { pumpedAt.push_back(clock.TickCount()); });
    EXPECT_EQ(pumpedAt, (std::vector<std::uint32_t>{start, start + 10, start + 20, start + 30}))
        << "start " << start;
    EXPECT_EQ(clock.TickCount(), start + 35u) << "the last sleep is the 5 ms left";
  }
}

// Records every start request and starts nothing.
class RecordingShell : public platform::Shell {
 public:
  std::shared_ptr<platform::ChildProcess> Start(const platform::StartRequest& request) override {
    requests.push_back(request);
    return nullptr;
  }
  std::vector<platform::ProcessEntry> Processes() override { return {}; }
  int KillByImageName(const std::string&, bool) override { return 0; }

  std::vector<platform::StartRequest> requests;
};

TEST(KillRewriters, FourHiddenTaskkillRunsInOrder) {
  RecordingShell shell;
  app::KillRewriters(shell);
  const std::vector<std::string> expected = {
      "/T /F /IM UpgradeDownload.exe", "/T /F /IM CmdDloader.exe",
      "/T /F /IM AndroidConsoleTool.exe", "/T /F /IM FactoryTool.exe"};
  ASSERT_EQ(shell.requests.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& r = shell.requests[i];
    EXPECT_EQ(r.file, "taskkill.exe");
    EXPECT_EQ(r.parameters, expected[i]);
    EXPECT_EQ(r.workingDir, "");
    EXPECT_TRUE(r.hide);
    EXPECT_FALSE(r.captureOutput);
  }
}

std::shared_ptr<FakeWmi> ProcessList(std::vector<std::string> captions) {
  auto wmi = std::make_shared<FakeWmi>();
  auto& rows = wmi->answers["SELECT Caption FROM Win32_Process"];
  for (auto& caption : captions) {
    rows.push_back({{"Caption", std::move(caption)}});
  }
  return wmi;
}

struct ExistsCase {
  std::string exeFileName;
  bool exists;
};

TEST(processExists, FindsAnyPartOfTheJoinedCaptionsInAnyCase) {
  const auto wmi = ProcessList({"System Idle Process", "CmdDloader.exe", "bash"});
  const ExistsCase cases[] = {
      {"CmdDloader.exe", true},
      {"cmddloader.EXE", true},
      {"DLOADER.EXE", true},
      {"exebash", true},
      {"bash", true},
      {"UpgradeDownload.exe", false},
      {"CmdDloader.exe ", false},
      {"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::processExists(wmi, c.exeFileName), c.exists) << c.exeFileName;
  }
}

TEST(processExists, FailingQueryMeansNotRunningInsteadOfThrowing) {
  auto wmi = ProcessList({"CmdDloader.exe"});
  wmi->failing = true;
  EXPECT_FALSE(app::processExists(wmi, "CmdDloader.exe"));
  EXPECT_EQ(wmi->asked.size(), 1u);
  EXPECT_FALSE(app::processExists(nullptr, "CmdDloader.exe"));
}

}  // namespace
