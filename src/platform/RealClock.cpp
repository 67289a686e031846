#include "platform/RealClock.h"

#include <thread>

namespace platform {

std::chrono::system_clock::time_point RealClock::Now() {
  return std::chrono::system_clock::now();
}

std::uint32_t RealClock::TickCount() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void RealClock::Sleep(std::chrono::milliseconds duration) {
  if (duration.count() > 0) {
    std::this_thread::sleep_for(duration);
  }
}

}  // namespace platform
