#pragma once

#include "platform/Clock.h"

namespace platform {

// The machine's clocks: system time, the steady clock's milliseconds cut to
// 32 bits as the tick count, and a real sleep.
class RealClock : public Clock {
 public:
  std::chrono::system_clock::time_point Now() override;
  std::uint32_t TickCount() override;
  void Sleep(std::chrono::milliseconds duration) override;
};

}  // namespace platform
