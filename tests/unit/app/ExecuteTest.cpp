#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "TestFiles.h"
#include "app/Process.h"
#include "platform/Platform.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Real child processes through the Linux shell; the wait really sleeps.
class Execute : public testing::Test {
 protected:
  std::uint32_t Run(
      const std::string& file, const std::string& parameters,
      const std::function<bool()>& terminating = [] { return false; }) {
    return app::ExecuteAndWait(
        exitCode, *shell, file, parameters, "", true,
        [this](int ms) {
          waits.push_back(ms);
          std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        },
        terminating);
  }

  std::shared_ptr<platform::Shell> shell =
      platform::CreatePlatform(platform::PlatformOptions{}).shell;
  std::uint32_t exitCode = 12345;
  std::vector<int> waits;
};

struct ExitCase {
  std::string file;
  std::string parameters;
  std::uint32_t code;
  std::size_t polls;  // at least
};

TEST_F(Execute, EndedProgramGivesItsExitCodeAfterOneSecondPolls) {
  const ExitCase cases[] = {
      {"true", "", 0, 1}, {"sh", "-c \"exit 5\"", 5, 1}, {"sleep", "1.3", 0, 2}};
  for (const auto& c : cases) {
    waits.clear();
    const auto start = Clock::now();
    EXPECT_EQ(Run(c.file, c.parameters), c.code) << c.file << " " << c.parameters;
    EXPECT_GE(Clock::now() - start, 1000ms);
    EXPECT_EQ(exitCode, c.code);
    EXPECT_GE(waits.size(), c.polls);
    EXPECT_EQ(waits, std::vector<int>(waits.size(), 1000));
  }
}

TEST_F(Execute, MissingProgramGives999AtOnce) {
  const auto start = Clock::now();
  EXPECT_EQ(Run("no-such-tool-here.exe", "-x"), app::kNotStarted);
  EXPECT_LT(Clock::now() - start, 500ms);
  EXPECT_EQ(exitCode, app::kNotStarted);
  EXPECT_TRUE(waits.empty());
}

TEST_F(Execute, TerminatingEndsTheWaitWithStillActive) {
  EXPECT_EQ(Run("sleep", "2", [] { return true; }), platform::kStillActive);
  EXPECT_EQ(exitCode, platform::kStillActive);
  EXPECT_EQ(waits.size(), 1u);
}

TEST_F(Execute, NoWaitGives999ForAProgramThatStarted) {
  TempDir dir;
  const auto mark = dir / "ran";
  const auto start = Clock::now();
  EXPECT_EQ(
      app::ExecuteNoWait(exitCode, *shell, "sh", "-c \"echo x > ran\"", dir.path().string(), true),
      app::kNotStarted);
  EXPECT_LT(Clock::now() - start, 500ms);
  EXPECT_EQ(exitCode, app::kNotStarted);
  while (!std::filesystem::exists(mark) && Clock::now() - start < 5s) {
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_TRUE(std::filesystem::exists(mark)) << "the program did not run";
}

}  // namespace
