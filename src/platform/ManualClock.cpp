#include "platform/ManualClock.h"

namespace platform {

ManualClock::ManualClock(std::uint32_t startTick, std::chrono::system_clock::time_point startTime)
    : startTick_(startTick), startTime_(startTime) {}

std::chrono::system_clock::time_point ManualClock::Now() {
  std::lock_guard lock(mutex_);
  return startTime_ + elapsed_;
}

std::uint32_t ManualClock::TickCount() {
  std::lock_guard lock(mutex_);
  // Unsigned arithmetic wraps at 2^32 like the original tick count.
  return startTick_ + static_cast<std::uint32_t>(elapsed_.count());
}

void ManualClock::Sleep(std::chrono::milliseconds duration) {
  Advance(duration);
}

void ManualClock::Advance(std::chrono::milliseconds duration) {
  if (duration.count() <= 0) {
    return;
  }
  std::lock_guard lock(mutex_);
  elapsed_ += duration;
}

}  // namespace platform
