#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>

#include "platform/Clock.h"

namespace platform {

// A clock that only moves when told to. Sleep advances it by the duration at
// once, so code that waits twenty minutes runs in microseconds. Thread-safe.
class ManualClock : public Clock {
 public:
  explicit ManualClock(std::uint32_t startTick = 0,
                       std::chrono::system_clock::time_point startTime = std::chrono::sys_days{
                           std::chrono::year{2024} / 1 / 1});

  std::chrono::system_clock::time_point Now() override;
  std::uint32_t TickCount() override;
  void Sleep(std::chrono::milliseconds duration) override;

  void Advance(std::chrono::milliseconds duration);

 private:
  std::mutex mutex_;
  std::uint32_t startTick_;
  std::chrono::system_clock::time_point startTime_;
  std::chrono::milliseconds elapsed_{0};
};

}  // namespace platform
