#include <gtest/gtest.h>

#include <thread>

#include "platform/ManualClock.h"
#include "platform/RealClock.h"

namespace platform {
namespace {

using std::chrono::milliseconds;

TEST(ManualClock, TickCountWrapsAt32BitsWhileWallTimeKeepsGoing) {
  ManualClock clock(0xFFFFFF00u);
  const auto start = clock.Now();
  const std::uint32_t before = clock.TickCount();
  clock.Sleep(milliseconds(0x200));
  EXPECT_EQ(clock.TickCount(), 0x100u);
  EXPECT_EQ(static_cast<std::uint32_t>(clock.TickCount() - before), 0x200u);
  EXPECT_EQ(clock.Now() - start, milliseconds(0x200));
}

TEST(ManualClock, TwentyMinuteSleepReturnsAtOnceAndNegativeDurationsDoNotGoBack) {
  ManualClock clock;
  const auto realStart = std::chrono::steady_clock::now();
  clock.Sleep(std::chrono::minutes(20));
  clock.Advance(milliseconds(-5000));
  EXPECT_LT(std::chrono::steady_clock::now() - realStart, std::chrono::seconds(1));
  EXPECT_EQ(clock.TickCount(), 20u * 60u * 1000u);
}

TEST(ManualClock, ConcurrentAdvancesLoseNoTime) {
  ManualClock clock;
  auto advance = [&] {
    for (int i = 0; i < 10000; ++i) {
      clock.Advance(milliseconds(1));
    }
  };
  std::thread a(advance);
  std::thread b(advance);
  a.join();
  b.join();
  EXPECT_EQ(clock.TickCount(), 20000u);
}

TEST(RealClock, SleepWaitsAndTickCountFollowsTheSteadyClock) {
  RealClock clock;
  const std::uint32_t before = clock.TickCount();
  clock.Sleep(milliseconds(30));
  const std::uint32_t elapsed = clock.TickCount() - before;
  EXPECT_GE(elapsed, 30u);
  EXPECT_LT(elapsed, 5000u);
}

}  // namespace
}  // namespace platform
