#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

// Wall time, the 32-bit millisecond tick count and sleeping. Every wait and
// every elapsed-time decision of the program goes through this port.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::chrono::system_clock::time_point Now() = 0;
  // Milliseconds since an arbitrary start; wraps around at 2^32 like the
  // tick count of the original platform.
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

}  // namespace platform
